// Keys that reach every part of the main window without a mouse: F6 and
// Shift+F6 move the focus between the item list, the inspector, the preview
// and the problems list; Enter in the item list goes into the inspector; in
// the preview, Tab and Shift+Tab choose the next and previous item and
// Ctrl + arrows pan by a tenth of the area; F10 opens the menu bar; Insert
// offers the toolbar's commands that have no key ("Add image" ... "Dither").
#pragma once

#include "open_skin.h"

class TForm1;

// Whether Tab in the preview stops at the row; the one place that decides
// which items the keyboard passes over (hidden and locked ones).
bool TabReachesItem(const TOpenSkin& skin, int row);

// The row Tab (step 1) or Shift+Tab (step -1) makes current after row, in
// drawing order and around the ends; -1 when no row is reached.
int NextTabItem(const TOpenSkin& skin, int row, int step);

// Installs the keys on the window; once, after it built its panels.
void InstallFocusKeys(TForm1& form);
