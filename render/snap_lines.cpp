#include "snap_lines.h"

#include "marker_box.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace {
std::array<qint64, 3> Lines(qint64 first, qint64 last) {
    // The centre rounds down, as an align of centres does.
    const qint64 sum = first + last;
    return {first, sum >= 0 ? sum / 2 : -((-sum + 1) / 2), last};
}

void Add(std::vector<qint64>& lines, qint64 first, qint64 last) {
    for (qint64 line : Lines(first, last))
        lines.push_back(line);
}

void Tidy(std::vector<qint64>& lines) {
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
}

// The correction of the smallest size that brings one of the box's lines
// (moved by delta) onto a snap line, when there is one within tolerance.
qint64 Correction(const std::vector<qint64>& lines, const std::array<qint64, 3>& own, qint64 delta,
                  qint64 tolerance) {
    qint64 best = std::numeric_limits<qint64>::max();
    for (qint64 line : own) {
        const qint64 moved = line + delta;
        const auto at = std::lower_bound(lines.begin(), lines.end(), moved);
        if (at != lines.end() && *at - moved < std::llabs(best)) best = *at - moved;
        if (at != lines.begin() && moved - *(at - 1) < std::llabs(best)) best = *(at - 1) - moved;
    }
    return std::llabs(best) <= tolerance ? best : 0;
}

std::vector<qint64> Held(const std::vector<qint64>& lines, const std::array<qint64, 3>& own,
                         qint64 delta) {
    std::vector<qint64> held;
    for (qint64 line : own)
        if (std::binary_search(lines.begin(), lines.end(), line + delta))
            held.push_back(line + delta);
    return held;
}
} // namespace

TSnapLines SnapLinesOf(const TSkinDocument& doc, const std::vector<bool>& exclude) {
    TSnapLines lines;
    Add(lines.X, 0, doc.ScreenWidth);
    Add(lines.Y, 0, doc.ScreenHeight);
    for (int i = 0; i < doc.Items.size(); ++i) {
        if (std::size_t(i) < exclude.size() && exclude[std::size_t(i)]) continue;
        const std::optional<TBox> box = MarkerBoxOf(doc, doc.Items[i]);
        if (!box) continue;
        Add(lines.X, box->Left, box->Right);
        Add(lines.Y, box->Top, box->Bottom);
    }
    Tidy(lines.X);
    Tidy(lines.Y);
    return lines;
}

TSnapped Snap(const TSnapLines& lines, const TBox& box, qint64 dx, qint64 dy, qint64 tolerance) {
    const std::array<qint64, 3> x = Lines(box.Left, box.Right);
    const std::array<qint64, 3> y = Lines(box.Top, box.Bottom);
    TSnapped snapped;
    snapped.Dx = dx + Correction(lines.X, x, dx, tolerance);
    snapped.Dy = dy + Correction(lines.Y, y, dy, tolerance);
    snapped.HeldX = Held(lines.X, x, snapped.Dx);
    snapped.HeldY = Held(lines.Y, y, snapped.Dy);
    return snapped;
}
