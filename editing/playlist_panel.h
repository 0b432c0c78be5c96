// The "Playlist" page of the left panel: the playlist browser's look.
#pragma once

#include "editor_context.h"

#include <QWidget>

class QCheckBox;
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

    TNumberField* SpinEdit20 = nullptr; // "Title height", 15..100
    TNumberField* SpinEdit21 = nullptr; // "Item height", 15..100
    TNumberField* SpinEdit22 = nullptr; // "Title font size", 8..100
    TNumberField* SpinEdit23 = nullptr; // "Item font size", 8..100
    QCheckBox* CheckBox2 = nullptr;     // "Title bold"
    QCheckBox* CheckBox3 = nullptr;     // "Item bold"

    // The page's column; the colour buttons and icon rows follow the check boxes.
    QVBoxLayout* PageLayout = nullptr;

  private:
    TEditorContext& Context;
};
