#include "player_panel.h"

#include "code_page.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr int ItemListHeight = 169;
constexpr int ItemRowHeight = 16;

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
    lbItems->setSelectionMode(QAbstractItemView::SingleSelection);
    lbItems->setUniformItemSizes(true);
    layout->addWidget(lbItems);

    nbInspector = new QStackedWidget(this);
    nbInspector->setObjectName(QStringLiteral("nbInspector"));
    // Pages 0..4 (image, text, button, wheel, trackbar) get their controls
    // from the inspector; until then they are blank.
    for (int page = 0; page < EmptyInspectorPage; ++page)
        nbInspector->addWidget(new QWidget);
    auto* empty = new QWidget;
    auto* emptyLayout = new QVBoxLayout(empty);
    lbNoItem = new QLabel(QStringLiteral("(no item selected)"), empty);
    lbNoItem->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    emptyLayout->addWidget(lbNoItem);
    emptyLayout->addStretch();
    nbInspector->addWidget(empty);
    nbInspector->setCurrentIndex(EmptyInspectorPage);
    layout->addWidget(nbInspector, 1);

    connect(lbItems, &QListWidget::itemSelectionChanged, this, &TPlayerPanel::SelectionChanged);
}

int TPlayerPanel::SelectedRow() const {
    const QList<QListWidgetItem*> selected = lbItems->selectedItems();
    return selected.isEmpty() ? -1 : lbItems->row(selected.first());
}

void TPlayerPanel::ReloadList() {
    const QSignalBlocker blocker(lbItems);
    lbItems->clear();
    for (const TDocItem& item : Context.Doc.Items) {
        auto* row = new QListWidgetItem(DecodeName(item.Name), lbItems);
        row->setSizeHint(QSize(0, ItemRowHeight));
    }
    lbItems->setCurrentRow(-1);
    lbItems->clearSelection();
}

void TPlayerPanel::SelectRow(int row) {
    const QSignalBlocker blocker(lbItems);
    if (row < 0 || row >= lbItems->count()) {
        lbItems->setCurrentRow(-1);
        lbItems->clearSelection();
    } else {
        lbItems->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
}

void TPlayerPanel::SelectionChanged() {
    // A list box with one selection cannot be emptied by the user: a
    // Ctrl+click on the selected row keeps it selected.
    if (SelectedRow() < 0 && lbItems->currentRow() >= 0) {
        SelectRow(lbItems->currentRow());
        return;
    }
    if (SelectedRow() >= 0) lbItemsClick();
}

void TPlayerPanel::lbItemsClick() {
    const int row = SelectedRow();
    if (row < 0 || row >= Context.Doc.Items.size()) return;
    const TInspectorLoadingGuard guard(Context);
    const int kind = Context.Doc.Items[row].Kind;
    // A kind no page edits shows the empty page, so no page can write into
    // a record that is not the current item's.
    nbInspector->setCurrentIndex(kind < ItemKindCount ? kind : EmptyInspectorPage);
    Context.RedrawSkin();
    // The page's controls are filled from the record here, after the repaint.
}

void TPlayerPanel::ShowEmptyPage() {
    nbInspector->setCurrentIndex(EmptyInspectorPage);
}
