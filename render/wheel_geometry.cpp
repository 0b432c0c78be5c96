#include "wheel_geometry.h"

#include <cmath>
#include <limits>
#include <numbers>

// The ball positions depend on the 64-bit mantissa of the x87 format; a
// build where long double is anything else would draw balls a pixel off.
static_assert(std::numeric_limits<long double>::digits == 64,
              "wheel balls need the 80-bit x87 long double");

TBallOffset WheelBallOffset(int i, int count, int dist) {
    const long double extendedAngle =
        static_cast<long double>(i) / count * 2 * std::numbers::pi_v<long double>;
    const long double angle = static_cast<double>(extendedAngle);
    const long double d = dist;
    return {static_cast<qint64>(std::cos(angle) * d), static_cast<qint64>(std::sin(angle) * d)};
}

qint64 HalfRoundedEven(qint64 d) {
    if (d % 2 == 0) return d / 2;
    const qint64 below = (d - 1) / 2; // floor(d / 2): d - 1 is even
    return below % 2 == 0 ? below : below + 1;
}
