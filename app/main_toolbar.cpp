// The main window's toolbar and menu: every command's control, its hint,
// its icon and its shortcut.
#include "drawn_icons.h"
#include "main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include <type_traits>

namespace {
constexpr int ToolbarHeight = 30;
constexpr QSize ButtonSize(25, 24);
constexpr int SeparatorWidth = 8;
constexpr int ZoomWidth = 73;

// A gap of 8 pixels with an etched line down its middle.
class TToolSeparator : public QWidget {
  public:
    explicit TToolSeparator(QWidget* parent) : QWidget(parent) {
        setFixedSize(SeparatorWidth, ButtonSize.height());
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int x = width() / 2 - 1;
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(x, 2, x, height() - 3);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(x + 1, 2, x + 1, height() - 3);
    }
};
} // namespace

void TForm1::CreateToolbar() {
    ToolBar1 = new QToolBar(QStringLiteral("ToolBar1"), this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(ToolbarHeight);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    ToolBar1->layout()->setSpacing(0);
    ToolBar1->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto button = [this](const QString& hint, TIconMotif motif, auto handler) {
        auto* b = new QToolButton(ToolBar1);
        b->setToolTip(hint);
        b->setAccessibleName(hint); // a screen reader's name for a button without caption
        b->setIcon(DrawnIcon(motif));
        b->setIconSize(QSize(16, 16));
        b->setFixedSize(ButtonSize);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        ToolBar1->addWidget(b);
        if constexpr (!std::is_null_pointer_v<decltype(handler)>)
            connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    auto separator = [this] { ToolBar1->addWidget(new TToolSeparator(ToolBar1)); };

    ToolButton1 =
        button(QStringLiteral("New skin file"), TIconMotif::BlankPage, &TForm1::NewSkinCommand);
    ToolButton2 =
        button(QStringLiteral("Open skin file"), TIconMotif::OpeningFolder, &TForm1::OpenSkin);
    ToolButton3 =
        button(QStringLiteral("Save skin file"), TIconMotif::FloppyDisk, &TForm1::SaveSkin);
    separator();

    ComboBox1 = new QComboBox(ToolBar1);
    ComboBox1->setToolTip(QStringLiteral("Zoom"));
    ComboBox1->setAccessibleName(QStringLiteral("Zoom"));
    ComboBox1->addItems({QStringLiteral("100%"), QStringLiteral("200%"), QStringLiteral("400%"),
                         QStringLiteral("800%")});
    ComboBox1->setFixedWidth(ZoomWidth);
    ComboBox1->setCurrentIndex(0);
    ToolBar1->addWidget(ComboBox1);
    // A choice by the user repaints; setting the zoom from New does not.
    connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    // The open skin's view keeps the zoom, however the selector was moved.
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        TViewState view = Skin.View();
        view.Zoom = index;
        Skin.SetView(view);
    });
    separator();

    ToolButton8 = button(QStringLiteral("Edit player interface"), TIconMotif::PlayButton, nullptr);
    ToolButton6 =
        button(QStringLiteral("Edit playlist interface"), TIconMotif::ListWithNote, nullptr);
    auto* modes = new QButtonGroup(this);
    modes->setExclusive(true);
    for (auto [toggle, page] : {std::pair{ToolButton8, PlayerPage}, {ToolButton6, PlaylistPage}}) {
        toggle->setCheckable(true);
        modes->addButton(toggle, page);
    }
    connect(modes, &QButtonGroup::idClicked, this, &TForm1::ToolButton6Click);
    separator();

    ToolButton12 =
        button(QStringLiteral("Add image"), TIconMotif::Landscape, &TForm1::ToolButton12Click);
    ToolButton10 =
        button(QStringLiteral("Add text"), TIconMotif::Letters, &TForm1::ToolButton10Click);
    ToolButton9 =
        button(QStringLiteral("Add button"), TIconMotif::GreyButton, &TForm1::ToolButton9Click);
    ToolButton11 =
        button(QStringLiteral("Add wheel"), TIconMotif::Wheel, &TForm1::ToolButton11Click);
    ToolButton13 = button(QStringLiteral("Add trackbar"), TIconMotif::PartlyFilledBar,
                          &TForm1::ToolButton13Click);
    separator();
    ToolButton15 =
        button(QStringLiteral("Move up"), TIconMotif::ArrowUp, &TForm1::ToolButton15Click);
    ToolButton16 =
        button(QStringLiteral("Move down"), TIconMotif::ArrowDown, &TForm1::ToolButton16Click);
    separator();
    ToolButton18 =
        button(QStringLiteral("Delete"), TIconMotif::RedCross, &TForm1::ToolButton18Click);
    separator();
    ToolButton20 = button(QStringLiteral("Dither pictures (recommended)"),
                          TIconMotif::GradientPicture, &TForm1::ToolButton20Click);

    const std::pair<QWidget*, const char*> named[] = {
        {ToolButton1, "ToolButton1"},   {ToolButton2, "ToolButton2"},
        {ToolButton3, "ToolButton3"},   {ComboBox1, "ComboBox1"},
        {ToolButton8, "ToolButton8"},   {ToolButton6, "ToolButton6"},
        {ToolButton12, "ToolButton12"}, {ToolButton10, "ToolButton10"},
        {ToolButton9, "ToolButton9"},   {ToolButton11, "ToolButton11"},
        {ToolButton13, "ToolButton13"}, {ToolButton15, "ToolButton15"},
        {ToolButton16, "ToolButton16"}, {ToolButton18, "ToolButton18"},
        {ToolButton20, "ToolButton20"}};
    for (auto [control, name] : named)
        control->setObjectName(QString::fromLatin1(name));
}

void TForm1::CreateMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    auto item = [this](QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                       auto handler) {
        QAction* action = menu->addAction(caption);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    New1 = item(file, QStringLiteral("New"), QKeySequence(Qt::CTRL | Qt::Key_N),
                &TForm1::NewSkinCommand);
    // Open answers Ctrl+B, the editor's established key; Ctrl+O stays unbound.
    Open1 =
        item(file, QStringLiteral("Open"), QKeySequence(Qt::CTRL | Qt::Key_B), &TForm1::OpenSkin);
    OpenRecent1 = file->addMenu(QStringLiteral("Open recent"));
    OpenRecent1->setObjectName(QStringLiteral("OpenRecent1"));
    FillRecentMenu(OpenRecent1, RecentSkins, [this](const QString& path) { OpenRecentFile(path); });
    Save1 =
        item(file, QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::SaveSkin);
    file->addSeparator();
    Saveas1 = item(file, QStringLiteral("Save as..."), QKeySequence(), &TForm1::SaveSkinAs);
    file->addSeparator();
    Exit1 =
        item(file, QStringLiteral("Exit"), QKeySequence(Qt::ALT | Qt::Key_F4), &TForm1::Exit1Click);
    CreateEditMenu(menuBar()->addMenu(QStringLiteral("Edit")));
    CreateViewMenu(menuBar()->addMenu(QStringLiteral("View")));
    CreateArrangeMenu(menuBar()->addMenu(QStringLiteral("Arrange")));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    About1 = item(help, QStringLiteral("About"), QKeySequence(Qt::Key_F1), &TForm1::About1Click);

    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    const std::pair<QObject*, const char*> named[] = {
        {file, "File1"},      {New1, "New1"},   {Open1, "Open1"}, {Save1, "Save1"},
        {Saveas1, "Saveas1"}, {Exit1, "Exit1"}, {help, "Help1"},  {About1, "About1"}};
    for (auto [entry, name] : named)
        entry->setObjectName(QString::fromLatin1(name));
}
