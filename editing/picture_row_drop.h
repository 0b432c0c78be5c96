// Files dragged in from a file manager: the one local file a drop brings,
// whether it is a skin, and picture rows that take a dropped picture file
// into their slot as their Open would take it from the dialog.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QMimeData;
class QPushButton;
class QWidget;

// The first file of the drop when it is a local file (not a folder); a drop
// whose first entry is a web address or a folder brings nothing.
std::optional<QString> DroppedLocalFile(const QMimeData* mime);

// A skin file by its name: ".skn" in any case.
bool IsSkinFileName(const QString& path);

// The local file of the drop when it is no skin: a picture file for Open,
// which judges it by its content and says what is wrong with it.
std::optional<QString> DroppedPictureFile(const QMimeData* mime);

// Makes row take dropped picture files while open (its Open button) is
// enabled; a drop runs take(path). Skins pass on to the window.
void TakePictureDrops(QWidget* row, QPushButton* open, std::function<void(const QString&)> take);
