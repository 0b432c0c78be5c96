// What a screen reader speaks for the main window: names for the controls
// that show no caption of their own, and the preview's description of the
// current item, kept up to date and announced when it changes.
#pragma once

#include "skin_document.h"

#include <QString>

class TForm1;

// The current item as the preview describes it: name, kind, X, Y, width
// and height; for no item, "No item selected".
QString CurrentItemText(const TSkinDocument& doc, int row);

// Names the window's controls that have no caption and starts the preview's
// description; once, after the window built its panels.
void NameWindowControls(TForm1& form);
