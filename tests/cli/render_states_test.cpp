// skntool render's device-state options and --fit give exactly the pixels
// of the library's composition in the equivalent state.
#include "device_state.h"
#include "preview.h"
#include "sample_sets.h"
#include "screen_thumbnail.h"
#include "skin_fonts.h"
#include "skntool_process.h"

#include <QImage>

namespace {

// Rows of the demo skin: 6 the position bar (Width 200), 9 the wheel
// (centre: play/pause, two states), 10 a button of one state.
constexpr int Bar = 6, Wheel = 9, Button = 10;

class RenderStatesTest : public SkntoolTest {
  protected:
    static void SetUpTestSuite() { RegisterSkinFonts(); }

    void SetUp() override {
        ASSERT_EQ(Run({"pack", LUMORA_DEMO_SKIN, "demo.skn"}).Status, 0);
        Demo = ReadSkin("demo.skn");
        ASSERT_EQ(Demo.Items.size(), 12);
    }

    QImage Png(const QStringList& options) {
        const TToolRun run = Run(QStringList{"render", "demo.skn", "out.png"} + options);
        EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
        return QImage(Path("out.png")).convertToFormat(QImage::Format_RGB32);
    }

    TSkinDocument Demo;
};

TPreviewView View(int zoom, QSize area) {
    TPreviewView v;
    v.ZoomIndex = zoom;
    v.Area = area;
    return v;
}

} // namespace

TEST_F(RenderStatesTest, EachOptionGivesTheLibrarysPixelsInItsState) {
    const TPreviewView view = View(1, {480, 536});
    const QImage plain = RenderPlayerPreview(Demo, -1, view);
    struct TCase {
        QStringList Options;
        TDeviceState State;
    };
    std::vector<TCase> cases(6);
    cases[0] = {{"--pressed", QString::number(Button)}, {}};
    cases[0].State.Held[Button] = THeldPart::Body;
    cases[1] = {{"--pressed", QString::number(Wheel)}, {}};
    cases[1].State.Held[Wheel] = THeldPart::Body;
    cases[2] = {{"--pressed", QString::number(Wheel) + ":center"}, {}};
    cases[2].State.Held[Wheel] = THeldPart::Center;
    cases[3] = {{"--second-state", QString::number(Wheel)}, {}};
    cases[3].State.SecondState.insert(Wheel);
    cases[4] = {{"--progress", QString::number(Bar) + "=200"}, {}};
    cases[4].State.Progress[Bar] = 200;
    cases[5] = {
        {"--sample", "title=A title far longer than the screen is wide", "--sample", "clock=09:41"},
        {}};
    cases[5].State.Samples[ttSongTitle] = "A title far longer than the screen is wide";
    cases[5].State.Samples[ttSystemTime] = "09:41";
    QStringList allOptions{"--zoom", "200"};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Options.join(' ').toStdString());
        const QImage png = Png(QStringList{"--zoom", "200"} + c.Options);
        EXPECT_EQ(png, RenderPlayerPreview(Demo, -1, view, c.State));
        EXPECT_NE(png, plain);
        allOptions += c.Options;
    }
    // All at once: the last --pressed of a row holds.
    TDeviceState all = cases[5].State;
    all.Held = {{Button, THeldPart::Body}, {Wheel, THeldPart::Center}};
    all.SecondState = {Wheel};
    all.Progress = {{Bar, 200}};
    EXPECT_EQ(Png(allOptions), RenderPlayerPreview(Demo, -1, view, all));
}

TEST_F(RenderStatesTest, ASampleSetGivesItsValuesAndEachSampleOverridesItsKey) {
    const TPreviewView view = View(0, {240, 268});
    TDeviceState longest;
    longest.Samples = SampleSetValues(TSampleSet::Longest);
    EXPECT_EQ(Png({"--sample-set", "longest"}), RenderPlayerPreview(Demo, -1, view, longest));
    longest.Samples[ttSystemTime] = "09:41";
    EXPECT_EQ(Png({"--sample", "clock=09:41", "--sample-set", "longest"}),
              RenderPlayerPreview(Demo, -1, view, longest));
    EXPECT_EQ(Png({"--sample-set", "typical"}), RenderPlayerPreview(Demo, -1, view));
}

TEST_F(RenderStatesTest, FitScalesTheScreenDownToTheSizeAndNeverUp) {
    for (const int size : {1, 64, 200, 268, 1024}) {
        SCOPED_TRACE(size);
        const QImage png = Png({"--fit", QString::number(size), "--select", "9"});
        EXPECT_EQ(png, FitPlayerScreen(Demo, 9, size));
        EXPECT_LE(std::max(png.width(), png.height()), size);
        EXPECT_EQ(png.size(), FittedSize(240, 268, size));
    }
    EXPECT_EQ(FittedSize(240, 268, 128), QSize(115, 128));
    EXPECT_EQ(FittedSize(240, 268, 1024), QSize(240, 268));
    EXPECT_EQ(Png({"--fit", "1024"}), RenderPlayerPreview(Demo, -1, View(0, {240, 268})));
    TDeviceState held;
    held.Held[Wheel] = THeldPart::Center;
    EXPECT_EQ(Png({"--fit", "100", "--pressed", "9:center"}), FitPlayerScreen(Demo, -1, 100, held));
}

TEST_F(RenderStatesTest, ValuesThatDoNotFitTheSkinAreUsageErrors) {
    const struct {
        QStringList Args;
        const char* Err;
    } cases[] = {
        {{"--pressed", "3"},
         "skntool: --pressed 3: item 3 is a text; only a button or a wheel can be pressed.\n"},
        {{"--pressed", "10:center"},
         "skntool: --pressed 10:center: item 10 is a button; only a wheel has a centre.\n"},
        {{"--pressed", "12"}, "skntool: --pressed 12: the skin has 12 items.\n"},
        {{"--pressed", "9:centre"},
         "skntool: --pressed must be ROW or ROW:center with ROW from 0 "
         "to 65535, not \"9:centre\".\n"},
        {{"--second-state", "10"},
         "skntool: --second-state 10: Command 1 of item 10 has one "
         "state.\n"},
        {{"--second-state", "6"},
         "skntool: --second-state 6: item 6 is a trackbar; only a "
         "button or a wheel has a second state.\n"},
        {{"--progress", "6=201"},
         "skntool: --progress 6=201: VALUE goes from 0 to the trackbar's Width, 200.\n"},
        {{"--progress", "6=-1"},
         "skntool: --progress must be ROW=VALUE with each from 0 to "
         "65535, not \"6=-1\".\n"},
        {{"--progress", "9=1"},
         "skntool: --progress 9=1: item 9 is a wheel; only a trackbar has a progress.\n"},
        {{"--sample", "Title=x"},
         "skntool: --sample must be KEY=TEXT with KEY one of title, "
         "artist, volume, elapsed, remaining, clock, not \"Title=x\".\n"},
        {{"--sample", "clock=1", "--playlist"},
         "skntool: --pressed, --second-state, --progress, --sample and --sample-set change the "
         "player screen; the playlist screen has none of its items.\n"},
        {{"--sample-set", "Longest"},
         "skntool: --sample-set must be typical or longest, not \"Longest\".\n"},
        {{"--fit", "4097"},
         "skntool: --fit must be a whole number from 1 to 4096, not "
         "\"4097\".\n"},
        {{"--fit", "64", "--area", "10x10"},
         "skntool: --fit sets the picture's size; give it without --zoom and --area.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TToolRun run = Run(QStringList{"render", "demo.skn", "x.png"} + c.Args);
        EXPECT_EQ(run.Status, 2);
        EXPECT_TRUE(run.Err.startsWith(c.Err)) << run.Err.toStdString();
        EXPECT_FALSE(Exists("x.png"));
    }
}
