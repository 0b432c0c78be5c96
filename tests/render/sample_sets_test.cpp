// The "Longest" set: each value is the widest its type can take at a text's
// own size, by the measurement the text painter itself uses, and the player
// screen draws it so in every size at once.
#include "device_look.h"
#include "player_screen.h"
#include "render_test_util.h"
#include "sample_sets.h"
#include "skin_fonts.h"
#include "skin_text.h"

#include <gtest/gtest.h>

namespace {

QString WithDigit(QString pattern, QChar digit) {
    return pattern.replace(QLatin1Char('W'), digit);
}

TiText Text(int type, int x, int y, int fontSize, bool bold) {
    TiText t;
    t.X = x;
    t.Y = y;
    t.Width = 150;
    t.Height = 40;
    t.FontSize = fontSize;
    t.Bold = bold;
    t.Color = 0xFFFFFF;
    t.TextType = type;
    t.PreviewText = PreviewTextFor(type);
    return t;
}

} // namespace

TEST(SampleSets, EachLongestValueIsTheWidestByThePaintersMeasure) {
    RegisterSkinFonts();
    const auto longest = SampleSetValues(TSampleSet::Longest);
    EXPECT_EQ(SampleSetValues(TSampleSet::Typical), TDeviceState::DefaultSamples());
    for (const int points : {6, 8, 10, 18, 43})
        for (const bool bold : {false, true}) {
            SCOPED_TRACE(testing::Message() << points << (bold ? " bold" : ""));
            const QFont font = SkinFont(points, bold);
            EXPECT_EQ(LongestValue(ttSongTitle, points, bold), QString(200, QLatin1Char('W')));
            EXPECT_EQ(LongestValue(ttSongArtist, points, bold), QString(200, QLatin1Char('W')));
            EXPECT_EQ(LongestValue(ttVolume, points, bold), QStringLiteral("100%"));
            for (const int type : {ttElapsedTime, ttRemainingTime, ttSystemTime}) {
                const QString& pattern = longest[std::size_t(type)];
                const QString value = LongestValue(type, points, bold);
                EXPECT_EQ(value, WithDigit(pattern, WidestDigit(points, bold)));
                const int width = MeasureText(font, value).Width;
                for (char d = '0'; d <= '9'; ++d)
                    EXPECT_LE(MeasureText(font, WithDigit(pattern, QLatin1Char(d))).Width, width)
                        << type << " " << d;
            }
        }
    EXPECT_EQ(longest[ttElapsedTime], QStringLiteral("W:WW:WW"));
    EXPECT_EQ(longest[ttSystemTime], QStringLiteral("WW:WW"));
}

TEST(SampleSets, TheLongestSetDrawsEachTimeInItsOwnSizesWidestDigit) {
    RegisterSkinFonts();
    const TSkinDocument doc = TSkinBuilder(320, 200)
                                  .Add(Text(ttSongTitle, 0, 0, 12, false))
                                  .Add(Text(ttSystemTime, 0, 40, 12, false))
                                  .Add(Text(ttSystemTime, 0, 80, 40, true))
                                  .Add(Text(ttRemainingTime, 160, 40, 25, false))
                                  .Doc;
    TDeviceState state;
    state.Samples = SampleSetValues(TSampleSet::Longest);
    TSkinDocument drawn = doc;
    for (TiText& t : drawn.Texts)
        t.PreviewText = LongestValue(t.TextType, PointSizeFor(t.FontSize), t.Bold);
    EXPECT_EQ(ShownText(doc.Texts[2], state), drawn.Texts[2].PreviewText);
    EXPECT_EQ(ComposePlayerScreen(doc, -1, state), ComposePlayerScreen(drawn, -1));
    // A typed "W" stands for a digit in a time alone.
    state.Samples[ttVolume] = QStringLiteral("W");
    EXPECT_EQ(ShownText(Text(ttVolume, 0, 0, 12, false), state), QStringLiteral("W"));
}
