// Where a wheel puts its balls and centred pictures. The ball angles are
// computed in x87 extended precision: plain double moves some balls by a
// pixel (the second of 3 balls at distance 20 lands on (-9, 17), not (-10, 17)).
#pragma once

#include "skin_document.h"

#include <QtGlobal>

#include <vector>

struct TBallOffset {
    qint64 Dx = 0, Dy = 0;
    bool operator==(const TBallOffset&) const = default;
};

// Offset of ball i of count from the wheel's centre: the angle (i / count) x
// 2 x pi in extended precision, rounded to double, then trunc(cos x dist)
// and trunc(sin x dist) in extended precision.
TBallOffset WheelBallOffset(int i, int count, int dist);

// The offsets of balls 0 .. count - 1, valid until the next call.
const std::vector<TBallOffset>& WheelBallOffsets(int count, int dist);

// round(d / 2) with ties to even: 7 -> 4, 5 -> 2, -5 -> -2.
qint64 HalfRoundedEven(qint64 d);

// Where a wheel's pictures go, for its painter and for whatever judges what
// it paints: top-left corners, and the centre the balls turn round.
struct TWheelPlaces {
    qint64 Cx = 0, Cy = 0;
    qint64 IconX = 0, IconY = 0, LeftX = 0, LeftY = 0, RightX = 0, RightY = 0;
};
TWheelPlaces WheelPlaces(const TiWheel& wheel);
