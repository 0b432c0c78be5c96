#include "row_coverage.h"

#include <algorithm>

TRowCoverage::TRowCoverage(int rows) : Rows(std::size_t(std::max(rows, 0))) {}

void TRowCoverage::Cover(int row, const std::vector<TColumnSpan>& spans,
                         std::vector<TColumnSpan>& visible) {
    if (spans.empty()) return;
    std::vector<TColumnSpan>& covered = Rows[std::size_t(row)];
    const int lo = spans.front().Begin, hi = spans.back().End;
    // The covered spans that overlap or touch [lo, hi): [first, last).
    const auto firstIt = std::partition_point(covered.begin(), covered.end(),
                                              [&](const TColumnSpan& s) { return s.End < lo; });
    const auto lastIt = std::partition_point(firstIt, covered.end(),
                                             [&](const TColumnSpan& s) { return s.Begin <= hi; });
    const std::size_t first = std::size_t(firstIt - covered.begin());
    const std::size_t last = std::size_t(lastIt - covered.begin());

    std::size_t k = first;
    for (const TColumnSpan& span : spans) {
        int x = span.Begin;
        while (k < last && covered[k].End <= x)
            ++k;
        for (std::size_t j = k; x < span.End; ++j) {
            if (j == last || covered[j].Begin >= span.End) {
                visible.push_back({x, span.End});
                break;
            }
            if (covered[j].Begin > x) visible.push_back({x, covered[j].Begin});
            x = std::max(x, covered[j].End);
        }
    }

    // Both lists are sorted: merge them, joining spans that overlap or touch.
    Merged.clear();
    auto add = [&](const TColumnSpan& s) {
        if (!Merged.empty() && s.Begin <= Merged.back().End)
            Merged.back().End = std::max(Merged.back().End, s.End);
        else
            Merged.push_back(s);
    };
    std::size_t i = first, n = 0;
    while (i < last || n < spans.size()) {
        if (n == spans.size() || (i < last && covered[i].Begin <= spans[n].Begin))
            add(covered[i++]);
        else
            add(spans[n++]);
    }
    if (Merged.size() == last - first) {
        std::copy(Merged.begin(), Merged.end(), covered.begin() + std::ptrdiff_t(first));
    } else {
        covered.erase(covered.begin() + std::ptrdiff_t(first),
                      covered.begin() + std::ptrdiff_t(last));
        covered.insert(covered.begin() + std::ptrdiff_t(first), Merged.begin(), Merged.end());
    }
}
