#include "item_commands.h"

#include "picture_commands.h"

#include "code_page.h"
#include "item_list.h"
#include "item_steps.h"
#include "skin_file.h"
#include "user_commands.h"

#include <QApplication>
#include <QListWidget>
#include <QSignalBlocker>

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
    // The open skin's selection is the current item; the list mirrors it
    // and passes on what the user picks in it.
    QObject::connect(lbItems, &QListWidget::itemSelectionChanged, lbItems,
                     [this] { Context.Skin.Select(SelectedListRow(lbItems)); });
    QObject::connect(&Context.Skin, &TOpenSkin::SelectionChanged, lbItems, [this](int row) {
        if (SelectedListRow(lbItems) != row) SelectListRow(lbItems, row);
    });
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
    SelectListRow(lbItems, row);
    Context.Skin.Select(SelectedListRow(lbItems));
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
        Show(row + change.Count - 1);
        break;
    }
    case TEditChange::ItemsRemoved: {
        {
            const QSignalBlocker blocker(lbItems);
            for (int i = 0; i < change.Count; ++i)
                delete lbItems->takeItem(row);
        }
        Show(std::min(row, lbItems->count() - 1));
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
        Show(row);
        break;
    }
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
        if (change.Reload && row >= 0) Show(row);
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

void TItemCommands::Move(int from, int to) {
    MoveItemCommand(Context.Skin, from, to < from);
}

void TItemCommands::ToolButton15Click() {
    const int p = Current();
    if (p > 0 && p < Context.Doc.Items.size()) Move(p, p - 1);
}

void TItemCommands::ToolButton16Click() {
    const int p = Current();
    if (p >= 0 && p < Context.Doc.Items.size() - 1) Move(p, p + 1);
}

void TItemCommands::ToolButton18Click() {
    const int p = Current();
    if (p < 0 || p >= lbItems->count() || p >= Context.Doc.Items.size()) return;
    DeleteItemCommand(Context.Skin, p, QStringLiteral("Delete"));
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
