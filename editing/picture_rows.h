// Picture slots on the inspector pages: every slot has a row of Open, Save
// and View controls, each carrying a number n (the action, or 10 x action +
// slot), and one handler per page that finds the slot and runs LoadPic,
// SavePic or ViewPic.
#pragma once

#include "editor_context.h"

#include <QString>

#include <functional>
#include <optional>

class QPushButton;
class QWidget;
class TPictureSlots;

// Captioned: "Open" and "Save" stacked beside a double-height "View" (the
// "SImage" and "Button" pages). Icons: three small buttons side by side.
enum class TPictureRowStyle { Captioned, Icons };

struct TPictureRowNames {
    QString Label;
    const char* OpenName;
    int OpenNumber;
    const char* SaveName;
    int SaveNumber;
    const char* ViewName;
    int ViewNumber;
};

struct TPictureRow {
    QWidget* Row = nullptr;
    QPushButton* Open = nullptr;
    QPushButton* Save = nullptr;
    QPushButton* View = nullptr;
    // A disabled row keeps its place and its slot's picture.
    void SetEnabled(bool enabled) const;
};

// The row's controls call handler(n) with their own number when clicked.
// With an owner, a picture file dropped on the row runs its Open with that file.
TPictureRow MakePictureRow(const TPictureRowNames& names, TPictureRowStyle style,
                           const std::function<void(int)>& handler, QWidget* parent,
                           TPictureSlots* owner = nullptr);

class TPictureSlots {
  public:
    // selectedRow gives the row of the current item (-1 for none).
    TPictureSlots(TEditorContext& context, std::function<int()> selectedRow);

    // The row handlers of the "SImage", "Button", "Wheel", "Trackbar" and
    // Playlist pages; n is the clicked control's number.
    void OnImgPic(int n);
    void BitBtn4Click(int n);
    void BitBtn8Click(int n);
    void BitBtn47Click(int n);
    void BitBtn53Click(int n);
    // A file dropped on the row whose Open carries n: handler(n) runs that
    // Open with the file in place of the dialog's answer.
    void OpenDropped(const QString& path, const std::function<void(int)>& handler, int n);
    // The row's buttons describe the size of the slot's picture, kept up to
    // date as pictures, the current item and the document change.
    void DescribeSize(const TPictureRow& row, int slot);

    // A slot: the picture `slot` of the item at `row`, or for row -1 the
    // playlist icon (0 folder, 1 song).
    // Open: the picture from a picture file (bitmap, PNG, JPEG, GIF, WebP,
    // TIFF) replaces the slot's content, one step, its alpha turned into what
    // the slot's transparency holds, which stays. On an error the slot keeps
    // its picture.
    void LoadPic(int row, int slot);
    // Save: the slot's picture to a PNG file for a name ending in ".png",
    // its key pixels transparent in a keyed slot; to a bitmap file otherwise.
    void SavePic(int row, int slot);
    // View: the picture in the image viewer, opaque, modally.
    void ViewPic(int row, int slot);

  private:
    void Dispatch(int action, int row, int slot);
    // The current item's row when its record is a T, else -1.
    template <class T> int CurrentRow();

    TEditorContext& Context;
    std::function<int()> RowShown;
    // While a drop runs its row's Open: the file Open takes without asking.
    std::optional<QString> DroppedFile;
};
