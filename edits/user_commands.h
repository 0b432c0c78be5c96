// The user's commands on the open skin, each in one place and headless: the
// toolbar, the menus, the keys, the gestures and the drops call these. A
// command changes the document by one step (or not at all) and returns the
// text to show when it refused, else an empty string.
#pragma once

#include "open_skin.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

// Appends an item of the kind with its defaults and placeholder pictures.
QString AddItemCommand(TOpenSkin& skin, int kind, const QByteArray& name);
// Appends an image item holding the picture, its top-left corner at the
// screen pixel (a picture dropped on the preview).
QString AddPictureItemCommand(TOpenSkin& skin, const QByteArray& name, QImage picture,
                              QPoint pixel);
// Removes the item at row; verb names the step ("Delete", "Cut").
void DeleteItemCommand(TOpenSkin& skin, int row, const QString& verb);
// Appends the items of a skin from the clipboard, each renamed to a name no
// other item has, and selects them; verb names the step ("Paste",
// "Duplicate").
QString PasteItemsCommand(TOpenSkin& skin, QByteArrayView clipboardSkin, const QString& verb);
// Exchanges the item at row with its neighbour above (up) or below.
void MoveItemCommand(TOpenSkin& skin, int row, bool up);
void RenameItemCommand(TOpenSkin& skin, int row, const QByteArray& name);
