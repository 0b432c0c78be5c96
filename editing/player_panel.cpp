#include "player_panel.h"

#include "item_commands.h"
#include "item_inspector.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr int ItemListHeight = 169;

} // namespace

TPlayerPanel::TPlayerPanel(TEditorContext& context, QWidget* parent)
    : QWidget(parent), Context(context) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    lbItems = new QListWidget(this);
    lbItems->setObjectName(QStringLiteral("lbItems"));
    lbItems->setFixedHeight(ItemListHeight);
    lbItems->setFrameShape(QFrame::NoFrame);
    lbItems->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbItems->setUniformItemSizes(true);
    // Room for the lock and the hide marks side by side.
    lbItems->setIconSize(QSize(32, 16));
    layout->addWidget(lbItems);

    nbInspector = new QStackedWidget(this);
    nbInspector->setObjectName(QStringLiteral("nbInspector"));
    auto* empty = new QWidget;
    empty->setObjectName(QStringLiteral("Empty"));
    auto* emptyLayout = new QVBoxLayout(empty);
    lbNoItem = new QLabel(QStringLiteral("(no item selected)"), empty);
    lbNoItem->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    emptyLayout->addWidget(lbNoItem);
    emptyLayout->addStretch();
    nbInspector->addWidget(empty);
    // Pages 0..4 (image, text, button, wheel, trackbar) go in front of it.
    Inspector = new TItemInspector(Context, nbInspector, [this] { return SelectedRow(); });
    Inspector->setParent(this);
    nbInspector->setCurrentIndex(EmptyInspectorPage);
    layout->addWidget(nbInspector, 1);

    Commands = std::make_unique<TItemCommands>(
        Context, lbItems, [this] { lbItemsClick(); }, [this] { ShowEmptyPage(); });

    connect(lbItems, &QListWidget::itemSelectionChanged, this, &TPlayerPanel::ListSelectionChanged);
    // The inspector shows the open skin's current item, however it was chosen.
    connect(&Context.Skin, &TOpenSkin::SelectionChanged, this, [this](int row) {
        if (row >= 0)
            lbItemsClick();
        else
            ShowEmptyPage();
    });
    // A replaced document starts with nothing selected.
    connect(&Context.Skin, &TOpenSkin::Replaced, this, [this] {
        ReloadList();
        ShowEmptyPage();
    });
    // A double-click anywhere in the list renames the current item; in the
    // list, Delete deletes it and F2 renames it.
    lbItems->viewport()->installEventFilter(this);
    lbItems->installEventFilter(this);
}

TPlayerPanel::~TPlayerPanel() = default;

bool TPlayerPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbItems->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Commands->lbItemsDblClick();
        return true;
    }
    // Clicks select through the open skin, whose rules differ from the
    // list's own (Ctrl never empties it, Shift starts at the current row);
    // a drag selects nothing more.
    if (watched == lbItems->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        const int row = lbItems->indexAt(mouse->position().toPoint()).row();
        ClickListRow(lbItems, Context.Skin, row, mouse->modifiers());
        return true;
    }
    if (watched == lbItems->viewport() && event->type() == QEvent::MouseMove &&
        (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton))
        return true;
    if (watched == lbItems && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        if (key->key() == Qt::Key_Delete) {
            Commands->ToolButton18Click();
            return true;
        }
        if (key->key() == Qt::Key_F2) {
            Commands->lbItemsDblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int TPlayerPanel::SelectedRow() const {
    return Context.Skin.Current();
}

void TPlayerPanel::ReloadList() {
    {
        const QSignalBlocker blocker(lbItems);
        FillItemList(lbItems, Context.Doc);
        lbItems->setCurrentRow(-1);
        lbItems->clearSelection();
    }
    ShowMarks(lbItems, Context.Skin);
    Context.Skin.Select(-1);
}

void TPlayerPanel::SelectRow(int row) {
    Commands->Select(row);
}

void TPlayerPanel::ListSelectionChanged() {
    // A list box with one selection cannot be emptied by the user: a
    // Ctrl+click on the selected row keeps it selected.
    if (SelectedRow() < 0 && lbItems->currentRow() >= 0) SelectRow(lbItems->currentRow());
}

void TPlayerPanel::lbItemsClick() {
    Inspector->ShowCurrentItem();
}

void TPlayerPanel::ShowEmptyPage() {
    nbInspector->setCurrentIndex(EmptyInspectorPage);
}
