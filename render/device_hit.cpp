#include "device_hit.h"

#include "marker_box.h"
#include "wheel_geometry.h"

#include <algorithm>

namespace {
bool Inside(const TBox& box, qint64 x, qint64 y) {
    return x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom;
}
} // namespace

int ProgressAt(const TiTrackbar& trackbar, qint64 x) {
    return int(std::clamp<qint64>(x - trackbar.X, 0, std::max(trackbar.Width, 0)));
}

TDeviceHit DevicePartAt(const TSkinDocument& doc, qint64 x, qint64 y,
                        const std::vector<bool>& hidden) {
    for (int i = int(doc.Items.size()) - 1; i >= 0; --i) {
        if (std::size_t(i) < hidden.size() && hidden[std::size_t(i)]) continue;
        const TDocItem& item = doc.Items[i];
        if (const auto* r = RecordOf<TiButton>(doc, item)) {
            if (Inside(MarkerBox(*r), x, y)) return {i, TDevicePart::Button, 0};
        } else if (const auto* r = RecordOf<TiWheel>(doc, item)) {
            if (!Inside(MarkerBox(*r), x, y)) continue;
            const TWheelPlaces at = WheelPlaces(*r);
            const bool centre = Inside(PictureBox(r->Pictures[3], at.IconX, at.IconY), x, y);
            return {i, centre ? TDevicePart::WheelCenter : TDevicePart::WheelRing, 0};
        } else if (const auto* r = RecordOf<TiTrackbar>(doc, item)) {
            if (Inside(MarkerBox(*r), x, y))
                return {i, TDevicePart::TrackbarPosition, ProgressAt(*r, x)};
        }
    }
    return {};
}
