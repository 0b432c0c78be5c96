#include "device_look.h"

#include "sample_sets.h"
#include "skin_text.h"

#include <algorithm>

std::array<QString, TextTypeCount> TDeviceState::DefaultSamples() {
    std::array<QString, TextTypeCount> samples;
    for (int t = 0; t < TextTypeCount; ++t)
        samples[std::size_t(t)] = PreviewTextFor(t);
    return samples;
}

const TDeviceState& PlainDeviceState() {
    static const TDeviceState plain;
    return plain;
}

namespace {

bool InSecondState(const TDeviceState& state, int row, int command) {
    return HasTwoStates(command) && state.SecondState.count(row) > 0;
}

} // namespace

const TiButton& ShownButton(const TiButton& button, const TDeviceState& state, int row,
                            TiButton& scratch) {
    if (!state.ChangesRow(row)) return button;
    const bool held = state.Held.count(row) > 0;
    const std::size_t slot = (InSecondState(state, row, button.Command) ? 2 : 0) + (held ? 1 : 0);
    if (slot == 0) return button;
    scratch = button;
    scratch.Pictures[0] = button.Pictures[slot];
    return scratch;
}

const TiWheel& ShownWheel(const TiWheel& wheel, const TDeviceState& state, int row,
                          TiWheel& scratch) {
    if (!state.ChangesRow(row)) return wheel;
    const auto held = state.Held.find(row);
    const bool second = InSecondState(state, row, wheel.CenterCommand);
    if (held == state.Held.end() && !second) return wheel;
    scratch = wheel;
    if (held != state.Held.end())
        scratch.Pictures[0] = wheel.Pictures[held->second == THeldPart::Center ? 2 : 1];
    if (second) scratch.Pictures[3] = wheel.Pictures[4];
    return scratch;
}

qint64 ProgressEnd(const TiTrackbar& trackbar, const TDeviceState& state, int row) {
    if (!state.Progress.empty())
        if (const auto it = state.Progress.find(row); it != state.Progress.end())
            return std::clamp<qint64>(it->second, 0, std::max(trackbar.Width, 0));
    return DefaultProgressEnd(trackbar);
}

qint64 DefaultProgressEnd(const TiTrackbar& trackbar) {
    return trackbar.Width / 3;
}

QString ShownText(const TiText& text, const TDeviceState& state) {
    if (text.TextType < 0 || text.TextType >= TextTypeCount) return text.PreviewText;
    const QString& sample = state.Samples[std::size_t(text.TextType)];
    const QString& own = PlainDeviceState().Samples[std::size_t(text.TextType)];
    if (sample == own) return text.PreviewText;
    return SampleAtSize(text.TextType, sample, PointSizeFor(text.FontSize), text.Bold);
}
