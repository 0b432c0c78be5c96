// The three small icons of a picture row: an open folder (Open), a diskette
// (Save) and a little landscape (View), sharp at any screen pixel ratio.
#pragma once

#include <QIcon>

enum class TPictureAction { Open = 0, Save = 1, View = 2 };

QIcon PictureRowIcon(TPictureAction action);
