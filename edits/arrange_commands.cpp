#include "arrange_commands.h"

#include "any_record.h"
#include "item_steps.h"
#include "marker_box.h"
#include "record_steps.h"

#include <algorithm>
#include <limits>

namespace {

// Rounds towards minus infinity, below zero too.
qint64 FloorDiv(qint64 a, qint64 b) {
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int Clamped(qint64 value) {
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

struct TPlaced {
    int Row;
    TBox Box;
};

// The selected items that have a box, in list order.
std::vector<TPlaced> SelectedBoxes(const TOpenSkin& skin) {
    QList<int> rows = skin.Selection();
    std::ranges::sort(rows);
    std::vector<TPlaced> placed;
    for (int row : rows)
        if (const std::optional<TBox> box = MarkerBoxOf(skin.Doc(), skin.Doc().Items[row]))
            placed.push_back({row, *box});
    return placed;
}

// Adds to the group the step that moves the row's item by (dx, dy), unless
// it is locked or would not move.
void AddMove(TOpenSkin& skin, TStepGroup& group, int row, qint64 dx, qint64 dy) {
    if ((dx == 0 && dy == 0) || skin.Locked(row)) return;
    const std::optional<TAnyRecord> before = RecordAt(skin.Doc(), skin.Doc().Items[row]);
    if (!before) return;
    TAnyRecord after = *before;
    const QPoint at = PositionOf(*before);
    SetPosition(after, QPoint(Clamped(at.x() + dx), Clamped(at.y() + dy)));
    if (after == *before) return;
    group.Add(std::make_unique<TRecordStep>(skin.Doc(), row, *before, after, group.text(),
                                            TMergeRun{}, true));
}

void Reorder(TOpenSkin& skin, bool front) {
    const int n = int(skin.Doc().Items.size());
    QList<int> selected, others;
    for (int row = 0; row < n; ++row)
        (skin.IsSelected(row) ? selected : others) << row;
    if (selected.isEmpty()) return;
    const QList<int> from = front ? others + selected : selected + others;
    skin.Edits().Push(std::make_unique<TReorderItemsStep>(skin.Doc(), from,
                                                          front ? QStringLiteral("Bring to front")
                                                                : QStringLiteral("Send to back")));
}

} // namespace

QString AlignStepName(TAlign how) {
    switch (how) {
    case TAlign::Left:
        return QStringLiteral("Align left edges");
    case TAlign::HorizontalCentre:
        return QStringLiteral("Align horizontal centres");
    case TAlign::Right:
        return QStringLiteral("Align right edges");
    case TAlign::Top:
        return QStringLiteral("Align top edges");
    case TAlign::VerticalCentre:
        return QStringLiteral("Align vertical centres");
    case TAlign::Bottom:
        return QStringLiteral("Align bottom edges");
    }
    return {};
}

void AlignCommand(TOpenSkin& skin, TAlign how) {
    const std::vector<TPlaced> placed = SelectedBoxes(skin);
    if (placed.empty()) return;
    // One item goes to the screen; several to the reference, which stays.
    TBox target{0, 0, skin.Doc().ScreenWidth, skin.Doc().ScreenHeight};
    int reference = -1;
    if (skin.Selection().size() > 1) {
        reference = skin.Reference();
        const auto it = std::ranges::find(placed, reference, &TPlaced::Row);
        if (it == placed.end()) return;
        target = it->Box;
    }
    auto steps = std::make_unique<TStepGroup>(skin.Doc(), AlignStepName(how));
    for (const TPlaced& item : placed) {
        if (item.Row == reference) continue;
        const TBox& b = item.Box;
        const qint64 w = b.Right - b.Left, h = b.Bottom - b.Top;
        const qint64 tw = target.Right - target.Left, th = target.Bottom - target.Top;
        qint64 dx = 0, dy = 0;
        switch (how) {
        case TAlign::Left:
            dx = target.Left - b.Left;
            break;
        case TAlign::HorizontalCentre:
            dx = FloorDiv(2 * target.Left + tw - w, 2) - b.Left;
            break;
        case TAlign::Right:
            dx = target.Right - w - b.Left;
            break;
        case TAlign::Top:
            dy = target.Top - b.Top;
            break;
        case TAlign::VerticalCentre:
            dy = FloorDiv(2 * target.Top + th - h, 2) - b.Top;
            break;
        case TAlign::Bottom:
            dy = target.Bottom - h - b.Top;
            break;
        }
        AddMove(skin, *steps, item.Row, dx, dy);
    }
    skin.Edits().Push(std::move(steps));
}

void MoveSelectionCommand(TOpenSkin& skin, qint64 dx, qint64 dy) {
    auto steps = std::make_unique<TStepGroup>(skin.Doc(), QStringLiteral("Move items"));
    for (int row : skin.Selection())
        if (row >= 0 && row < skin.Doc().Items.size() && !skin.Hidden(row))
            AddMove(skin, *steps, row, dx, dy);
    skin.Edits().Push(std::move(steps));
}

void DistributeCommand(TOpenSkin& skin, bool horizontally) {
    std::vector<TPlaced> placed = SelectedBoxes(skin);
    const qint64 n = qint64(placed.size());
    if (n < 3) return;
    const auto start = [horizontally](const TPlaced& p) {
        return horizontally ? p.Box.Left : p.Box.Top;
    };
    const auto size = [horizontally](const TPlaced& p) {
        return horizontally ? p.Box.Right - p.Box.Left : p.Box.Bottom - p.Box.Top;
    };
    // Stable: items on the same edge keep their list order.
    std::ranges::stable_sort(placed, {}, start);
    const qint64 end = horizontally ? placed.back().Box.Right : placed.back().Box.Bottom;
    qint64 sizes = 0;
    for (const TPlaced& p : placed)
        sizes += size(p);
    const qint64 room = end - start(placed.front()) - sizes;
    const qint64 gap = FloorDiv(room, n - 1);
    const qint64 wider = room - gap * (n - 1); // 0 .. n - 2
    auto steps = std::make_unique<TStepGroup>(
        skin.Doc(), horizontally ? QStringLiteral("Distribute horizontally")
                                 : QStringLiteral("Distribute vertically"));
    qint64 at = start(placed.front());
    for (qint64 i = 0; i < n; ++i) {
        const TPlaced& p = placed[std::size_t(i)];
        // The first and the last stay.
        if (i > 0 && i < n - 1) {
            const qint64 d = at - start(p);
            AddMove(skin, *steps, p.Row, horizontally ? d : 0, horizontally ? 0 : d);
        }
        at += size(p) + gap + (i < wider ? 1 : 0);
    }
    skin.Edits().Push(std::move(steps));
}

void BringToFrontCommand(TOpenSkin& skin) {
    Reorder(skin, true);
}

void SendToBackCommand(TOpenSkin& skin) {
    Reorder(skin, false);
}

void ToggleLockCommand(TOpenSkin& skin) {
    const QList<int>& rows = skin.Selection();
    const bool all = std::ranges::all_of(rows, [&skin](int row) { return skin.Locked(row); });
    skin.SetLocked(rows, !all);
}

void ToggleHideCommand(TOpenSkin& skin) {
    const QList<int>& rows = skin.Selection();
    const bool all = std::ranges::all_of(rows, [&skin](int row) { return skin.Hidden(row); });
    skin.SetHidden(rows, !all);
}
