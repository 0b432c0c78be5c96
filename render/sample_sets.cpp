#include "sample_sets.h"

#include "skin_text.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

// A title or an artist can never be longer than a screen is wide; 200
// capital Ws outrun any screen the device has.
constexpr int LongestNameLength = 200;

} // namespace

const QStringList& SampleSetNames() {
    static const QStringList names{QStringLiteral("Typical"), QStringLiteral("Longest")};
    return names;
}

std::array<QString, TextTypeCount> SampleSetValues(TSampleSet set) {
    if (set == TSampleSet::Typical) {
        std::array<QString, TextTypeCount> samples;
        for (int t = 0; t < TextTypeCount; ++t)
            samples[std::size_t(t)] = PreviewTextFor(t);
        return samples;
    }
    const QString name(LongestNameLength, QLatin1Char('W'));
    return {name,
            name,
            QStringLiteral("100%"),
            QStringLiteral("W:WW:WW"),
            QStringLiteral("W:WW:WW"),
            QStringLiteral("WW:WW")};
}

bool IsTimeType(int textType) {
    return textType == ttElapsedTime || textType == ttRemainingTime || textType == ttSystemTime;
}

QChar WidestDigit(int pointSize, bool bold) {
    // Every repaint asks for each text's digit: a face is costly to set up,
    // so each size is measured once.
    static std::mutex lock;
    static std::map<std::pair<int, bool>, QChar> measured;
    const std::scoped_lock held(lock);
    const auto key = std::make_pair(pointSize, bold);
    if (const auto it = measured.find(key); it != measured.end()) return it->second;
    const QFont font = SkinFont(pointSize, bold);
    QChar widest = QLatin1Char('0');
    int most = -1;
    for (char c = '0'; c <= '9'; ++c)
        if (const int w = MeasureText(font, QString(QLatin1Char(c))).Width; w > most) {
            most = w;
            widest = QLatin1Char(c);
        }
    return measured.emplace(key, widest).first->second;
}

QString SampleAtSize(int textType, const QString& sample, int pointSize, bool bold) {
    if (!IsTimeType(textType) || !sample.contains(QLatin1Char('W'))) return sample;
    QString shown = sample;
    shown.replace(QLatin1Char('W'), WidestDigit(pointSize, bold));
    return shown;
}

QString LongestValue(int textType, int pointSize, bool bold) {
    if (textType < 0 || textType >= TextTypeCount) return QString();
    return SampleAtSize(textType, SampleSetValues(TSampleSet::Longest)[std::size_t(textType)],
                        pointSize, bold);
}
