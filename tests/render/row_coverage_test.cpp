// Coverage of later writes: what a span adds is exactly what no earlier
// span of its row covered.
#include "row_coverage.h"

#include <gtest/gtest.h>

namespace {

using TSpans = std::vector<TColumnSpan>;

TSpans Cover(TRowCoverage& c, int row, const TSpans& spans) {
    TSpans visible;
    c.Cover(row, spans, visible);
    return visible;
}

} // namespace

TEST(RowCoverage, OnlyTheUncoveredPartsOfASpanShow) {
    TRowCoverage c(3);
    EXPECT_EQ(Cover(c, 0, {{10, 20}, {30, 40}}), (TSpans{{10, 20}, {30, 40}}));
    // Overlapping both ends of the covered spans, and one pixel beyond.
    EXPECT_EQ(Cover(c, 0, {{5, 12}, {18, 32}, {39, 41}}), (TSpans{{5, 10}, {20, 30}, {40, 41}}));
    // Everything from 5 to 41 is covered now, however it was pieced together.
    EXPECT_EQ(Cover(c, 0, {{0, 50}}), (TSpans{{0, 5}, {41, 50}}));
    EXPECT_EQ(Cover(c, 0, {{0, 50}, {60, 61}}), (TSpans{{60, 61}}));
    // Rows are apart; spans that only touch leave no gap.
    EXPECT_EQ(Cover(c, 1, {{0, 50}}), (TSpans{{0, 50}}));
    EXPECT_EQ(Cover(c, 1, {{51, 53}}), (TSpans{{51, 53}}));
    EXPECT_EQ(Cover(c, 1, {{49, 60}}), (TSpans{{50, 51}, {53, 60}})); // gaps of one pixel
    EXPECT_EQ(Cover(c, 2, {{0, 10}}), (TSpans{{0, 10}}));
    EXPECT_EQ(Cover(c, 2, {{10, 20}}), (TSpans{{10, 20}}));
    EXPECT_EQ(Cover(c, 2, {{3, 4}, {9, 11}, {19, 21}}), (TSpans{{20, 21}}));
    EXPECT_EQ(Cover(c, 2, {}), TSpans{});
}
