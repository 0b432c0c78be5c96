// The names of steps as the Edit menu shows them after "Undo" and "Redo":
// what was done, to which item ("Move "title"", "Dither pictures").
#pragma once

#include "skin_document.h"

#include <QString>

// The item's name in double quotes: "title".
QString QuotedItemName(const TSkinDocument& doc, int row);

// "Add image", "Add text", ... for a kind.
QString AddStepName(int kind);
