// The Arrange commands on the selected items: align their marker boxes to
// the reference item (to the screen when one item is selected), distribute
// them evenly, bring them to the front or send them to the back of the
// drawing order, and lock or hide them. Each that changes the document is
// one step; one that would move nothing makes none. Locked items never
// move.
#pragma once

#include "open_skin.h"

enum class TAlign { Left, HorizontalCentre, Right, Top, VerticalCentre, Bottom };

void AlignCommand(TOpenSkin& skin, TAlign how);

// Moves every selected item that is neither locked nor hidden by (dx, dy),
// one step (the arrow keys on several items).
void MoveSelectionCommand(TOpenSkin& skin, qint64 dx, qint64 dy);

// Three or more selected: the first and the last (by left, or top, edge;
// ties in list order) stay and the gaps between neighbours become equal,
// the first ones a pixel wider when the room does not divide evenly.
void DistributeCommand(TOpenSkin& skin, bool horizontally);

// The selected items to the end (front) or the start (back) of the list,
// keeping their order among themselves.
void BringToFrontCommand(TOpenSkin& skin);
void SendToBackCommand(TOpenSkin& skin);

// Toggles: when every selected item is locked (hidden) they are unlocked
// (shown), otherwise all are locked (hidden). Neither is a step.
void ToggleLockCommand(TOpenSkin& skin);
void ToggleHideCommand(TOpenSkin& skin);

// The step names as the Edit menu shows them after "Undo".
QString AlignStepName(TAlign how);
