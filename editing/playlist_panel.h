// The "Playlist" page of the left panel: the playlist browser's look.
#pragma once

#include "editor_context.h"
#include "picture_rows.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QPushButton;
class QVBoxLayout;
class TNumberField;

class TPlaylistPanel : public QWidget {
    Q_OBJECT

  public:
    TPlaylistPanel(TEditorContext& context, QWidget* parent = nullptr);

    // Sets the six controls from the document's playlist look, with the
    // loading guard raised so that nothing is written back.
    void FillFromDocument();

    // Writes the six controls into the playlist look and repaints it.
    void SpinEdit20Change();

    // The colour dialog for Colors[index], the index the clicked button carries.
    void Button1Click(int index);

    TNumberField* SpinEdit20 = nullptr; // "Title height", 15..100
    TNumberField* SpinEdit21 = nullptr; // "Item height", 15..100
    TNumberField* SpinEdit22 = nullptr; // "Title font size", 8..100
    TNumberField* SpinEdit23 = nullptr; // "Item font size", 8..100
    QCheckBox* CheckBox2 = nullptr;     // "Title bold"
    QCheckBox* CheckBox3 = nullptr;     // "Item bold"

    // Top to bottom: Button1, Button2, Button3, Button5, Button4, Button6,
    // Button7, carrying the indices 0 to 6 of the colours they edit.
    std::array<QPushButton*, 7> ColorButtons{};
    TPictureRow FolderRow, SongRow; // BitBtn53..55 and BitBtn56..58

    QVBoxLayout* PageLayout = nullptr;

  private:
    TEditorContext& Context;
    TPictureSlots Slots;
};
