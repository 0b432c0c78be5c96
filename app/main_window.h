// TForm1, the editor's one main window: it owns the skin document and wires
// the toolbar, the menu, the left panel and the preview to the commands.
#pragma once

#include "editor_context.h"
#include "preview.h"
#include "skin_document.h"

#include <QMainWindow>

class QAction;
class QComboBox;
class QStackedWidget;
class QToolBar;
class QToolButton;
class TPlayerPanel;
class TPlaylistPanel;
class TPreviewArea;

// Pages of Notebook1, the page numbers the two mode toggles carry.
inline constexpr int PlayerPage = 0;
inline constexpr int PlaylistPage = 1;

class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    explicit TForm1(TPrompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // Repaints: the current mode's screen, the player screen, the playlist screen.
    void DoRedraw();
    void RedrawSkin();
    void RedrawPlaylist();

    void FormResize();
    void ComboBox1Change();
    // The mode switch; page is the number the clicked toggle carries.
    void ToolButton6Click(int page);

    void NewSkinCommand();
    void OpenSkin();
    void SaveSkin();
    void SaveSkinAs();
    void Exit1Click();
    void About1Click();

    // The item commands and the dither command.
    void ToolButton12Click();
    void ToolButton10Click();
    void ToolButton9Click();
    void ToolButton11Click();
    void ToolButton13Click();
    void ToolButton15Click();
    void ToolButton16Click();
    void ToolButton18Click();
    void ToolButton20Click();

    TSkinDocument Doc;
    TEditorContext Context;

    QToolBar* ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr, *ToolButton2 = nullptr, *ToolButton3 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QToolButton *ToolButton8 = nullptr, *ToolButton6 = nullptr;
    QToolButton *ToolButton12 = nullptr, *ToolButton10 = nullptr, *ToolButton9 = nullptr,
                *ToolButton11 = nullptr, *ToolButton13 = nullptr;
    QToolButton *ToolButton15 = nullptr, *ToolButton16 = nullptr;
    QToolButton* ToolButton18 = nullptr;
    QToolButton* ToolButton20 = nullptr;

    QAction *New1 = nullptr, *Open1 = nullptr, *Save1 = nullptr, *Saveas1 = nullptr;
    QAction *Exit1 = nullptr, *About1 = nullptr;

    QStackedWidget* Notebook1 = nullptr;
    TPlayerPanel* PlayerPanel = nullptr;
    TPlaylistPanel* PlaylistPanel = nullptr;
    TPreviewArea* imArea = nullptr;

  private:
    void CreateToolbar();
    void CreateMenu();
    void CreatePanels();
    void FormCreate();
    TPreviewView PreviewView() const;
    // The first entry of the list selected and shown, or the empty page.
    void SelectFirstItem();

    bool Created = false; // repaints wait until FormCreate has set up the skin
};
