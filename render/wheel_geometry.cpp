#include "wheel_geometry.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

// The ball positions depend on the 64-bit mantissa of the x87 format; a
// build where long double is anything else would draw balls a pixel off.
static_assert(std::numeric_limits<long double>::digits == 64,
              "wheel balls need the 80-bit x87 long double");

namespace {

struct TDirection {
    long double Cos, Sin;
};

TDirection DirectionOf(int i, int count) {
    const long double extendedAngle =
        static_cast<long double>(i) / count * 2 * std::numbers::pi_v<long double>;
    const long double angle = static_cast<double>(extendedAngle);
    return {std::cos(angle), std::sin(angle)};
}

// The directions depend on the count alone, which a skin file keeps in 8
// bits; worked out once per count, since extended-precision sine and cosine
// are slow and a skin may hold 65,535 wheels of 255 balls each.
constexpr int MostTabledCount = 255;

const TDirection& TabledDirection(int i, int count) {
    thread_local std::array<std::vector<TDirection>, MostTabledCount + 1> tables;
    std::vector<TDirection>& table = tables[std::size_t(count)];
    if (table.empty())
        for (int k = 0; k < count; ++k)
            table.push_back(DirectionOf(k, count));
    return table[std::size_t(i)];
}

} // namespace

TBallOffset WheelBallOffset(int i, int count, int dist) {
    const TDirection direction = count > 0 && count <= MostTabledCount && i >= 0 && i < count
                                     ? TabledDirection(i, count)
                                     : DirectionOf(i, count);
    const long double d = dist;
    return {static_cast<qint64>(direction.Cos * d), static_cast<qint64>(direction.Sin * d)};
}

const std::vector<TBallOffset>& WheelBallOffsets(int count, int dist) {
    // Wheels of a skin mostly share their count and distance.
    thread_local int lastCount = -1, lastDist = 0;
    thread_local std::vector<TBallOffset> offsets;
    if (count != lastCount || dist != lastDist) {
        offsets.clear();
        for (int i = 0; i < count; ++i)
            offsets.push_back(WheelBallOffset(i, count, dist));
        lastCount = count;
        lastDist = dist;
    }
    return offsets;
}

qint64 HalfRoundedEven(qint64 d) {
    if (d % 2 == 0) return d / 2;
    const qint64 below = (d - 1) / 2; // floor(d / 2): d - 1 is even
    return below % 2 == 0 ? below : below + 1;
}

TWheelPlaces WheelPlaces(const TiWheel& wheel) {
    const TPicture &body = wheel.Pictures[0], &icon = wheel.Pictures[3], &left = wheel.Pictures[5],
                   &right = wheel.Pictures[6];
    const qint64 x = wheel.X, y = wheel.Y;
    const qint64 cx = x + body.Width() / 2, cy = y + body.Height() / 2;
    // Horizontal offsets truncate, vertical ones round half to even.
    return {cx,
            cy,
            x + (body.Width() - icon.Width()) / 2,
            y + HalfRoundedEven(body.Height() - icon.Height()),
            cx - wheel.BallDist - left.Width() / 2,
            y + HalfRoundedEven(body.Height() - left.Height()),
            cx + wheel.BallDist - right.Width() / 2,
            y + HalfRoundedEven(body.Height() - right.Height())};
}
