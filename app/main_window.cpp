#include "main_window.h"

#include "accessible_names.h"
#include "file_drops.h"
#include "focus_keys.h"
#include "item_commands.h"
#include "new_skin.h"
#include "pixel_status.h"
#include "player_panel.h"
#include "playlist_panel.h"
#include "presentation.h"
#include "preview_area.h"
#include "preview_gestures.h"
#include "preview_pane.h"
#include "skin_file.h"
#include "view_panels.h"
#include "window_font.h"

#include <algorithm>

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QMetaObject>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>

namespace {
constexpr QSize ClientSize(845, 638); // below the menu bar, as the desktop counts it
constexpr int LeftPanelWidth = 185;
constexpr int StatusBarHeight = 19;
constexpr QSize StartScreen(240, 268);
} // namespace

TForm1::TForm1(TPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), Doc(Skin.Doc()), Context{Skin, prompts} {
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_WindowPropagation); // menus and dialogs share the window font
    setFont(WindowFont());
    setContextMenuPolicy(Qt::NoContextMenu);
    CreateToolbar();
    CreateMenu();
    CreatePanels();
    CreateCommandKeys();
    auto* status = new QStatusBar(this);
    status->setFixedHeight(StatusBarHeight);
    setStatusBar(status);
    new TPixelStatus(*Pane, *status); // the status bar's one text; lives with the preview area
    resize(ClientSize.width(), ClientSize.height() + menuBar()->sizeHint().height());
    // Lay the window out now, so that the first repaint already has the
    // preview area's real size; a hidden window's inner layouts wait for
    // resize events that only come with showing, so each is run here.
    layout()->activate();
    centralWidget()->layout()->activate();
    View->LayOut();
    FormCreate();
    NameWindowControls(*this);
    InstallFocusKeys(*this);
}

TForm1::~TForm1() {
    // The panels go first, while the document they point into still exists.
    delete takeCentralWidget();
}

void TForm1::CreatePanels() {
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Notebook1 = new QStackedWidget(central);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    Notebook1->setFixedWidth(LeftPanelWidth);
    PlayerPanel = new TPlayerPanel(Context, Notebook1);
    PlaylistPanel = new TPlaylistPanel(Context, Notebook1);
    PlayerPanel->setObjectName(QStringLiteral("Player"));
    PlaylistPanel->setObjectName(QStringLiteral("Playlist"));
    Notebook1->insertWidget(PlayerPage, PlayerPanel);
    Notebook1->insertWidget(PlaylistPage, PlaylistPanel);
    layout->addWidget(Notebook1);

    imArea = new TPreviewArea(central);
    imArea->setObjectName(QStringLiteral("imArea"));
    // A click focuses the preview, for the arrow keys; Tab passes it by.
    imArea->setFocusPolicy(Qt::ClickFocus);
    Pane = std::make_unique<TPreviewPane>(Context, *imArea);
    Gestures = std::make_unique<TPreviewGestures>(*Pane);
    Drops = std::make_unique<TFileDrops>(*Pane);
    connect(Drops.get(), &TFileDrops::SkinDropped, this, [this](const QString& path) {
        if (SaveChangesFirst()) OpenSkinFile(path);
    });
    View = std::make_unique<TViewPanels>(*Pane, *PlayerPanel, *PlaylistPanel);
    layout->addWidget(View->Column, 1);
    setCentralWidget(central);
}

void TForm1::FormCreate() {
    connect(&Skin, &TOpenSkin::TitleChanged, this, &QWidget::setWindowTitle);
    connect(&Skin, &TOpenSkin::ViewChanged, this, &TForm1::FollowView);
    TSkinDocument start;
    NewSkin(start);
    start.ScreenWidth = StartScreen.width();
    start.ScreenHeight = StartScreen.height();
    Skin.Replace(std::move(start));
    // Clicked from the program: the mode switch shows the player page.
    ToolButton8->click();
    // The two-state commands are the document's constant table
    // CommandHasTwoStates; there is nothing to set up for them.
    PlayerPanel->ShowEmptyPage();
    Pane->Start(); // the first preview
}

void TForm1::FollowView(const TViewState& view) {
    const int page = view.PlayerMode ? PlayerPage : PlaylistPage;
    if (Notebook1->currentIndex() != page) {
        Gestures->Cancel();
        (view.PlayerMode ? ToolButton8 : ToolButton6)->setChecked(true);
        Notebook1->setCurrentIndex(page);
        if (page == PlaylistPage) PlaylistPanel->FillFromDocument();
    }
    if (ComboBox1->currentIndex() != view.Zoom) {
        // A pan or drag under way would jump with the new scale.
        Gestures->Cancel();
        ComboBox1->setCurrentIndex(view.Zoom);
    }
}

void TForm1::ComboBox1Change() {
    Gestures->Cancel();
    Pane->SetZoom(ComboBox1->currentIndex());
}

void TForm1::ToolButton6Click(int page) {
    Gestures->Cancel();
    Notebook1->setCurrentIndex(page);
    if (page == PlaylistPage) PlaylistPanel->FillFromDocument();
    Pane->ShowMode(page == PlayerPage);
}

void TForm1::SelectFirstItem(int row) {
    if (row < 0 || row >= PlayerPanel->lbItems->count()) row = 0;
    if (PlayerPanel->lbItems->count() > 0) {
        PlayerPanel->SelectRow(row);
        PlayerPanel->lbItemsClick();
    } else {
        PlayerPanel->SelectRow(-1);
        PlayerPanel->ShowEmptyPage();
    }
}

bool TForm1::SaveChangesFirst() {
    if (!Context.Edits.Unsaved()) return true;
    Gestures->Cancel(); // a drag under way ends before the question
    switch (Context.Prompts.AskSaveChanges(QFileInfo(Doc.FileName).fileName())) {
    case TSaveAnswer::Save:
        return SaveSkin();
    case TSaveAnswer::DontSave:
        return true;
    case TSaveAnswer::Cancel:
        break;
    }
    return false;
}

void TForm1::NewSkinCommand() {
    if (!SaveChangesFirst()) return;
    const std::optional<QSize> size = Context.Prompts.AskNewSkinSize();
    if (!size) return;
    Gestures->Cancel();
    TSkinDocument made;
    NewSkin(made);
    made.ScreenWidth = size->width();
    made.ScreenHeight = size->height();
    // The views follow the replaced document; one repaint shows it.
    const bool deferred = Pane->RepaintsDeferred();
    Pane->SetRepaintsDeferred(true);
    Skin.Replace(std::move(made));
    Pane->SetZoom(0);
    Pane->SetRepaintsDeferred(deferred);
    Q_EMIT Settled();
}

void TForm1::OpenSkin() {
    if (!SaveChangesFirst()) return;
    const std::optional<QString> path = Context.Prompts.AskFileName(TFileDialog::OpenSkin);
    if (path) OpenSkinFile(*path);
}

void TForm1::OpenSkinFile(const QString& path) {
    // The file is read whole before anything changes: a file that cannot be
    // read leaves the skin, its name and the title as they were, so a later
    // Save cannot overwrite that file with the old skin.
    TSkinReadResult read = ReadSkinFile(path);
    if (read.WrongVersion) {
        Context.Prompts.Beep();
        Context.Prompts.ShowMessage(VersionMismatchText);
        SelectFirstItem(0);
        return;
    }
    if (!read.Document) {
        Context.Prompts.ShowError(read.Error);
        return;
    }
    ShowOpenedSkin(std::move(*read.Document));
    RecentSkins.Add(Doc.FileName);
    Q_EMIT Settled();
}

void TForm1::OpenRecentFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        Context.Prompts.ShowMessage(
            QStringLiteral("\"%1\" no longer exists. It is taken off the list of recent skins.")
                .arg(path));
        RecentSkins.Remove(path);
        return;
    }
    if (SaveChangesFirst()) OpenSkinFile(path);
}

void TForm1::ShowOpenedSkin(TSkinDocument doc, int row, QPoint offset) {
    Gestures->Cancel();
    // Replacing repaints, and so does showing the item: one repaint is
    // enough, which a skin of 65,535 entries notices.
    const bool deferred = Pane->RepaintsDeferred();
    Pane->SetRepaintsDeferred(true);
    Skin.Replace(std::move(doc));
    Pane->PanTo(offset);
    SelectFirstItem(row);
    Pane->SetRepaintsDeferred(deferred);
}

bool TForm1::SaveSkin() {
    if (Doc.Untitled) return SaveSkinAs();
    const QString error = WriteSkinFile(Doc, Doc.FileName);
    if (!error.isEmpty()) {
        Context.Prompts.ShowError(error);
        return false;
    }
    Context.Edits.MarkSaved();
    RecentSkins.Add(Doc.FileName);
    Q_EMIT Settled();
    return true;
}

bool TForm1::SaveSkinAs() {
    const std::optional<QString> path = Context.Prompts.AskFileName(TFileDialog::SaveSkin);
    if (!path) return false;
    Skin.SetFileName(*path);
    return SaveSkin();
}

void TForm1::Exit1Click() {
    close();
}

void TForm1::About1Click() {
    Context.Prompts.ShowAbout();
}

// The item commands act on the item list in both modes.
void TForm1::ToolButton12Click() {
    PlayerPanel->Commands->ToolButton12Click();
}
void TForm1::ToolButton10Click() {
    PlayerPanel->Commands->ToolButton10Click();
}
void TForm1::ToolButton9Click() {
    PlayerPanel->Commands->ToolButton9Click();
}
void TForm1::ToolButton11Click() {
    PlayerPanel->Commands->ToolButton11Click();
}
void TForm1::ToolButton13Click() {
    PlayerPanel->Commands->ToolButton13Click();
}
void TForm1::ToolButton15Click() {
    PlayerPanel->Commands->ToolButton15Click();
}
void TForm1::ToolButton16Click() {
    PlayerPanel->Commands->ToolButton16Click();
}
void TForm1::ToolButton18Click() {
    PlayerPanel->Commands->ToolButton18Click();
}
void TForm1::ToolButton20Click() {
    PlayerPanel->Commands->ToolButton20Click();
}

void TForm1::Undo1Click() {
    RunHistory([this] { Context.Edits.Undo(); });
}

void TForm1::Redo1Click() {
    RunHistory([this] { Context.Edits.Redo(); });
}

void TForm1::RunHistory(const std::function<void()>& step) {
    // A gesture under way ends first (a drag as its own step); the views
    // reload from what the step says it changed, and the preview paints the
    // screen of the current mode once.
    Gestures->Cancel();
    const bool deferred = Pane->RepaintsDeferred();
    Pane->SetRepaintsDeferred(true);
    step();
    Pane->SetRepaintsDeferred(deferred);
}
