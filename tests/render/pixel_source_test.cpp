// Where a pixel comes from: the topmost entry that paints it and the colour
// the preview shows there, key pixels and hidden entries falling through.
#include "pixel_source.h"
#include "player_screen.h"
#include "render_test_util.h"
#include "skin_fonts.h"
#include "text_painter.h"

#include <gtest/gtest.h>

namespace {

// An opaque image "back", the button "play" over it with one key pixel at
// (121, 64), and nothing at the screen's top-left corner.
TSkinDocument PlaySkin() {
    TiImage back;
    back.X = 100;
    back.Y = 50;
    back.Picture = Pic(60, 30, qRgb(10, 200, 40), false);
    TiButton play;
    play.X = 110;
    play.Y = 60;
    for (TPicture& p : play.Pictures)
        p = Pic(20, 10, qRgb(248, 0, 96));
    play.Pictures[0].Image.setPixel(11, 4, TransparentKey);
    TSkinBuilder b(200, 100);
    b.Add(back).Add(play);
    b.Doc.Items[0].Name = "back";
    b.Doc.Items[1].Name = "play";
    return b.Doc;
}

} // namespace

TEST(PixelSource, TheTopmostPainterIsNamedWithTheColoursTopFiveBits) {
    const TSkinDocument doc = PlaySkin();
    EXPECT_EQ(PixelSourceText(doc, {120, 64}), "x 120, y 64: \"play\" (button), r 31 g 0 b 12");
    EXPECT_EQ(PixelSourceText(doc, {121, 64}), "x 121, y 64: \"back\" (image), r 1 g 25 b 5");
    EXPECT_EQ(PixelSourceText(doc, {120, 64}, PlainDeviceState(), {false, true}),
              "x 120, y 64: \"back\" (image), r 1 g 25 b 5");
    EXPECT_EQ(PixelSourceText(doc, {5, 5}), "x 5, y 5: r 0 g 0 b 0");
    EXPECT_EQ(PixelSourceText(doc, {200, 5}), "");
    EXPECT_EQ(PixelSourceText(doc, {5, -1}), "");
}

// Against an owner map made independently: every entry painted alone onto
// the whole screen on two grounds, the last one to change a pixel owning it;
// and against the colours of the screen composed whole.
TEST(PixelSource, EveryPixelNamesItsTopmostPainterAndTheComposedColour) {
    RegisterSkinFonts();
    TSkinDocument doc = PlaySkin();
    doc.ScreenWidth = 96;
    doc.ScreenHeight = 64;
    doc.Images[0].X = doc.Images[0].Y = 4;
    doc.Buttons[0].X = 50;
    doc.Buttons[0].Y = 30;
    doc.Buttons[0].Pictures[1] = Pic(22, 12, qRgb(0, 0, 255));
    TiText text; // glyphs over the image, the gaps between them falling through
    text.X = 2;
    text.Y = 10;
    text.Width = 90;
    text.Height = 20;
    text.FontSize = 18;
    text.Color = 0xF0F0F0;
    text.TextType = ttSystemTime;
    text.PreviewText = PreviewTextFor(ttSystemTime);
    TiWheel wheel;
    wheel.X = 40;
    wheel.Y = 20;
    wheel.BallCount = 3;
    wheel.BallDist = 14;
    for (TPicture& p : wheel.Pictures)
        p = Pic(6, 6, qRgb(200, 0, 0));
    wheel.Pictures[0] = Pic(30, 30, qRgb(90, 90, 90));
    wheel.Pictures[0].Image.setPixel(15, 15, TransparentKey);
    TiImage hidden;
    hidden.Picture = Pic(96, 64, qRgb(1, 2, 3), false);
    doc.Images.push_back(hidden);
    TSkinBuilder more(0, 0);
    more.Doc = doc;
    more.Add(text).Add(wheel);
    doc = more.Doc;
    doc.Items.push_back({ikImage, 1, "hidden"});
    const std::vector<bool> hide{false, false, false, false, true};
    TDeviceState state;
    state.Held[1] = THeldPart::Body;
    state.Samples[ttSystemTime] = QStringLiteral("23:59");
    state.FileColours = true;

    QImage composed(96, 64, QImage::Format_RGB32);
    PaintPlayerScreen(composed, doc, -1, state, hide);
    std::vector<int> owner(96 * 64, -1);
    TTextPainter texts(state);
    for (int i = 0; i < doc.Items.size(); ++i) {
        if (hide[std::size_t(i)]) continue;
        QImage grounds[2] = {Black(96, 64), Solid(96, 64, qRgb(255, 255, 255))};
        for (QImage& ground : grounds)
            PaintItem(ground, doc, i, false, texts, state);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 96; ++x)
                if (grounds[0].pixel(x, y) != qRgb(0, 0, 0) ||
                    grounds[1].pixel(x, y) != qRgb(255, 255, 255))
                    owner[std::size_t(y * 96 + x)] = i;
    }
    std::vector<int> owned(std::size_t(doc.Items.size()) + 1, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x) {
            const TPixelSource source = PixelSourceAt(doc, {x, y}, state, hide);
            ASSERT_EQ(source, (TPixelSource{owner[std::size_t(y * 96 + x)], composed.pixel(x, y)}))
                << x << ", " << y;
            owned[std::size_t(source.Item + 1)] += 1;
        }
    // Each shown entry owns some pixel, and some pixels belong to none.
    EXPECT_EQ(std::count(owned.begin(), owned.end() - 1, 0), 0);
}
