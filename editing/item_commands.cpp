#include "item_commands.h"

#include "code_page.h"
#include "dither.h"
#include "item_list.h"

#include <QApplication>
#include <QListWidget>
#include <QSignalBlocker>

const QString DitherQuestion =
    QStringLiteral("Are you sure you want to apply Floyd-Steinberg dithering to all the images on "
                   "your skin?\rThis action can't be undone and it may take several minutes to "
                   "be completed.");

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
    : Context(context), lbItems(list), ShowItem(std::move(lbItemsClick)),
      ShowEmptyPage(std::move(showEmptyPage)) {}

void FillItemList(QListWidget* list, const TSkinDocument& doc) {
    list->setUpdatesEnabled(false);
    list->clear();
    for (const TDocItem& item : doc.Items) {
        // The row gets its height before it joins the list: a change to a
        // listed row lays the whole list out again, once per row.
        auto* row = new QListWidgetItem(DecodeName(item.Name));
        row->setSizeHint(QSize(0, ItemRowHeight));
        list->addItem(row);
    }
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

int TItemCommands::SelectedRow() const {
    return SelectedListRow(lbItems);
}

void TItemCommands::SelectRow(int row) {
    SelectListRow(lbItems, row);
}

int TItemCommands::CreateDocItem(int kind, const QByteArray& name) {
    const int m = AddItem(Context.Doc, kind, name);
    if (m < 0) return -1;
    {
        const QSignalBlocker blocker(lbItems);
        FillItemList(lbItems, Context.Doc);
        SelectRow(m);
    }
    ShowItem();
    return m;
}

void TItemCommands::AddCommand(int kind) {
    const TNameDialogText& dialog = AddDialogs[kind];
    const std::optional<QString> name = Context.Prompts.AskName(
        QString::fromLatin1(dialog.Caption), QString::fromLatin1(dialog.Prompt), QString());
    if (!name) return;
    // Characters the code page has no byte for become '?' here, so the row
    // shows what the file will get.
    CreateDocItem(kind, EncodeName(*name));
    Context.DoRedraw();
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
    QListWidgetItem* a = lbItems->item(from);
    QListWidgetItem* b = lbItems->item(to);
    if (a && b) {
        const QString text = a->text();
        a->setText(b->text());
        b->setText(text);
    }
    SelectRow(to);
    ShowItem();
}

void TItemCommands::ToolButton15Click() {
    const int p = SelectedRow();
    if (MoveItemUp(Context.Doc, p)) Move(p, p - 1);
}

void TItemCommands::ToolButton16Click() {
    const int p = SelectedRow();
    if (MoveItemDown(Context.Doc, p)) Move(p, p + 1);
}

void TItemCommands::ToolButton18Click() {
    const int p = SelectedRow();
    if (p >= lbItems->count()) return;
    const std::optional<int> next = DeleteItem(Context.Doc, p);
    if (!next) return;
    {
        const QSignalBlocker blocker(lbItems);
        delete lbItems->takeItem(p);
    }
    SelectRow(*next);
    if (*next < 0)
        ShowEmptyPage();
    else
        ShowItem();
    Context.DoRedraw();
}

void TItemCommands::lbItemsDblClick() {
    const int p = SelectedRow();
    if (p < 0 || p >= Context.Doc.Items.size()) return;
    const std::optional<QString> name = Context.Prompts.AskName(
        QStringLiteral("Change name"), QStringLiteral("Type the new name of the selected object"),
        lbItems->item(p)->text());
    if (!name) return;
    const QByteArray stored = EncodeName(*name);
    Context.Doc.Items[p].Name = stored;
    lbItems->item(p)->setText(DecodeName(stored));
}

void TItemCommands::ToolButton20Click() {
    if (!Context.Prompts.AskYesNo(QStringLiteral("Information"), DitherQuestion)) return;
    try {
        const TBusyCursor busy;
        // Dithered into a copy (pictures are shared until written), so that
        // running out of memory part-way leaves every picture as it was.
        TSkinDocument dithered = Context.Doc;
        DitherAllPictures(dithered);
        Context.Doc = std::move(dithered);
    } catch (const std::bad_alloc&) {
        Context.Prompts.ShowError(QStringLiteral("Out of memory."));
        return;
    }
    Context.DoRedraw();
}
