// The pixels of a raster that writes still to come will cover, kept per row
// as sorted, disjoint column spans: walking a list from its last write back,
// what is already covered there need not be written at all.
#pragma once

#include <vector>

struct TColumnSpan {
    int Begin = 0, End = 0; // End excluded
    bool operator==(const TColumnSpan&) const = default;
};

class TRowCoverage {
  public:
    explicit TRowCoverage(int rows);

    // Appends to visible the parts of spans (sorted, disjoint, on the given
    // row) that are not covered yet, then covers all of spans. Costs the
    // spans and the covered spans they reach, not their pixels.
    void Cover(int row, const std::vector<TColumnSpan>& spans, std::vector<TColumnSpan>& visible);

  private:
    std::vector<std::vector<TColumnSpan>> Rows;
    std::vector<TColumnSpan> Merged;
};
