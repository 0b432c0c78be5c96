// skntool check's findings: for every check a skin that triggers it and one
// just inside its limit that does not, each judged as read back from a file.
#include "dither.h"
#include "render_test_util.h"
#include "sample_sets.h"
#include "skin_check.h"
#include "skin_file.h"
#include "skin_text.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// One item of each kind, all on the 240 x 268 screen, no placeholder where
// the device looks (the wheel's picture 4 and the bar's scroller are not
// shown and keep theirs), and a clean playlist.
TSkinDocument CleanSkin() {
    TSkinDocument doc = TSkinBuilder(240, 268).Doc;
    const QImage placeholder = PlaceholderPicture();
    TiImage cover;
    cover.X = cover.Y = 10;
    cover.Picture = Pic(20, 20, qRgb(200, 100, 50), false);
    TiText title;
    title.X = 10;
    title.Y = 40;
    title.Width = 200;
    title.Height = 30;
    title.FontSize = 12;
    title.PreviewText = PreviewTextFor(ttSongTitle);
    TiButton play;
    play.X = 10;
    play.Y = 80;
    for (TPicture& p : play.Pictures)
        p = Pic(20, 20, qRgb(0, 200, 0));
    TiWheel wheel;
    wheel.X = 60;
    wheel.Y = 100;
    wheel.BallDist = 28;
    wheel.BallCount = 4;
    wheel.CenterCommand = pcNextSong;
    for (TPicture& p : wheel.Pictures)
        p = Pic(10, 10, qRgb(0, 0, 200));
    wheel.Pictures[0] = wheel.Pictures[1] = Pic(80, 80, qRgb(90, 90, 90));
    wheel.Pictures[4] = {placeholder, true};
    TiTrackbar bar;
    bar.X = 10;
    bar.Y = 200;
    bar.Width = 200;
    bar.Height = 12;
    bar.Pictures[0] = Pic(200, 6, qRgb(255, 140, 0));
    bar.Pictures[1] = {placeholder, true};
    TSkinBuilder b(240, 268);
    b.Add(cover).Add(title).Add(play).Add(wheel).Add(bar);
    const char* names[] = {"cover", "title", "play", "wheel", "bar"};
    for (int i = 0; i < 5; ++i)
        b.Doc.Items[i].Name = names[i];
    b.Doc.Playlist.TitleHeight = b.Doc.Playlist.ItemHeight = 30;
    b.Doc.Playlist.TitleFontSize = b.Doc.Playlist.ItemFontSize = 12;
    b.Doc.Playlist.FolderIcon = Pic(16, 16, qRgb(200, 200, 0));
    b.Doc.Playlist.SongIcon = Pic(16, 16, qRgb(0, 200, 200));
    return b.Doc;
}

// The document as the device and skntool see it: written and read back.
TSkinDocument ReadBack(const TSkinDocument& doc) {
    TSkinReadResult read = DecodeSkin(EncodeSkin(doc));
    EXPECT_TRUE(read.Document.has_value()) << read.Error.toStdString();
    return read.Document.value_or(TSkinDocument{});
}

std::vector<TSkinFinding> Check(const std::function<void(TSkinDocument&)>& change,
                                bool inMemory = false) {
    if (inMemory) {
        TSkinDocument doc = ReadBack(CleanSkin());
        change(doc);
        return CheckSkin(doc);
    }
    TSkinDocument doc = CleanSkin();
    change(doc);
    return CheckSkin(ReadBack(doc));
}

int TextCell(const TiText& t) {
    return MeasureText(SkinFont(PointSizeFor(t.FontSize), t.Bold), t.PreviewText).CellHeight;
}
int TextWidth(const TiText& t) {
    return MeasureText(SkinFont(PointSizeFor(t.FontSize), t.Bold), t.PreviewText).Width;
}

// Turns the clean skin's text into one of the type whose box is delta
// pixels wider than its longest value.
void LongestBox(TSkinDocument& d, int type, int delta) {
    TiText& t = d.Texts[0];
    t.TextType = type;
    t.PreviewText = PreviewTextFor(type);
    const int points = PointSizeFor(t.FontSize);
    t.Width =
        MeasureText(SkinFont(points, t.Bold), LongestValue(type, points, t.Bold)).Width + delta;
}

QImage Placeholder() {
    return PlaceholderPicture();
}
// One pixel of the placeholder a 5-bit level off: no longer the placeholder.
QImage NearPlaceholder() {
    QImage img = PlaceholderPicture().convertToFormat(QImage::Format_RGB32);
    img.setPixel(5, 3, qRgb(247, 255, 255));
    return img;
}

using TChange = std::function<void(TSkinDocument&)>;
struct TCase {
    const char* Code;
    int Item; // -1: the playlist
    TFindingSeverity Severity;
    TChange Triggers, JustInside;
    // Judged as held in memory after the change, not as read back: only the
    // editor's pictures not yet saved can hold what a file cannot.
    bool InMemory = false;
};

const TFindingSeverity E = TFindingSeverity::Error, W = TFindingSeverity::Warning;

// Appends an opaque image item of the given box at the end of the list.
void AddImage(TSkinDocument& d, int x, int y, int w, int h) {
    TiImage image;
    image.X = x;
    image.Y = y;
    image.Picture = Pic(w, h, qRgb(30, 30, 30), false);
    d.Images.push_back(image);
    d.Items.push_back({ikImage, qint32(d.Images.size() - 1), "cover up"});
}

std::vector<TCase> Cases() {
    return {
        // Placeholders, at the file's 5-bit levels, only in slots the device shows.
        {"placeholder", 0, E, [](auto& d) { d.Images[0].Picture.Image = Placeholder(); },
         [](auto& d) { d.Images[0].Picture.Image = NearPlaceholder(); }},
        {"placeholder", 2, E,
         [](auto& d) {
             d.Buttons[0].Command = pcPlayPause;
             d.Buttons[0].Pictures[3].Image = Placeholder();
         },
         [](auto& d) { d.Buttons[0].Pictures[3].Image = Placeholder(); }}, // one state
        {"placeholder", 2, E, [](auto& d) { d.Buttons[0].Pictures[1].Image = Placeholder(); },
         [](auto& d) { d.Buttons[0].Pictures[1].Image = NearPlaceholder(); }},
        {"placeholder", 3, E, [](auto& d) { d.Wheels[0].CenterCommand = pcEnterSleepDialog; },
         [](auto& d) { d.Wheels[0].CenterCommand = pcGoToCurrentSong; }},
        {"placeholder", 3, E, [](auto& d) { d.Wheels[0].Pictures[7].Image = Placeholder(); },
         [](auto& d) { d.Wheels[0].Pictures[7].Image = NearPlaceholder(); }},
        {"placeholder", 4, E, [](auto& d) { d.Trackbars[0].ShowScroller = true; },
         [](auto& d) { d.Trackbars[0].Pictures[1].Image = Placeholder(); }},
        {"placeholder", -1, E, [](auto& d) { d.Playlist.SongIcon.Image = Placeholder(); },
         [](auto& d) { d.Playlist.SongIcon.Image = NearPlaceholder(); }},
        // The marker boxes against the screen.
        {"off-screen", 1, E, [](auto& d) { d.Texts[0].X = 240; },
         [](auto& d) { d.Texts[0].X = 239; }},
        {"off-screen", 2, E, [](auto& d) { d.Buttons[0].Y = 268; },
         [](auto& d) { d.Buttons[0].Y = 267; }},
        {"partly-off-screen", 0, W, [](auto& d) { d.Images[0].X = 221; },
         [](auto& d) { d.Images[0].X = 220; }},
        {"partly-off-screen", 3, W, [](auto& d) { d.Wheels[0].Y = 189; },
         [](auto& d) { d.Wheels[0].Y = 188; }},
        // Under a later opaque image, not an earlier one.
        {"hidden", 1, W, [](auto& d) { AddImage(d, 10, 40, 200, 30); },
         [](auto& d) { AddImage(d, 10, 40, 199, 30); }},
        {"hidden", 2, W, [](auto& d) { AddImage(d, 0, 0, 240, 268); },
         [](auto& d) {
             AddImage(d, 0, 0, 240, 268);
             d.Items.move(d.Items.size() - 1, 0);
         }},
        // Text fit, measured with the preview's font.
        {"text-box", 1, E, [](auto& d) { d.Texts[0].Width = 0; },
         [](auto& d) { d.Texts[0].Width = 1; }},
        {"text-box", 1, E, [](auto& d) { d.Texts[0].Height = 0; },
         [](auto& d) { d.Texts[0].Height = 1; }},
        {"text-font-size", 1, E, [](auto& d) { d.Texts[0].FontSize = 1; },
         [](auto& d) { d.Texts[0].FontSize = 2; }},
        {"text-height", 1, W, [](auto& d) { d.Texts[0].Height = TextCell(d.Texts[0]) - 1; },
         [](auto& d) { d.Texts[0].Height = TextCell(d.Texts[0]); }},
        {"text-width", 1, W, [](auto& d) { d.Texts[0].Width = TextWidth(d.Texts[0]) - 1; },
         [](auto& d) { d.Texts[0].Width = TextWidth(d.Texts[0]); }},
        {"text-longest", 1, W, [](auto& d) { LongestBox(d, ttVolume, -1); },
         [](auto& d) { LongestBox(d, ttVolume, 0); }},
        {"text-longest", 1, W, [](auto& d) { LongestBox(d, ttElapsedTime, -1); },
         [](auto& d) { LongestBox(d, ttElapsedTime, 0); }},
        // The inspector's lists (errors) and ranges (warnings).
        {"value", 0, E, [](auto& d) { d.Images[0].RepaintWhen = 5; },
         [](auto& d) { d.Images[0].RepaintWhen = 4; }},
        {"value", 1, E,
         [](auto& d) {
             d.Texts[0].TextType = 6;
             d.Texts[0].PreviewText.clear();
         },
         [](auto& d) { d.Texts[0].TextType = 5; }},
        {"value", 1, E, [](auto& d) { d.Texts[0].HAlign = 3; },
         [](auto& d) { d.Texts[0].HAlign = 2; }},
        {"value", 1, E, [](auto& d) { d.Texts[0].VAlign = 3; },
         [](auto& d) { d.Texts[0].VAlign = 2; }},
        {"value", 2, E, [](auto& d) { d.Buttons[0].Command = 13; },
         [](auto& d) { d.Buttons[0].Command = 12; }},
        {"value", 3, E, [](auto& d) { d.Wheels[0].LeftCommand = 13; },
         [](auto& d) { d.Wheels[0].LeftCommand = 12; }},
        {"value", 3, E, [](auto& d) { d.Wheels[0].RightCommand = -1; },
         [](auto& d) { d.Wheels[0].RightCommand = 0; }},
        {"value", 3, E, [](auto& d) { d.Wheels[0].CenterCommand = 13; },
         [](auto& d) { d.Wheels[0].CenterCommand = 11; }},
        {"value", 3, E, [](auto& d) { d.Wheels[0].TopHalfAction = 3; },
         [](auto& d) { d.Wheels[0].TopHalfAction = 2; }},
        {"value", 3, E, [](auto& d) { d.Wheels[0].BottomHalfAction = 3; },
         [](auto& d) { d.Wheels[0].BottomHalfAction = 2; }},
        {"value", 4, E, [](auto& d) { d.Trackbars[0].TrackType = 2; },
         [](auto& d) { d.Trackbars[0].TrackType = 1; }},
        {"range", 3, W, [](auto& d) { d.Wheels[0].BallCount = 11; },
         [](auto& d) { d.Wheels[0].BallCount = 10; }},
        {"range", 3, W, [](auto& d) { d.Wheels[0].BallCount = 1; },
         [](auto& d) { d.Wheels[0].BallCount = 2; }},
        {"range", -1, W, [](auto& d) { d.Playlist.TitleHeight = 14; },
         [](auto& d) { d.Playlist.TitleHeight = 15; }},
        {"range", -1, W, [](auto& d) { d.Playlist.ItemHeight = 101; },
         [](auto& d) { d.Playlist.ItemHeight = 100; }},
        {"range", -1, W, [](auto& d) { d.Playlist.TitleFontSize = 7; },
         [](auto& d) { d.Playlist.TitleFontSize = 8; }},
        {"range", -1, W, [](auto& d) { d.Playlist.ItemFontSize = 101; },
         [](auto& d) { d.Playlist.ItemFontSize = 100; }},
        // Names.
        {"name-empty", 4, W, [](auto& d) { d.Items[4].Name.clear(); },
         [](auto& d) { d.Items[4].Name = " "; }},
        {"name-duplicate", 3, W, [](auto& d) { d.Items[3].Name = "play"; },
         [](auto& d) { d.Items[3].Name = "Play"; }},
        // Pictures that do not fit their item.
        {"progress-short", 4, W, [](auto& d) { d.Trackbars[0].Pictures[0] = Pic(199, 6, 1); },
         [](auto& d) {
             d.Trackbars[0].Pictures[0] = Pic(199, 6, 1);
             d.Trackbars[0].ProgressStretch = true;
         }},
        {"progress-short", 4, W, [](auto& d) { d.Trackbars[0].Width = 201; },
         [](auto& d) { d.Trackbars[0].Width = 200; }},
        {"wheel-button-height", 3, W, [](auto& d) { d.Wheels[0].Pictures[6] = Pic(10, 81, 1); },
         [](auto& d) { d.Wheels[0].Pictures[6] = Pic(10, 80, 1); }},
        {"wheel-button-height", 3, W, [](auto& d) { d.Wheels[0].Pictures[5] = Pic(3, 81, 1); },
         [](auto& d) { d.Wheels[0].Pictures[5] = Pic(3, 80, 1); }},
        {"picture-size", 2, W, [](auto& d) { d.Buttons[0].Pictures[1] = Pic(20, 21, 1); },
         [](auto& d) { d.Buttons[0].Pictures[3] = Pic(20, 21, 1); }}, // one state: not shown
        {"picture-size", 2, W,
         [](auto& d) {
             d.Buttons[0].Command = pcToggleShuffle;
             d.Buttons[0].Pictures[2] = Pic(19, 20, 1);
         },
         [](auto& d) { d.Buttons[0].Pictures[2] = Pic(19, 20, 1); }},
        {"picture-size", 3, W, [](auto& d) { d.Wheels[0].Pictures[1] = Pic(81, 80, 1); },
         [](auto& d) { d.Wheels[0].Pictures[1] = Pic(80, 80, 2); }},
        {"trackbar-box", 4, E, [](auto& d) { d.Trackbars[0].Height = 0; },
         [](auto& d) { d.Trackbars[0].Height = 1; }},
        {"empty-picture", 2, W, [](auto& d) { d.Buttons[0].Pictures[1].Image = QImage(); },
         [](auto& d) { d.Buttons[0].Pictures[1] = Pic(1, 1, 1); }},
        {"image-magenta", 0, W,
         [](auto& d) { d.Images[0].Picture.Image.setPixel(3, 4, qRgb(250, 7, 255)); },
         [](auto& d) { d.Images[0].Picture.Image.setPixel(3, 4, qRgb(255, 8, 255)); }},
        // A save moves 204 to 206 (two steps), 205 and 207 one step.
        {"colour-depth", 2, W,
         [](auto& d) { d.Buttons[0].Pictures[1].Image.setPixel(2, 2, qRgb(0, 204, 0)); },
         [](auto& d) {
             d.Buttons[0].Pictures[1].Image.setPixel(2, 2, qRgb(0, 205, 0));
             d.Buttons[0].Pictures[1].Image.setPixel(3, 2, qRgb(207, 0, 0));
         },
         true},
        {"colour-depth", 0, W,
         [](auto& d) { d.Images[0].Picture.Image.setPixel(0, 0, qRgb(1, 2, 3)); },
         [](auto& d) { // slots the device does not show, and the playlist's icons
             d.Buttons[0].Pictures[3].Image.setPixel(2, 2, qRgb(0, 204, 0));
             d.Playlist.SongIcon.Image.setPixel(2, 2, qRgb(0, 204, 0));
         },
         true},
    };
}

bool Has(const std::vector<TSkinFinding>& findings, const TCase& c) {
    for (const TSkinFinding& f : findings)
        if (f.Code == QLatin1String(c.Code) && f.Item == c.Item && f.Severity == c.Severity)
            return true;
    return false;
}

std::string Describe(const std::vector<TSkinFinding>& findings) {
    std::string s;
    for (const TSkinFinding& f : findings)
        s += std::to_string(f.Item) + " " + f.Code.toStdString() + ": " + f.Text.toStdString() +
             "\n";
    return s;
}

} // namespace

TEST(SkinCheck, TheCleanSkinHasNoFindings) {
    EXPECT_EQ(Describe(CheckSkin(ReadBack(CleanSkin()))), "");
}

TEST(SkinCheck, EachCheckFiresAtItsLimitAndNotJustInside) {
    const std::vector<TCase> cases = Cases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const TCase& c = cases[i];
        SCOPED_TRACE(testing::Message() << "case " << i << " " << c.Code);
        const std::vector<TSkinFinding> found = Check(c.Triggers, c.InMemory);
        EXPECT_TRUE(Has(found, c)) << Describe(found);
        // Only the neighbour of an off-screen box may be partly off the screen,
        // and only the wheel's and the button's other changes need a placeholder.
        const std::vector<TSkinFinding> inside = Check(c.JustInside, c.InMemory);
        for (const TSkinFinding& f : inside)
            EXPECT_NE(f.Code, QLatin1String(c.Code)) << Describe(inside);
    }
}

TEST(SkinCheck, EveryCheckHasItsCases) {
    QStringList tested;
    for (const TCase& c : Cases())
        if (!tested.contains(QLatin1String(c.Code))) tested.append(QLatin1String(c.Code));
    QStringList codes = SkinCheckCodes();
    codes.sort();
    tested.sort();
    EXPECT_EQ(codes, tested);
}

TEST(SkinCheck, ThePlaceholderHeldInMemoryCountsAsWell) {
    // The editor's own master has a (255, 1, 1) frame, which the file keeps as (255, 0, 0).
    TSkinDocument doc = ReadBack(CleanSkin());
    doc.Images[0].Picture.Image = PlaceholderPicture();
    const std::vector<TSkinFinding> found = CheckSkin(doc);
    ASSERT_EQ(found.size(), 1u) << Describe(found);
    EXPECT_EQ(found[0].Code, QStringLiteral("placeholder"));
    EXPECT_TRUE(IsPlaceholder(ReadBack(doc).Images[0].Picture));
}

TEST(SkinCheck, ErrorsComeFirstThenListOrderWithThePlaylistLast) {
    const std::vector<TSkinFinding> found = Check([](TSkinDocument& d) {
        d.Items[0].Name.clear();                      // warning, item 0
        d.Playlist.FolderIcon.Image = Placeholder();  // error, playlist
        d.Trackbars[0].TrackType = 7;                 // error, item 4
        d.Texts[0].Width = TextWidth(d.Texts[0]) - 1; // warning, item 1
    });
    ASSERT_EQ(found.size(), 4u) << Describe(found);
    EXPECT_EQ(found[0].Item, 4);
    EXPECT_EQ(found[1].Item, -1);
    EXPECT_EQ(found[1].Severity, TFindingSeverity::Error);
    EXPECT_EQ(found[2].Item, 0);
    EXPECT_EQ(found[3].Item, 1);
    EXPECT_EQ(found[3].Severity, TFindingSeverity::Warning);
}

TEST(SkinCheck, AnItemIsNamedUnderTheFirstLaterImageThatHoldsIt) {
    // The whole screen's image holds the smaller one before it, and
    // everything the smaller one holds; the smaller one is named first.
    const std::vector<TSkinFinding> found = Check([](TSkinDocument& d) {
        AddImage(d, 0, 35, 120, 70); // item 5: holds the button only
        AddImage(d, 0, 0, 240, 268); // item 6: holds everything
    });
    std::vector<std::pair<int, QString>> hidden;
    for (const TSkinFinding& f : found)
        if (f.Code == QStringLiteral("hidden")) hidden.emplace_back(f.Item, f.Text);
    const QString under = QStringLiteral("lies wholly under the opaque image item %1 \"cover up\"");
    EXPECT_EQ(hidden, (std::vector<std::pair<int, QString>>{{0, under.arg(6)},
                                                            {1, under.arg(6)},
                                                            {2, under.arg(5)},
                                                            {3, under.arg(6)},
                                                            {4, under.arg(6)},
                                                            {5, under.arg(6)}}))
        << Describe(found);
}

TEST(SkinCheck, PicturesASaveChangesAreNamedUntilDithered) {
    // The clean skin's colours as held before its first save: 200 becomes
    // 206 in the file; dithering leaves only levels the file keeps.
    TSkinDocument doc = CleanSkin();
    const auto depth = [](const std::vector<TSkinFinding>& found) {
        std::vector<int> items;
        for (const TSkinFinding& f : found)
            if (f.Code == QStringLiteral("colour-depth")) items.push_back(f.Item);
        return items;
    };
    const std::vector<TSkinFinding> before = CheckSkin(doc);
    EXPECT_EQ(depth(before), (std::vector<int>{0, 2, 2, 3, 3, 3, 3, 3})) << Describe(before);
    EXPECT_EQ(before[1].Text,
              QStringLiteral("Pictures[0] (\"Image (1) normal\") has 400 pixels that a save "
                             "changes by more than one step, as the file keeps 5 bits per "
                             "channel; use \"Dither pictures (recommended)\" before saving"));
    DitherAllPictures(doc);
    EXPECT_EQ(Describe(CheckSkin(doc)), "");
}

TEST(SkinCheck, TheLongestValueIsNamedOnlyWhereTheSampleFits) {
    const std::vector<TSkinFinding> found =
        Check([](TSkinDocument& d) { LongestBox(d, ttVolume, -1); });
    const int width = MeasureText(SkinFont(PointSizeFor(12), false), "100%").Width;
    ASSERT_EQ(found.size(), 1u) << Describe(found);
    EXPECT_EQ(found[0].Text, QStringLiteral("the longest value \"100%\" is %1 pixels wide, Width "
                                            "only %2")
                                 .arg(width)
                                 .arg(width - 1));
    // Too narrow for "50%" as well: text-width says it alone.
    const std::vector<TSkinFinding> both = Check([](TSkinDocument& d) {
        LongestBox(d, ttVolume, 0);
        d.Texts[0].Width = TextWidth(d.Texts[0]) - 1;
    });
    ASSERT_EQ(both.size(), 1u) << Describe(both);
    EXPECT_EQ(both[0].Code, QStringLiteral("text-width"));
}
