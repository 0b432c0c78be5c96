// The player screen in a device state equals the plain screen of the record
// the state stands for: a held button is one whose picture 0 is its pressed
// picture, a track bar's progress follows the preview's arithmetic, a sample
// text is drawn and cut as PreviewText would be, and the file's colours are
// those a save and a read give.
#include "device_hit.h"
#include "device_look.h"
#include "item_painters.h"
#include "player_screen.h"
#include "preview.h"
#include "raster_ops.h"
#include "render_test_util.h"
#include "skin_file.h"
#include "skin_text.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QRgb Red = qRgb(255, 0, 0), Green = qRgb(0, 255, 0), Blue = qRgb(0, 0, 255),
           Yellow = qRgb(255, 255, 0), White = qRgb(255, 255, 255), Grey = qRgb(90, 90, 90);

// A button whose four pictures differ in colour and size (pressed ones are
// larger, so what is drawn shows which one it is), a wheel likewise, a
// trackbar and a text; with two-state commands.
TSkinDocument StatesSkin() {
    TiImage back;
    back.Picture = Pic(240, 268, Grey, false);
    TiButton button;
    button.X = 10;
    button.Y = 10;
    button.Command = pcPlayPause;
    button.Pictures = {Pic(20, 20, Red), Pic(24, 22, Green), Pic(20, 20, Blue),
                       Pic(26, 18, Yellow)};
    TiWheel wheel;
    wheel.X = 60;
    wheel.Y = 60;
    wheel.BallDist = 30;
    wheel.BallCount = 4;
    wheel.CenterCommand = pcToggleShuffle;
    wheel.Pictures = {Pic(80, 80, Red),   Pic(84, 84, Green),  Pic(86, 82, Blue),
                      Pic(20, 20, White), Pic(25, 15, Yellow), Pic(10, 10, White),
                      Pic(10, 10, White), Pic(6, 6, White)};
    TiTrackbar bar;
    bar.X = 10;
    bar.Y = 200;
    bar.Width = 150;
    bar.Height = 20;
    bar.ShowScroller = true;
    bar.Pictures = {Pic(120, 8, Green), Pic(9, 15, White)};
    return TSkinBuilder(240, 268).Add(back).Add(button).Add(wheel).Add(bar).Doc;
}
constexpr int ButtonRow = 1, WheelRow = 2, BarRow = 3;

TiButton& Button(TSkinDocument& d) {
    return d.Buttons[0];
}
TiWheel& Wheel(TSkinDocument& d) {
    return d.Wheels[0];
}

// The screen in the state equals the plain screen of the equivalent
// document, whole and through the zoomed preview (which composes a part),
// selected or not; and the state does change something.
void ExpectShowsAs(const TSkinDocument& doc, const TDeviceState& state,
                   const TSkinDocument& equivalent, int row) {
    for (int selected : {-1, row}) {
        const QImage shown = ComposePlayerScreen(doc, selected, state);
        EXPECT_EQ(shown, ComposePlayerScreen(equivalent, selected)) << "selected " << selected;
        EXPECT_NE(shown, ComposePlayerScreen(doc, selected)) << "the state changes nothing";
    }
    TPreviewView view;
    view.ZoomIndex = 1;
    view.Area = QSize(300, 250);
    view.Offset = QPoint(40, 60);
    EXPECT_EQ(RenderPlayerPreview(doc, row, view, state),
              RenderPlayerPreview(equivalent, row, view));
}

TSkinDocument With(const std::function<void(TSkinDocument&)>& change) {
    TSkinDocument d = StatesSkin();
    change(d);
    return d;
}

} // namespace

TEST(DeviceState, AButtonShowsThePictureOfItsStateAsPicture0) {
    const TSkinDocument doc = StatesSkin();
    TDeviceState held;
    held.Held[ButtonRow] = THeldPart::Body;
    ExpectShowsAs(doc, held, With([](auto& d) { Button(d).Pictures[0] = Button(d).Pictures[1]; }),
                  ButtonRow);
    TDeviceState second;
    second.SecondState.insert(ButtonRow);
    ExpectShowsAs(doc, second, With([](auto& d) { Button(d).Pictures[0] = Button(d).Pictures[2]; }),
                  ButtonRow);
    TDeviceState both = second;
    both.Held[ButtonRow] = THeldPart::Body;
    ExpectShowsAs(doc, both, With([](auto& d) { Button(d).Pictures[0] = Button(d).Pictures[3]; }),
                  ButtonRow);

    // A command of one state has no second state: held, it shows its pressed picture.
    TSkinDocument oneState = With([](auto& d) { Button(d).Command = pcNextSong; });
    EXPECT_EQ(ComposePlayerScreen(oneState, -1, second), ComposePlayerScreen(oneState, -1));
    TSkinDocument oneStateHeld = oneState;
    Button(oneStateHeld).Pictures[0] = Button(oneStateHeld).Pictures[1];
    EXPECT_EQ(ComposePlayerScreen(oneState, -1, both), ComposePlayerScreen(oneStateHeld, -1));
}

TEST(DeviceState, AWheelShowsItsPressedBodyAndItsSecondIcon) {
    const TSkinDocument doc = StatesSkin();
    TDeviceState ring;
    ring.Held[WheelRow] = THeldPart::Body;
    ExpectShowsAs(doc, ring, With([](auto& d) { Wheel(d).Pictures[0] = Wheel(d).Pictures[1]; }),
                  WheelRow);
    TDeviceState centre;
    centre.Held[WheelRow] = THeldPart::Center;
    ExpectShowsAs(doc, centre, With([](auto& d) { Wheel(d).Pictures[0] = Wheel(d).Pictures[2]; }),
                  WheelRow);
    TDeviceState second = centre;
    second.SecondState.insert(WheelRow);
    ExpectShowsAs(doc, second, With([](auto& d) {
                      Wheel(d).Pictures[0] = Wheel(d).Pictures[2];
                      Wheel(d).Pictures[3] = Wheel(d).Pictures[4];
                  }),
                  WheelRow);
    // The icon sits on the body drawn: centred on the 86 x 82 pressed body.
    const QImage img = ComposePlayerScreen(doc, -1, second);
    EXPECT_EQ(img.pixel(60 + (86 - 25) / 2, 60 + 34), Yellow);
    EXPECT_EQ(img.pixel(60 + (86 - 25) / 2 - 1, 60 + 34), Blue);
}

TEST(DeviceState, ATrackbarsProgressEndsWhereTheStateSays) {
    // Width 150, Height 20: the 120 x 8 progress goes at y 206; the 9 x 15
    // scroller is centred on the progress's end at y 202.
    for (const bool stretch : {false, true})
        for (const int p : {0, 1, 77, 119, 150}) {
            SCOPED_TRACE(testing::Message() << "progress " << p << " stretch " << stretch);
            TSkinDocument doc = StatesSkin();
            doc.Trackbars[0].ProgressStretch = stretch;
            TDeviceState state;
            state.Progress[BarRow] = p;
            QImage expected = ComposePlayerScreen(doc, -1);
            FillBox(expected, {10, 206, 10 + 150 / 3, 214}, Grey); // the plain progress
            FillBox(expected, {10 + 50 - 4, 202, 10 + 50 + 5, 217}, Grey);
            // Unstretched, columns beyond the 120-column picture stay unpainted.
            FillBox(expected, {10, 206, 10 + (stretch ? p : std::min(p, 120)), 214}, Green);
            FillBox(expected, {10 + p - 4, 202, 10 + p + 5, 217}, White);
            EXPECT_EQ(ComposePlayerScreen(doc, -1, state), expected);
        }
    // A progress beyond the bar is held at its ends.
    const TSkinDocument doc = StatesSkin();
    TDeviceState beyond, end;
    beyond.Progress[BarRow] = 400;
    end.Progress[BarRow] = 150;
    EXPECT_EQ(ComposePlayerScreen(doc, -1, beyond), ComposePlayerScreen(doc, -1, end));
    EXPECT_EQ(ProgressEnd(doc.Trackbars[0], PlainDeviceState(), BarRow), 50);
}

TEST(DeviceState, AlikeRowsInDifferentStatesAreEachPainted) {
    // Two equal buttons at one place: the plain repaint draws only the later.
    // Held, either one shows its own picture (the pressed one is larger).
    TSkinDocument doc = StatesSkin();
    doc.Buttons.push_back(doc.Buttons[0]);
    doc.Items.push_back({ikButton, 1, "again"});
    for (int row : {ButtonRow, 4}) {
        TDeviceState held;
        held.Held[row] = THeldPart::Body;
        TSkinDocument equivalent = doc;
        TiButton& b = equivalent.Buttons[row == ButtonRow ? 0 : 1];
        b.Pictures[0] = b.Pictures[1];
        ExpectShowsAs(doc, held, equivalent, row);
    }
    // A later opaque image over the normal picture but not the pressed one.
    TiImage cover;
    cover.X = cover.Y = 10;
    cover.Picture = Pic(21, 21, Blue, false);
    doc.Images.push_back(cover);
    doc.Items.push_back({ikImage, 1, "cover"});
    TDeviceState held;
    held.Held[ButtonRow] = THeldPart::Body;
    TSkinDocument equivalent = doc;
    equivalent.Buttons[0].Pictures[0] = equivalent.Buttons[0].Pictures[1];
    EXPECT_EQ(ComposePlayerScreen(doc, -1, held), ComposePlayerScreen(equivalent, -1));
}

TEST(DeviceState, SamplesReplaceTheTextAndAreCutAsThePreviewCutsIt) {
    TiText title;
    title.X = 30;
    title.Y = 20;
    title.Width = 90;
    title.Height = 30;
    title.HAlign = haCenter;
    title.FontSize = 14;
    title.Color = 0xFFFFFF;
    title.PreviewText = PreviewTextFor(ttSongTitle);
    TiText clock = title;
    clock.Y = 60;
    clock.TextType = ttSystemTime;
    clock.PreviewText = PreviewTextFor(ttSystemTime);
    const TSkinDocument doc = TSkinBuilder(160, 100).Add(title).Add(clock).Doc;
    TDeviceState state;
    const QString longTitle = QStringLiteral("A title far too long for its little box");
    state.Samples[ttSongTitle] = longTitle;

    TSkinDocument equivalent = doc;
    equivalent.Texts[0].PreviewText = longTitle;
    const QImage shown = ComposePlayerScreen(doc, -1, state);
    EXPECT_EQ(shown, ComposePlayerScreen(equivalent, -1));
    EXPECT_NE(shown, ComposePlayerScreen(doc, -1));
    // Centred in a box narrower than the text: drawn from a negative start, cut at the box.
    const int tw = MeasureText(SkinFont(PointSizeFor(14), false), longTitle).Width;
    ASSERT_GT(tw, 90);
    EXPECT_EQ(AlignedStart(haCenter, 90, tw), (90 - tw) / 2);
    int inBox = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 160; ++x) {
            const bool box = x >= 30 && x < 120 && ((y >= 20 && y < 50) || (y >= 60 && y < 90));
            if (!box) {
                ASSERT_EQ(shown.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
            }
            inBox += box && y < 50 && shown.pixel(x, y) != qRgb(0, 0, 0);
        }
    EXPECT_GT(inBox, 50);
    // The editor's own sample leaves PreviewText as it is; the document is untouched.
    TSkinDocument hello = doc;
    hello.Texts[0].PreviewText = QStringLiteral("Hello");
    EXPECT_EQ(ShownText(hello.Texts[0], PlainDeviceState()), QStringLiteral("Hello"));
    EXPECT_EQ(ShownText(doc.Texts[1], state), QStringLiteral("17:43"));
}

TEST(DeviceState, TheFilesColoursAreThoseASaveGivesBack) {
    TSkinDocument doc = StatesSkin();
    QImage& back = doc.Images[0].Picture.Image;
    for (int x = 0; x < 240; ++x)
        back.setPixel(x, 5, qRgb(x, 255 - x, (x * 7) % 256));
    // Near the key: a save turns it into the key, so it is skipped.
    QImage& normal = Button(doc).Pictures[0].Image;
    normal.fill(qRgb(250, 4, 251));
    normal.setPixel(3, 3, qRgb(200, 100, 50));
    TSkinDocument stretched = doc;
    stretched.Trackbars[0].ProgressStretch = true;
    stretched.Trackbars[0].Pictures[0].Image.setPixel(0, 0, qRgb(13, 14, 15));
    TDeviceState state;
    state.FileColours = true;
    for (const TSkinDocument* d : {&doc, &stretched}) {
        const TSkinReadResult saved = DecodeSkin(EncodeSkin(*d));
        ASSERT_TRUE(saved.Document.has_value());
        const QImage shown = ComposePlayerScreen(*d, -1, state);
        EXPECT_EQ(shown, ComposePlayerScreen(*saved.Document, -1));
        EXPECT_NE(shown, ComposePlayerScreen(*d, -1));
    }
    EXPECT_EQ(AsFileKeepsIt(qRgb(200, 100, 50)), qRgb(206, 99, 49));
}

TEST(DeviceHit, APressReachesTheTopmostControlAndItsPart) {
    TSkinDocument doc = StatesSkin();
    TiImage over; // a picture on top takes no press
    over.X = 0;
    over.Y = 0;
    over.Picture = Pic(240, 40, Grey, false);
    doc.Images.push_back(over);
    doc.Items.push_back({ikImage, 1, "over"});
    EXPECT_EQ(DevicePartAt(doc, 10, 10), (TDeviceHit{ButtonRow, TDevicePart::Button, 0}));
    // A hidden control is not there to press.
    std::vector<bool> hidden(std::size_t(doc.Items.size()), false);
    hidden[std::size_t(ButtonRow)] = true;
    EXPECT_EQ(DevicePartAt(doc, 10, 10, hidden), TDeviceHit{});
    EXPECT_EQ(DevicePartAt(doc, 30, 30), TDeviceHit{});
    EXPECT_EQ(DevicePartAt(doc, 5, 5), TDeviceHit{});
    // The icon's 20 x 20 box is centred on the 80 x 80 body: (90, 90) to (110, 110).
    EXPECT_EQ(DevicePartAt(doc, 60, 60).Part, TDevicePart::WheelRing);
    EXPECT_EQ(DevicePartAt(doc, 89, 100).Part, TDevicePart::WheelRing);
    EXPECT_EQ(DevicePartAt(doc, 90, 90), (TDeviceHit{WheelRow, TDevicePart::WheelCenter, 0}));
    EXPECT_EQ(DevicePartAt(doc, 109, 109).Part, TDevicePart::WheelCenter);
    EXPECT_EQ(DevicePartAt(doc, 110, 109).Part, TDevicePart::WheelRing);
    EXPECT_EQ(DevicePartAt(doc, 139, 139).Part, TDevicePart::WheelRing);
    EXPECT_EQ(DevicePartAt(doc, 140, 139), TDeviceHit{});
    EXPECT_EQ(DevicePartAt(doc, 10, 200), (TDeviceHit{BarRow, TDevicePart::TrackbarPosition, 0}));
    EXPECT_EQ(DevicePartAt(doc, 159, 219),
              (TDeviceHit{BarRow, TDevicePart::TrackbarPosition, 149}));
    EXPECT_EQ(DevicePartAt(doc, 160, 210), TDeviceHit{});
    // A drag beyond the bar holds the progress at its ends.
    EXPECT_EQ(ProgressAt(doc.Trackbars[0], -50), 0);
    EXPECT_EQ(ProgressAt(doc.Trackbars[0], 500), 150);
}
