#include "item_commands.h"

#include "picture_commands.h"

#include "code_page.h"
#include "item_list.h"
#include "item_steps.h"
#include "selection_commands.h"
#include "skin_file.h"
#include "user_commands.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSignalBlocker>

#include <algorithm>

const QString DitherQuestion =
    QStringLiteral("Are you sure you want to apply Floyd-Steinberg dithering to all the images on "
                   "your skin?\rIt may take several minutes to be completed.");

namespace {

constexpr int ItemRowHeight = 16;

struct TNameDialogText {
    const char* Caption;
    const char* Prompt;
};

// Indexed by TItemKind.
constexpr TNameDialogText AddDialogs[ItemKindCount] = {
    {"Image name", "Type the name of the new image"},
    {"Text name", "Type the name of the new text"},
    {"Button name", "Type the name of the new button"},
    {"Wheel name", "Type the name of the new wheel"},
    {"Trackbar name", "Type the name of the new trackbar"},
};

// Restores the cursor however the work ends.
class TBusyCursor {
  public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

} // namespace

TItemCommands::TItemCommands(TEditorContext& context, QListWidget* list,
                             std::function<void()> lbItemsClick,
                             std::function<void()> showEmptyPage)
    : Context(context), lbItems(list), RefillInspector(std::move(lbItemsClick)),
      EmptyInspector(std::move(showEmptyPage)) {
    QObject::connect(&Context.Edits, &TSkinEdits::Changed, lbItems,
                     [this](const TEditChange& change) { Follow(change); });
    // The open skin holds the selection; the list mirrors it and passes on
    // what the user picks in it with the keys.
    QObject::connect(lbItems, &QListWidget::itemSelectionChanged, lbItems,
                     [this] { ListPicked(); });
    QObject::connect(&Context.Skin, &TOpenSkin::SelectionChanged, lbItems,
                     [this] { MirrorSelection(lbItems, Context.Skin); });
    QObject::connect(&Context.Skin, &TOpenSkin::MarksChanged, lbItems,
                     [this] { ShowMarks(lbItems, Context.Skin); });
}

void TItemCommands::ListPicked() {
    QList<int> rows;
    for (const QModelIndex& index : lbItems->selectionModel()->selectedIndexes())
        rows << index.row();
    std::ranges::sort(rows);
    const int current = lbItems->currentRow();
    TOpenSkin& skin = Context.Skin;
    if (rows.isEmpty()) {
        // The panel keeps the user from emptying it; the list's current row
        // stays for that.
        skin.Select(-1);
        return;
    } else if (QGuiApplication::keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        // Shift or Ctrl with the keys: the rows the list now shows.
        skin.SetSelection(rows, current);
    } else {
        skin.Select(rows.contains(current) ? current : rows.last());
    }
    MirrorSelection(lbItems, skin);
}

void ClickListRow(QListWidget* list, TOpenSkin& skin, int row, Qt::KeyboardModifiers modifiers) {
    if (row < 0 || row >= list->count()) return;
    if (modifiers & Qt::ControlModifier)
        skin.Toggle(row);
    else if (modifiers & Qt::ShiftModifier)
        skin.SelectRange(row);
    else
        skin.Select(row);
    MirrorSelection(list, skin);
}

void MirrorSelection(QListWidget* list, const TOpenSkin& skin) {
    const QSignalBlocker blocker(list);
    QItemSelectionModel* model = list->selectionModel();
    QList<int> rows = skin.Selection();
    std::ranges::sort(rows);
    // Runs of neighbouring rows as one range each: Ctrl+A on a long list.
    QItemSelection selection;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        if (rows[i] >= 0 && rows[j] < list->count())
            selection.select(list->model()->index(rows[i], 0), list->model()->index(rows[j], 0));
        i = j + 1;
    }
    const int current = skin.Current() < list->count() ? skin.Current() : -1;
    model->setCurrentIndex(list->model()->index(current, 0), QItemSelectionModel::NoUpdate);
    model->select(selection, QItemSelectionModel::ClearAndSelect);
}

namespace {

// A padlock in the left half, a struck-out eye in the right half; blank
// halves keep the names of marked rows in line.
QIcon MarksIcon(int marks) {
    static QIcon icons[4];
    QIcon& icon = icons[marks & 3];
    if (!icon.isNull() || marks == 0) return icon;
    QPixmap pixmap(32, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(70, 70, 70);
    p.setPen(QPen(ink, 1.5));
    if (marks & 1) {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 2.5, 7, 8), 0, 180 * 16);
        p.drawLine(QPointF(4.5, 6.5), QPointF(4.5, 8));
        p.drawLine(QPointF(11.5, 6.5), QPointF(11.5, 8));
        p.setBrush(ink);
        p.drawRect(QRectF(3.5, 8, 9, 6.5));
    }
    if (marks & 2) {
        p.setBrush(Qt::NoBrush);
        QPainterPath eye;
        eye.moveTo(17.5, 8);
        eye.quadTo(24, 1.5, 30.5, 8);
        eye.quadTo(24, 14.5, 17.5, 8);
        p.drawPath(eye);
        p.setBrush(ink);
        p.drawEllipse(QPointF(24, 8), 1.8, 1.8);
        p.drawLine(QPointF(18.5, 14), QPointF(29.5, 2));
    }
    p.end();
    icon = QIcon(pixmap);
    return icon;
}

constexpr int MarksRole = Qt::UserRole + 1;

int MarksOf(const TOpenSkin& skin, int row) {
    return (skin.Locked(row) ? 1 : 0) | (skin.Hidden(row) ? 2 : 0);
}

} // namespace

void ShowMarks(QListWidget* list, const TOpenSkin& skin) {
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        const int marks = MarksOf(skin, row);
        // Untouched rows stay as they are: a changed row lays the list out.
        if (item->data(MarksRole).toInt() == marks) continue;
        item->setData(MarksRole, marks);
        item->setIcon(MarksIcon(marks));
    }
}

namespace {
QListWidgetItem* MakeRow(const QByteArray& name) {
    // The row gets its height before it joins the list: a change to a
    // listed row lays the whole list out again, once per row.
    auto* row = new QListWidgetItem(DecodeName(name));
    row->setSizeHint(QSize(0, ItemRowHeight));
    return row;
}
} // namespace

void FillItemList(QListWidget* list, const TSkinDocument& doc) {
    list->setUpdatesEnabled(false);
    list->clear();
    for (const TDocItem& item : doc.Items)
        list->addItem(MakeRow(item.Name));
    list->setUpdatesEnabled(true);
}

int SelectedListRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void SelectListRow(QListWidget* list, int row) {
    const QSignalBlocker blocker(list);
    if (row < 0 || row >= list->count()) {
        list->setCurrentRow(-1);
        list->clearSelection();
    } else {
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
}

int TItemCommands::Current() const {
    return Context.Skin.Current();
}

void TItemCommands::Select(int row) {
    Context.Skin.Select(row < lbItems->count() ? row : -1);
    MirrorSelection(lbItems, Context.Skin);
}

void TItemCommands::ShowSelection() {
    MirrorSelection(lbItems, Context.Skin);
    if (Current() < 0)
        EmptyInspector();
    else
        RefillInspector();
}

void TItemCommands::Show(int row) {
    Select(row);
    if (Current() < 0)
        EmptyInspector();
    else
        RefillInspector();
}

void TItemCommands::Follow(const TEditChange& change) {
    const int row = change.Row;
    switch (change.What) {
    case TEditChange::ItemsAdded: {
        {
            const QSignalBlocker blocker(lbItems);
            for (int i = 0; i < change.Count; ++i)
                lbItems->insertItem(row + i, MakeRow(Context.Doc.Items[row + i].Name));
        }
        ShowMarks(lbItems, Context.Skin);
        ShowSelection();
        break;
    }
    case TEditChange::ItemsRemoved: {
        {
            const QSignalBlocker blocker(lbItems);
            for (int i = 0; i < change.Count; ++i)
                delete lbItems->takeItem(row);
        }
        ShowSelection();
        break;
    }
    case TEditChange::ItemsSwapped: {
        QListWidgetItem* a = lbItems->item(row);
        QListWidgetItem* b = lbItems->item(change.OtherRow);
        if (a && b) {
            const QString text = a->text();
            a->setText(b->text());
            b->setText(text);
        }
        // Several moves in one step: the list shows the selection once.
        if (change.Grouped && change.Part + 1 < change.Parts) break;
        ShowMarks(lbItems, Context.Skin);
        ShowSelection();
        break;
    }
    case TEditChange::ItemsReordered:
        for (int i = row; i < row + change.Count && i < lbItems->count(); ++i)
            lbItems->item(i)->setText(DecodeName(Context.Doc.Items[i].Name));
        ShowMarks(lbItems, Context.Skin);
        ShowSelection();
        break;
    case TEditChange::ItemRenamed:
        if (QListWidgetItem* r = lbItems->item(row))
            r->setText(DecodeName(Context.Doc.Items[row].Name));
        if (change.Reload) Show(row);
        break;
    case TEditChange::Moved:
        // The inspector follows with the two position fields alone.
        break;
    case TEditChange::Record:
    case TEditChange::Picture:
        // A step on several items leaves the selection alone.
        if (change.Grouped) {
            if (change.Reload && row >= 0 && row == Current()) RefillInspector();
        } else if (change.Reload && row >= 0) {
            Show(row);
        }
        break;
    case TEditChange::Playlist:
    case TEditChange::Pictures:
        break;
    }
}

int TItemCommands::CreateDocItem(int kind, const QByteArray& name) {
    if (!AddItemCommand(Context.Skin, kind, name).isEmpty()) return -1;
    return int(Context.Doc.Items.size()) - 1;
}

void TItemCommands::AddCommand(int kind) {
    if (!HasRoomForItems(Context.Doc, 1)) return Context.Prompts.ShowError(TooManyItemsText);
    const TNameDialogText& dialog = AddDialogs[kind];
    const std::optional<QString> name = Context.Prompts.AskName(
        QString::fromLatin1(dialog.Caption), QString::fromLatin1(dialog.Prompt), QString());
    if (!name) return;
    // Characters the code page has no byte for become '?' here, so the row
    // shows what the file will get.
    CreateDocItem(kind, EncodeName(*name));
}

void TItemCommands::ToolButton12Click() {
    AddCommand(ikImage);
}
void TItemCommands::ToolButton10Click() {
    AddCommand(ikText);
}
void TItemCommands::ToolButton9Click() {
    AddCommand(ikButton);
}
void TItemCommands::ToolButton11Click() {
    AddCommand(ikWheel);
}
void TItemCommands::ToolButton13Click() {
    AddCommand(ikTrackbar);
}

void TItemCommands::ToolButton15Click() {
    MoveSelectionCommand(Context.Skin, true);
}

void TItemCommands::ToolButton16Click() {
    MoveSelectionCommand(Context.Skin, false);
}

void TItemCommands::ToolButton18Click() {
    DeleteSelectionCommand(Context.Skin, QStringLiteral("Delete"));
}

void TItemCommands::lbItemsDblClick() {
    const int p = Current();
    if (p < 0 || p >= Context.Doc.Items.size()) return;
    const std::optional<QString> name = Context.Prompts.AskName(
        QStringLiteral("Change name"), QStringLiteral("Type the new name of the selected object"),
        lbItems->item(p)->text());
    if (!name) return;
    RenameItemCommand(Context.Skin, p, EncodeName(*name));
}

void TItemCommands::ToolButton20Click() {
    if (!Context.Prompts.AskYesNo(QStringLiteral("Information"), DitherQuestion)) return;
    QString refused;
    {
        const TBusyCursor busy;
        refused = DitherCommand(Context.Skin);
    }
    if (!refused.isEmpty()) Context.Prompts.ShowError(refused);
}
