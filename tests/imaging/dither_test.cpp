#include "dither.h"
#include "item_list.h"
#include "sample_skin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// The textbook version, kept deliberately plain: a whole-picture buffer of
// long doubles, nearbyintl, and the four neighbour updates as written.
QImage ReferenceDither(const QImage& input) {
    using Ext = long double;
    QImage img = input.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    std::vector<Ext> buf(std::size_t(w) * h * 3);
    auto at = [&](int x, int y, int c) -> Ext& { return buf[(std::size_t(y) * w + x) * 3 + c]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            at(x, y, 0) = Ext(qRed(p)) / 255;
            at(x, y, 1) = Ext(qGreen(p)) / 255;
            at(x, y, 2) = Ext(qBlue(p)) / 255;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const Ext v = at(x, y, c);
                const Ext q = nearbyintl(v * 31) / 31;
                at(x, y, c) = q;
                const Ext e = v + q * (-1.0L);
                if (x + 1 < w) at(x + 1, y, c) = at(x + 1, y, c) + e * 0.4375L;
                if (x >= 1 && y + 1 < h) at(x - 1, y + 1, c) = at(x - 1, y + 1, c) + e * 0.1875L;
                if (y + 1 < h) at(x, y + 1, c) = at(x, y + 1, c) + e * 0.3125L;
                if (x + 1 < w && y + 1 < h) at(x + 1, y + 1, c) = at(x + 1, y + 1, c) + e * 0.0625L;
            }
    auto level = [](Ext v) { return int(std::clamp<long long>((long long)(v * 255), 0, 255)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(level(at(x, y, 0)), level(at(x, y, 1)), level(at(x, y, 2))));
    return img;
}

QImage Filled(int w, int h, QRgb color) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

QImage Random(int w, int h, std::mt19937& rng) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, rng() | 0xFF000000u);
    return img;
}

QImage Dithered(QImage img) {
    DitherPicture(img);
    return img;
}

} // namespace

TEST(DitherPicture, GreyAlternatesBetweenTheTwoEnclosingLevels) {
    const QImage out = Dithered(Filled(4, 2, qRgb(128, 128, 128)));
    const int expected[2][4] = {{131, 123, 131, 123}, {123, 131, 123, 131}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const int v = expected[y][x];
            EXPECT_EQ(out.pixel(x, y), qRgb(v, v, v)) << x << "," << y;
        }
}

TEST(DitherPicture, ErrorRunsRightAlongASingleRow) {
    const QImage out = Dithered(Filled(6, 1, qRgb(200, 100, 50)));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(out.pixel(x, 0), x == 2 ? qRgb(205, 98, 49) : qRgb(197, 98, 49)) << x;
}

TEST(DitherPicture, PureChannelsAndMagentaStayAsTheyAre) {
    QImage img(7, 3, QImage::Format_RGB32);
    const QRgb pure[] = {qRgb(0, 0, 0),   qRgb(255, 255, 255), qRgb(255, 0, 0),  qRgb(0, 255, 0),
                         qRgb(0, 0, 255), qRgb(255, 0, 255),   qRgb(0, 255, 255)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            img.setPixel(x, y, pure[(x + y) % 7]);
    EXPECT_EQ(Dithered(img), img);
}

TEST(DitherPicture, ExtendedPrecisionDecidesExactTies) {
    // The green of the lower pixel gathers 20/255 + 5/16 x (191/255 - 23/31),
    // exactly 2.5/31: a tie. Extended arithmetic lands just above it (level
    // 3, output 24); double precision lands on or below it and gives 16.
    QImage img(1, 2, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(99, 191, 111));
    img.setPixel(0, 1, qRgb(190, 20, 92));
    const QImage out = Dithered(img);
    EXPECT_EQ(out.pixel(0, 0), qRgb(98, 189, 106));
    EXPECT_EQ(out.pixel(0, 1), qRgb(189, 24, 90));
}

TEST(DitherPicture, SharesAreAddedInTheOrderThePixelsPassThemOn) {
    // Near ties the order of the additions decides. The lower middle pixel
    // takes the 1/16, 5/16 and 3/16 shares of the row above, in that order,
    // and then the 7/16 share from its left. In red, adding the 5/16 share
    // first gives 123; in green and blue, adding the left share first gives
    // 197 and 230.
    QImage img(3, 2, QImage::Format_RGB32);
    const int in[3][6] = {
        {182, 61, 52, 225, 117, 133}, {237, 40, 75, 221, 203, 2}, {91, 26, 185, 206, 226, 46}};
    const int out[3][6] = {
        {180, 57, 57, 222, 115, 131}, {238, 41, 74, 222, 205, 0}, {90, 24, 189, 205, 222, 49}};
    for (int i = 0; i < 6; ++i)
        img.setPixel(i % 3, i / 3, qRgb(in[0][i], in[1][i], in[2][i]));
    const QImage dithered = Dithered(img);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dithered.pixel(i % 3, i / 3), qRgb(out[0][i], out[1][i], out[2][i])) << i;
    EXPECT_EQ(ReferenceDither(img), dithered);
}

TEST(DitherPicture, MatchesTheTextbookVersionBitForBit) {
    std::mt19937 rng(20240601);
    // Exact ties come from few, short error paths: tiny pictures meet many.
    for (int i = 0; i < 4000; ++i) {
        const QImage img = Random(1 + int(rng() % 6), 1 + int(rng() % 3), rng);
        ASSERT_EQ(Dithered(img), ReferenceDither(img)) << "tiny picture " << i;
    }
    for (int i = 0; i < 200; ++i) {
        const int w = 1 + int(rng() % 40), h = 1 + int(rng() % 20);
        QImage img = Random(w, h, rng);
        if (i % 2) { // flat areas with small steps
            const QRgb base = rng();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    img.setPixel(x, y, base + (rng() % 3) * 0x010101u);
        }
        ASSERT_EQ(Dithered(img), ReferenceDither(img)) << "picture " << i << ", " << w << "x" << h;
    }
    // Long rows and many of them, so the row buffers take turns many times.
    const QImage wide = Random(700, 41, rng);
    EXPECT_EQ(Dithered(wide), ReferenceDither(wide));
}

TEST(DitherPicture, OutputLevelsKeepTheirTopFiveBits) {
    std::mt19937 rng(5);
    const QImage out = Dithered(Random(64, 64, rng));
    const std::vector<int> levels = {0,   8,   16,  24,  32,  41,  49,  57,  65,  74,  82,
                                     90,  98,  106, 115, 123, 131, 139, 148, 156, 164, 172,
                                     180, 189, 197, 205, 213, 222, 230, 238, 246, 255};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb p = out.pixel(x, y);
            for (int v : {qRed(p), qGreen(p), qBlue(p)})
                ASSERT_EQ(levels[std::size_t(v / 8)], v) << x << "," << y;
        }
}

TEST(DitherPicture, OtherFormatsBecome32BitOfTheSameSize) {
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(128, 128, 128), qRgb(255, 0, 255)});
    indexed.fill(0);
    indexed.setPixel(2, 1, 1);
    QImage img = indexed;
    DitherPicture(img);
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    EXPECT_EQ(img, ReferenceDither(indexed));
    EXPECT_EQ(img.pixel(2, 1), qRgb(255, 0, 255));
    QImage empty;
    DitherPicture(empty);
    EXPECT_TRUE(empty.isNull());
}

TEST(DitherPicture, SixteenBitPicturesStaySixteenBitWithTheTopBitsOfTheLevels) {
    std::mt19937 rng(16);
    for (const QImage::Format format : {QImage::Format_RGB555, QImage::Format_RGB16}) {
        const bool is555 = format == QImage::Format_RGB555;
        QImage img(256, 257, format);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<quint16*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] = quint16(rng() & (is555 ? 0x7FFF : 0xFFFF));
        }
        const QImage out = Dithered(img);
        ASSERT_EQ(out.format(), format);
        const QImage expected = ReferenceDither(img);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb e = expected.pixel(x, y);
                const int r = qRed(e) >> 3, g = qGreen(e) >> (is555 ? 3 : 2), b = qBlue(e) >> 3;
                const int want = is555 ? r << 10 | g << 5 | b : r << 11 | g << 5 | b;
                ASSERT_EQ(reinterpret_cast<const quint16*>(out.constScanLine(y))[x], want)
                    << x << "," << y << " of " << (is555 ? "5-5-5" : "5-6-5");
            }
    }
}

TEST(DitherPicture, DitheringTwiceIsNotANoOp) {
    // Level 8 is an output level (k = 1), but it stands for 8/255, a little
    // less than 1/31: passing over an area of it again turns some pixels to
    // 0 and leaves the rest at 8.
    const QImage level8 = Filled(40, 40, qRgb(8, 8, 8));
    const QImage again = Dithered(level8);
    int zeros = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const QRgb p = again.pixel(x, y);
            ASSERT_TRUE(p == qRgb(8, 8, 8) || p == qRgb(0, 0, 0)) << x << "," << y;
            zeros += p == qRgb(0, 0, 0);
        }
    EXPECT_GT(zeros, 0);
    EXPECT_LT(zeros, 40 * 40 / 10);
}

TEST(DitherAllPictures, EveryItemSlotInArrayOrderButNotThePlaylistIcons) {
    TSkinDocument doc = MakeRichSkin();
    std::mt19937 rng(3);
    auto randomise = [&](TPicture& p) { p.Image = Random(5, 4, rng); };
    for (auto& r : doc.Images)
        randomise(r.Picture);
    for (auto& r : doc.Buttons)
        for (auto& p : r.Pictures)
            randomise(p);
    for (auto& r : doc.Wheels)
        for (auto& p : r.Pictures)
            randomise(p);
    for (auto& r : doc.Trackbars)
        for (auto& p : r.Pictures)
            randomise(p);
    randomise(doc.Playlist.FolderIcon);
    const TSkinDocument before = doc;
    DitherAllPictures(doc);
    auto check = [](const TPicture& was, const TPicture& now) {
        EXPECT_EQ(now.Image, ReferenceDither(was.Image));
        EXPECT_EQ(now.Transparent, was.Transparent);
    };
    for (std::size_t i = 0; i < doc.Images.size(); ++i)
        check(before.Images[i].Picture, doc.Images[i].Picture);
    for (std::size_t i = 0; i < doc.Buttons.size(); ++i)
        for (int s = 0; s < 4; ++s)
            check(before.Buttons[i].Pictures[s], doc.Buttons[i].Pictures[s]);
    for (std::size_t i = 0; i < doc.Wheels.size(); ++i)
        for (int s = 0; s < 8; ++s)
            check(before.Wheels[i].Pictures[s], doc.Wheels[i].Pictures[s]);
    for (std::size_t i = 0; i < doc.Trackbars.size(); ++i)
        for (int s = 0; s < 2; ++s)
            check(before.Trackbars[i].Pictures[s], doc.Trackbars[i].Pictures[s]);
    EXPECT_EQ(doc.Playlist, before.Playlist);
    EXPECT_EQ(doc.Texts, before.Texts);
}

// A picture shared by several slots is dithered once and stays shared; a
// slot whose picture was edited after the sharing gets its own result.
TEST(DitherAllPictures, SharedPicturesAreDitheredOnceAndStayShared) {
    std::mt19937 rng(5);
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikImage, "a");
    AddItem(doc, ikWheel, "w");
    const QImage shared = Random(6, 5, rng);
    doc.Images[0].Picture.Image = shared;
    for (TPicture& p : doc.Wheels[0].Pictures)
        p.Image = shared;
    doc.Wheels[0].Pictures[3].Image.setPixel(0, 0, qRgb(1, 2, 3)); // detaches
    const TSkinDocument before = doc;
    DitherAllPictures(doc);
    EXPECT_EQ(doc.Images[0].Picture.Image, ReferenceDither(shared));
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(doc.Wheels[0].Pictures[s].Image,
                  ReferenceDither(before.Wheels[0].Pictures[s].Image))
            << s;
        if (s == 3) continue;
        EXPECT_EQ(doc.Wheels[0].Pictures[s].Image.cacheKey(),
                  doc.Images[0].Picture.Image.cacheKey())
            << s;
    }
    EXPECT_EQ(before.Images[0].Picture.Image, shared); // the copy kept its pixels
}
