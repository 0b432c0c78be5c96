#include "main_window.h"

#include "file_drops.h"
#include "item_commands.h"
#include "new_skin.h"
#include "player_panel.h"
#include "playlist_panel.h"
#include "presentation.h"
#include "preview_area.h"
#include "preview_gestures.h"
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
    resize(ClientSize.width(), ClientSize.height() + menuBar()->sizeHint().height());
    // Lay the window out now, so that the first repaint already has the
    // preview area's real size; a hidden window's inner layouts wait for
    // resize events that only come with showing, so each is run here.
    layout()->activate();
    centralWidget()->layout()->activate();
    View->LayOut();
    FormCreate();
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
    connect(imArea, &TPreviewArea::Resized, this, &TForm1::FormResize);
    // A click focuses the preview, for the arrow keys; Tab passes it by.
    imArea->setFocusPolicy(Qt::ClickFocus);
    Gestures = std::make_unique<TPreviewGestures>(*this);
    Drops = std::make_unique<TFileDrops>(*this);
    View = std::make_unique<TViewPanels>(*this);
    layout->addWidget(View->Column, 1);
    setCentralWidget(central);
}

void TForm1::FormCreate() {
    connect(&Skin, &TOpenSkin::TitleChanged, this, &QWidget::setWindowTitle);
    // The preview shows the current mode's screen again whenever the open
    // skin changes: its document, its current item or its view.
    connect(&Context.Edits, &TSkinEdits::Changed, this, &TForm1::DoRedraw);
    connect(&Skin, &TOpenSkin::SelectionChanged, this, &TForm1::DoRedraw);
    connect(&Skin, &TOpenSkin::ViewChanged, this, &TForm1::DoRedraw);
    connect(&Skin, &TOpenSkin::Replaced, this, &TForm1::DoRedraw);
    TSkinDocument start;
    NewSkin(start);
    start.ScreenWidth = StartScreen.width();
    start.ScreenHeight = StartScreen.height();
    Skin.Replace(std::move(start));
    Created = true;
    // Clicked from the program: the mode switch shows the player page and
    // paints the first preview.
    ToolButton8->click();
    // The two-state commands are the document's constant table
    // CommandHasTwoStates; there is nothing to set up for them.
    PlayerPanel->ShowEmptyPage();
}

TPreviewView TForm1::PreviewView() const {
    TPreviewView view{Skin.View().Zoom, imArea->size(),
                      imArea->palette().color(QPalette::Dark).rgb(), Skin.View().Offset};
    view.Offset = ClampedOffset(Doc.ScreenWidth, Doc.ScreenHeight, view);
    return view;
}

void TForm1::SetViewOffset(QPoint offset) {
    TViewState view = Skin.View();
    view.Offset = offset;
    Skin.SetView(view);
}

void TForm1::PanTo(QPoint offset) {
    TPreviewView view = PreviewView();
    view.Offset = offset;
    SetViewOffset(ClampedOffset(Doc.ScreenWidth, Doc.ScreenHeight, view));
}

void TForm1::SetRepaintsDeferred(bool deferred) {
    RepaintsDeferred = deferred;
    if (!deferred) FlushRepaint();
}

void TForm1::FlushRepaint() {
    const TPending pending = PendingRepaint;
    PendingRepaint = TPending::None;
    if (pending == TPending::Skin) PaintSkin();
    if (pending == TPending::Playlist) PaintPlaylist();
}

void TForm1::DoRedraw() {
    if (Skin.View().PlayerMode)
        RedrawSkin();
    else
        RedrawPlaylist();
}

void TForm1::RedrawSkin() {
    if (!Created) return;
    if (!RepaintsDeferred) {
        PaintSkin();
        return;
    }
    // One queued repaint at a time; it paints whatever was asked for last.
    if (PendingRepaint == TPending::None)
        QMetaObject::invokeMethod(
            this, [this] { FlushRepaint(); }, Qt::QueuedConnection);
    PendingRepaint = TPending::Skin;
}

void TForm1::RedrawPlaylist() {
    if (!Created) return;
    if (!RepaintsDeferred) {
        PaintPlaylist();
        return;
    }
    if (PendingRepaint == TPending::None)
        QMetaObject::invokeMethod(
            this, [this] { FlushRepaint(); }, Qt::QueuedConnection);
    PendingRepaint = TPending::Playlist;
}

void TForm1::PaintSkin() {
    // Trying, the screen is shown as the device shows it: no row marked.
    const int marked = View->Trying() ? -1 : PlayerPanel->SelectedRow();
    imArea->SetRaster(RenderPlayerPreview(Doc, marked, PreviewView(), View->DeviceState()));
}

void TForm1::PaintPlaylist() {
    imArea->SetRaster(RenderPlaylistPreview(Doc, PreviewView()));
}

void TForm1::FormResize() {
    DoRedraw();
}

void TForm1::ComboBox1Change() {
    // A pan or drag under way would jump with the new scale.
    Gestures->Cancel();
    // Choosing the zoom shown repaints too, from the top-left corner.
    if (Skin.View().Offset == QPoint(0, 0))
        DoRedraw();
    else
        SetViewOffset(QPoint(0, 0));
}

void TForm1::StepZoom(int steps) {
    const int index = std::clamp(ComboBox1->currentIndex() + steps, 0, ComboBox1->count() - 1);
    if (index == ComboBox1->currentIndex()) return;
    ComboBox1->setCurrentIndex(index);
    ComboBox1Change();
}

void TForm1::ToolButton6Click(int page) {
    Gestures->Cancel();
    Notebook1->setCurrentIndex(page);
    if (page == PlaylistPage) PlaylistPanel->FillFromDocument();
    TViewState view = Skin.View();
    view.PlayerMode = page == PlayerPage;
    // Pressing the toggle that is down repaints too.
    if (view == Skin.View())
        DoRedraw();
    else
        Skin.SetView(view);
}

void TForm1::ShowItem(int row) {
    PlayerPanel->SelectRow(row);
    PlayerPanel->lbItemsClick();
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
    Skin.Replace(std::move(made));
    ComboBox1->setCurrentIndex(0);
    SetViewOffset(QPoint(0, 0));
    PlayerPanel->ReloadList();
    PlayerPanel->ShowEmptyPage();
    // The playlist page may be on show: it must not keep the dropped skin's
    // values, or its next change would write them into this one.
    PlaylistPanel->FillFromDocument();
    View->DocumentReplaced();
    RedrawSkin();
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
        ShowRow(0);
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
    SetViewOffset(offset); // clamped to the new screen by every repaint
    Skin.Replace(std::move(doc));
    PlayerPanel->ReloadList();
    PlaylistPanel->FillFromDocument(); // as after New
    View->DocumentReplaced();
    ShowRow(row);
}

void TForm1::ShowRow(int row) {
    // Showing the item repaints, and so does Open: one repaint is enough,
    // which a skin of 65,535 entries notices.
    const bool deferred = RepaintsDeferred;
    SetRepaintsDeferred(true);
    SelectFirstItem(row);
    RedrawSkin();
    SetRepaintsDeferred(deferred);
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
    const bool deferred = RepaintsDeferred;
    SetRepaintsDeferred(true);
    step();
    SetRepaintsDeferred(deferred);
}
