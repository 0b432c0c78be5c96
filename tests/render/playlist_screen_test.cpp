#include "playlist_screen.h"
#include "presentation.h"
#include "preview.h"
#include "render_test_util.h"
#include "sample_skin.h"
#include "skin_text.h"

#include <gtest/gtest.h>

namespace {

const QRgb White = qRgb(255, 255, 255), Silver = qRgb(192, 192, 192), Grey = qRgb(128, 128, 128),
           Navy = qRgb(0, 0, 128), BlackPx = qRgb(0, 0, 0), Green = qRgb(0, 200, 0);

TSkinDocument DefaultLook(int w, int h) {
    TSkinDocument doc = MakeDefaultSkin();
    doc.ScreenWidth = w;
    doc.ScreenHeight = h;
    return doc;
}

void ExpectRow(const QImage& img, int y, QRgb color) {
    EXPECT_EQ(CountColor(img, QRect(0, y, img.width(), 1), color), img.width()) << "row " << y;
}

void ExpectDottedRow(const QImage& img, int y) {
    for (int x = 0; x < img.width(); ++x)
        ASSERT_EQ(img.pixel(x, y), x % 6 < 3 ? Grey : White) << x << "," << y;
}

// Leftmost and rightmost column in the rows that holds a pixel of neither
// background colour.
std::pair<int, int> InkColumns(const QImage& img, int top, int bottom, QRgb a, QRgb b) {
    int left = img.width(), right = -1;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != a && img.pixel(x, y) != b) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

} // namespace

TEST(PlaylistScreen, DefaultLookOnAQvgaScreen) {
    const QImage img = ComposePlaylistScreen(DefaultLook(240, 320));
    ASSERT_EQ(img.size(), QSize(240, 320));
    // Title bar rows 0-28 (left of the right-aligned title), solid line on 29.
    EXPECT_EQ(CountColor(img, QRect(0, 0, 100, 29), Silver), 100 * 29);
    ExpectRow(img, 29, Grey);
    // Row lines on the last pixel row of every 30-pixel row.
    for (int y : {59, 89, 119, 149, 179, 209})
        ExpectDottedRow(img, y);
    // Folder2's highlight: rows 90-118 (left of its icon), the rest white.
    EXPECT_EQ(CountColor(img, QRect(0, 90, 4, 29), Navy), 4 * 29);
    EXPECT_EQ(CountColor(img, QRect(0, 30, 4, 29), White), 4 * 29);
    EXPECT_EQ(CountColor(img, QRect(200, 120, 40, 29), White), 40 * 29);
    for (int y = 210; y < 320; ++y)
        ExpectRow(img, y, White);
    // The 15 x 15 icons at x = 4, seven rows below each row's top.
    const QImage icon = PlaceholderPicture().convertToFormat(QImage::Format_RGB32);
    for (int top : {30, 60, 90, 120, 150, 180}) {
        EXPECT_EQ(img.copy(4, top + 7, 15, 15), icon) << "row at " << top;
        EXPECT_NE(img.pixel(4, top + 6), qRgb(255, 0, 0));
    }
}

TEST(PlaylistScreen, TextsSitInTheirCells) {
    const TSkinDocument doc = DefaultLook(240, 320);
    const QImage img = ComposePlaylistScreen(doc);
    const QFont title = SkinFont(8, true), rows = SkinFont(8, false);
    const int tw = MeasureText(title, "\\Directory\\").Width;
    const int th = MeasureText(title, "My").CellHeight;
    // Title: right-aligned 10 pixels from the edge, vertically centred.
    const auto [tl, tr] = InkColumns(img, 0, 28, Silver, Silver);
    EXPECT_GE(tl, 230 - tw);
    EXPECT_LE(tl, 230 - tw + 2);
    EXPECT_LT(tr, 230);
    EXPECT_EQ(CountColor(img, QRect(0, 0, 240, (29 - th) / 2), Silver), 240 * ((29 - th) / 2));
    // Rows: every text starts at the folder icon's width + 8 = 23.
    for (int top : {30, 60, 90, 120, 150, 180}) {
        const QRgb background = top == 90 ? Navy : White;
        const QImage band = img.copy(23, top, 217, 29);
        const auto [left, right] = InkColumns(band, 0, 28, background, background);
        EXPECT_LE(left, 2) << "row at " << top;
        EXPECT_GT(right, 20) << "row at " << top;
        EXPECT_EQ(img.pixel(22, top + 14), background);
    }
    // The selected row's text is white (smoothed into the navy).
    int light = 0;
    for (int y = 90; y < 119; ++y)
        for (int x = 23; x < 123; ++x)
            light += qRed(img.pixel(x, y)) > 128;
    EXPECT_GT(light, 20);
}

TEST(PlaylistScreen, TheRowFontStartsRegularWhateverTheTitle) {
    TSkinDocument doc = DefaultLook(240, 320);
    doc.Playlist.TitleBold = false;
    const QImage regularTitle = ComposePlaylistScreen(doc);
    doc.Playlist.TitleBold = true;
    const QImage boldTitle = ComposePlaylistScreen(doc);
    EXPECT_EQ(regularTitle.copy(0, 30, 240, 290), boldTitle.copy(0, 30, 240, 290));
    EXPECT_NE(regularTitle.copy(0, 0, 240, 29), boldTitle.copy(0, 0, 240, 29));
    doc.Playlist.ItemBold = true;
    EXPECT_NE(ComposePlaylistScreen(doc).copy(0, 30, 240, 290), boldTitle.copy(0, 30, 240, 290));
}

TEST(PlaylistScreen, ATallTitleFontIsCoveredByTheLineAndTheList) {
    TSkinDocument doc = DefaultLook(240, 320);
    doc.Playlist.TitleFontSize = 100;
    doc.Playlist.Colors[2] = 0x00FF00; // green title text
    const QImage img = ComposePlaylistScreen(doc);
    EXPECT_GT(CountColor(img, QRect(0, 0, 240, 29), qRgb(0, 255, 0)), 50);
    EXPECT_EQ(CountColor(img, QRect(0, 29, 240, 291), qRgb(0, 255, 0)), 0);
    EXPECT_EQ(CountColor(img, QRect(0, 29, 240, 291), Silver), 0);
}

TEST(PlaylistScreen, OpaqueTextCellsCoverAWideSongIcon) {
    TSkinDocument doc = DefaultLook(240, 320);
    doc.Playlist.SongIcon = Pic(40, 30, Green);
    const QImage img = ComposePlaylistScreen(doc);
    const int th = MeasureText(SkinFont(8, false), "My").CellHeight;
    const int ty = 120 + (30 - th) / 2; // Music3's cell
    EXPECT_EQ(img.pixel(22, ty + 1), Green);
    EXPECT_NE(img.pixel(23, ty + 1), Green);
    EXPECT_EQ(img.pixel(30, ty - 1), Green); // above the cell the icon shows
    EXPECT_EQ(img.pixel(43, 125), Green);
}

TEST(PlaylistScreen, ShortScreensCutTheSixthRow) {
    const QImage img = ComposePlaylistScreen(DefaultLook(240, 200));
    ASSERT_EQ(img.size(), QSize(240, 200));
    ExpectDottedRow(img, 179);
    // Music5 runs from 180 on; its 20 visible rows have no line.
    EXPECT_EQ(CountColor(img, QRect(100, 180, 140, 20), White), 140 * 20);
}

TEST(PlaylistScreen, ThePartOnScreenIsExactlyTheWholeCompositionCut) {
    TSkinDocument doc = MakeRichSkin();
    doc.Playlist.ItemFontSize = 40;
    doc.Playlist.TitleFontSize = 33;
    const QImage whole = ComposePlaylistScreen(doc);
    for (QSize part : {QSize(240, 268), QSize(221, 15), QSize(26, 200), QSize(100, 100)})
        EXPECT_EQ(ComposePlaylistScreen(doc, part),
                  whole.copy(QRect(QPoint(0, 0), part.boundedTo(whole.size()))))
            << part.width() << "x" << part.height();
    for (int z = 0; z < 4; ++z)
        for (QSize area : {QSize(333, 222), QSize(1000, 1100)}) {
            const TPreviewView view{z, area, Grey};
            EXPECT_EQ(RenderPlaylistPreview(doc, view), PresentComposition(whole, view))
                << "zoom " << z << ", area " << area.width() << "x" << area.height();
        }
    // Panned, the dotted lines keep their phase and the texts their places.
    for (int z = 1; z < 4; ++z) {
        const TPreviewView view{z, QSize(101, 77), Grey, QPoint(61, 95)};
        EXPECT_EQ(RenderPlaylistPreview(doc, view), PresentComposition(whole, view)) << z;
    }
    const TPreviewView atOneToOne{0, QSize(101, 77), Grey, QPoint(61, 95)};
    EXPECT_EQ(RenderPlaylistPreview(doc, atOneToOne), PresentComposition(whole, atOneToOne));
}

TEST(PlaylistScreen, OddSettingsDrawWithoutFault) {
    TSkinDocument doc = DefaultLook(240, 320);
    doc.Playlist.TitleHeight = -20;
    doc.Playlist.ItemHeight = 0;
    doc.Playlist.TitleFontSize = 1; // 0 points: no text
    doc.Playlist.ItemFontSize = -40;
    doc.Playlist.FolderIcon = TPicture{};
    const QImage img = ComposePlaylistScreen(doc);
    // Everything is the list background; the six zero-height rows' lines
    // all fall on row -21, off screen.
    EXPECT_EQ(CountColor(img, img.rect(), White), 240 * 320);
    EXPECT_TRUE(ComposePlaylistScreen(DefaultLook(-5, 100)).isNull());
}
