#include "selection_commands.h"

#include "code_page.h"
#include "item_clipboard.h"
#include "item_list.h"
#include "item_steps.h"
#include "new_skin.h"
#include "skin_file.h"
#include "step_names.h"
#include "user_commands.h"

#include <algorithm>

namespace {

constexpr qsizetype MaxNameBytes = 255;

QList<int> SortedSelection(const TOpenSkin& skin) {
    QList<int> rows = skin.Selection();
    std::ranges::sort(rows);
    return rows;
}

// "Delete "title"" for one item, "Delete 3 items" for several.
QString StepName(const QString& verb, const TSkinDocument& doc, const QList<int>& rows) {
    if (rows.size() == 1) return verb + QLatin1Char(' ') + QuotedItemName(doc, rows.front());
    return verb + QStringLiteral(" %1 items").arg(rows.size());
}

} // namespace

void DeleteSelectionCommand(TOpenSkin& skin, const QString& verb) {
    QList<int> rows = SortedSelection(skin);
    if (rows.isEmpty()) return;
    if (rows.size() == 1) return DeleteItemCommand(skin, rows.front(), verb);
    auto group = std::make_unique<TStepGroup>(skin.Doc(), StepName(verb, skin.Doc(), rows));
    // Highest first, so that each row still names its item. Each delete
    // keeps the record's place in its array as the deletes before it leave
    // it, so each is made before the next is built; all are then taken
    // back, for the history to make them again as one step.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        auto step = std::make_unique<TDeleteItemStep>(skin.Doc(), *it, verb);
        if (step->isObsolete()) continue;
        step->redo();
        group->Add(std::move(step));
    }
    group->undo();
    skin.Edits().Push(std::move(group));
}

QByteArray SelectionSkin(const TOpenSkin& skin) {
    const QList<int> rows = SortedSelection(skin);
    if (rows.isEmpty()) return {};
    TSkinDocument items;
    NewSkin(items);
    items.ScreenWidth = skin.Doc().ScreenWidth;
    items.ScreenHeight = skin.Doc().ScreenHeight;
    for (int row : rows)
        if (const std::optional<TLooseItem> item = LooseItemAt(skin.Doc(), row))
            AppendItem(items, *item);
    return items.Items.isEmpty() ? QByteArray() : EncodeSkin(items);
}

QString DuplicateSelectionCommand(TOpenSkin& skin) {
    // Through the skin writer and reader, so that the copies hold what the
    // file would.
    const QByteArray copies = SelectionSkin(skin);
    if (copies.isEmpty()) return {};
    return PasteItemsCommand(skin, copies, QStringLiteral("Duplicate"));
}

void MoveSelectionCommand(TOpenSkin& skin, bool up) {
    QList<int> rows = SortedSelection(skin);
    if (rows.isEmpty()) return;
    if (rows.size() == 1) return MoveItemCommand(skin, rows.front(), up);
    if (!up) std::ranges::reverse(rows);
    const int n = int(skin.Doc().Items.size());
    const QString verb = up ? QStringLiteral("Move up") : QStringLiteral("Move down");
    auto group = std::make_unique<TStepGroup>(skin.Doc(), StepName(verb, skin.Doc(), rows));
    // From the end they move towards: an item stays when the list ends there
    // or its neighbour there is a selected item that stayed.
    QSet<int> stayed;
    for (int row : rows) {
        const int to = up ? row - 1 : row + 1;
        if (to < 0 || to >= n || stayed.contains(to)) {
            stayed.insert(row);
            continue;
        }
        group->Add(std::make_unique<TMoveItemStep>(skin.Doc(), row, to, verb));
    }
    skin.Edits().Push(std::move(group));
}
