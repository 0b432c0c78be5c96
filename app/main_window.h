// TForm1, the editor's one main window: it owns the skin document and wires
// the toolbar, the menu, the left panel and the preview to the commands.
#pragma once

#include "editor_context.h"
#include "preview.h"
#include "recent_skins.h"
#include "skin_document.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QMenu;
class QStackedWidget;
class QToolBar;
class QToolButton;
class TPlayerPanel;
class TPlaylistPanel;
class TPreviewArea;
class TPreviewPane;
class TFileDrops;
class TPreviewGestures;
class TViewPanels;

// Pages of Notebook1, the page numbers the two mode toggles carry.
inline constexpr int PlayerPage = 0;
inline constexpr int PlaylistPage = 1;

class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    explicit TForm1(TPrompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // A zoom chosen in the selector, from the screen's top-left corner.
    void ComboBox1Change();
    // The mode switch; page is the number the clicked toggle carries.
    void ToolButton6Click(int page);

    void NewSkinCommand();
    void OpenSkin();
    // Open's steps after its dialog, also for a file given at start-up.
    void OpenSkinFile(const QString& path);
    // A skin of "Open recent": opened as Open does, or, when the file is
    // gone, said so and taken off the list.
    void OpenRecentFile(const QString& path);
    // Open's steps once a skin was read whole: it replaces the document with
    // an empty history, the title follows its name, and the row (the first
    // when that one does not exist) is shown with the view at the offset.
    void ShowOpenedSkin(TSkinDocument doc, int row = 0, QPoint offset = {});
    // True when the skin was written; false when the save failed or was cancelled.
    bool SaveSkin();
    bool SaveSkinAs();
    // Before New, Open, Open recent and a dropped skin replace the skin: asks
    // whether to save unsaved changes first; false when the command must not
    // go on (Cancel, or a save that did not happen).
    bool SaveChangesFirst();
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

    // The Edit menu: the history of edits and the items on the clipboard.
    void Undo1Click();
    void Redo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Duplicate1Click();

    // The open skin; Doc is its document.
    TOpenSkin Skin;
    TSkinDocument& Doc;
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
    QMenu* OpenRecent1 = nullptr;
    // The skins opened or saved last, listed by "Open recent".
    TRecentSkins RecentSkins;
    QAction *Undo1 = nullptr, *Redo1 = nullptr, *Cut1 = nullptr, *Copy1 = nullptr,
            *Paste1 = nullptr, *Duplicate1 = nullptr;
    // The View menu's toggles: try mode and the problems list.
    QAction *Try1 = nullptr, *Problems1 = nullptr;
    QAction *ZoomToFit1 = nullptr, *PixelGrid1 = nullptr;

    QStackedWidget* Notebook1 = nullptr;
    TPlayerPanel* PlayerPanel = nullptr;
    TPlaylistPanel* PlaylistPanel = nullptr;
    TPreviewArea* imArea = nullptr;

    // The preview beside its area: its view and its repaints.
    TPreviewPane& Preview() { return *Pane; }
    // Try mode and the problems list (the View menu).
    TViewPanels& ViewPanels() { return *View; }

  Q_SIGNALS:
    // The document now is what its file holds (New, Open, Save), so nothing
    // of it needs keeping elsewhere.
    void Settled();

  private:
    void CreateToolbar();
    void CreateMenu();
    void CreatePanels();
    void FormCreate();
    // The row selected and shown (the first when it does not exist), or the
    // empty page.
    void SelectFirstItem(int row = 0);
    // The toolbar's toggles and zoom, and the page on show, follow the
    // open skin's view however it changed.
    void FollowView(const TViewState& view);

    void CreateCommandKeys();
    void RunHistory(const std::function<void()>& step);
    // Built in edit_menu.cpp.
    void CreateEditMenu(QMenu* edit);
    void UpdatePasteAction();
    // Built in view_menu.cpp.
    void CreateViewMenu(QMenu* view);
    // Built in arrange_menu.cpp.
    void CreateArrangeMenu(QMenu* arrange);
    // The selected items on the clipboard as a skin of their own; false
    // with none.
    bool CopyCurrentItem();
    // Adds the items of the skin's bytes as one step, or says why not.
    void PasteSkin(const QByteArray& skin, const QString& verb);

    std::unique_ptr<TPreviewPane> Pane;
    std::unique_ptr<TPreviewGestures> Gestures;
    std::unique_ptr<TFileDrops> Drops;
    std::unique_ptr<TViewPanels> View; // try mode and the problems list
};
