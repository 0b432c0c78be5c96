// Try mode driven with the pointer and the keyboard as a user would: every
// state shows what the painter gives for the record it stands for, the
// document and its history stay as they were, and leaving brings back the
// plain preview.
#include "editor_fixture.h"
#include "item_list.h"
#include "marker_box.h"
#include "preview.h"
#include "sample_skin.h"
#include "sample_values_panel.h"
#include "wheel_geometry.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QUndoStack>

namespace {

constexpr int PlayPause = 6; // a command with two states

class TryMode : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ShowActive());
        // A two-state button, a two-state wheel, a track bar and a title,
        // each picture its own pattern so that a swap shows.
        TSkinDocument doc = MakeDefaultSkin();
        int seed = 1;
        AddItem(doc, ikButton, "play");
        TiButton& b = doc.Buttons.back();
        b.X = b.Y = 10;
        b.Command = PlayPause;
        for (TPicture& p : b.Pictures)
            p.Image = PatternImage(24, 20, seed++);
        AddItem(doc, ikWheel, "wheel");
        TiWheel& w = doc.Wheels.back();
        w.X = 60;
        w.Y = 10;
        w.CenterCommand = PlayPause;
        for (TPicture& p : w.Pictures)
            p.Image = PatternImage(16, 16, seed++);
        w.Pictures[0].Image = w.Pictures[1].Image = w.Pictures[2].Image = PatternImage(80, 80, 9);
        w.Pictures[1].Image = PatternImage(80, 80, seed++);
        w.Pictures[2].Image = PatternImage(80, 80, seed++);
        AddItem(doc, ikTrackbar, "position");
        TiTrackbar& t = doc.Trackbars.back();
        t.X = 10;
        t.Y = 120;
        t.Width = 150;
        t.Height = 8;
        t.ShowScroller = true;
        t.Pictures[0].Image = PatternImage(150, 8, seed++);
        t.Pictures[1].Image = PatternImage(6, 8, seed++);
        AddItem(doc, ikText, "title");
        doc.Texts.back().X = 10;
        doc.Texts.back().Y = 150;
        doc.Texts.back().Width = 90;
        doc.Texts.back().Height = 20;
        Path = PathOf(QStringLiteral("try.skn"));
        ASSERT_EQ(WriteSkinFile(doc, Path), QString());
        Open(Path);
        Opened = Form.Doc;
        Form.Try1->trigger();
        ASSERT_TRUE(Form.Try1->isChecked());
    }

    // What the painter gives for a document, unmarked, as a saved file keeps its colours.
    QImage Painted(const TSkinDocument& doc, TDeviceState state = {}) const {
        state.FileColours = true;
        return RenderPlayerPreview(doc, -1, View(), state);
    }

    // The area point of a screen pixel at 100 %.
    static QPoint At(qint64 x, qint64 y) { return QPoint(int(x), int(y)); }

    QString Path;
    TSkinDocument Opened;
};

TEST_F(TryMode, AHeldButtonShowsItsPressedPictureAndAClickSwitchesItsState) {
    const TiButton& b = Form.Doc.Buttons[0];
    const QPoint on = At(b.X + 5, b.Y + 5);
    TSkinDocument as = Opened;
    const auto shown = [&](int slot) {
        as.Buttons[0].Pictures[0] = Opened.Buttons[0].Pictures[std::size_t(slot)];
        return Painted(as);
    };

    // The plain look, but unmarked, though the button is the selected item.
    ASSERT_EQ(Form.PlayerPanel->SelectedRow(), 0);
    EXPECT_EQ(Preview(), Painted(Opened));
    QTest::mousePress(Form.imArea, Qt::LeftButton, {}, on);
    EXPECT_EQ(Preview(), shown(1));
    QTest::mouseRelease(Form.imArea, Qt::LeftButton, {}, on);
    EXPECT_EQ(Preview(), shown(2));
    QTest::mousePress(Form.imArea, Qt::LeftButton, {}, on);
    EXPECT_EQ(Preview(), shown(3));
    QTest::mouseRelease(Form.imArea, Qt::LeftButton, {}, on);
    EXPECT_EQ(Preview(), Painted(Opened));

    // A press that slides off before its release is no click.
    QTest::mousePress(Form.imArea, Qt::LeftButton, {}, on);
    QTest::mouseMove(Form.imArea, At(200, 250));
    QTest::mouseRelease(Form.imArea, Qt::LeftButton, {}, At(200, 250));
    EXPECT_EQ(Preview(), Painted(Opened));
}

TEST_F(TryMode, AWheelShowsItsPressedBodiesAndItsCentreSwitchesTheIcon) {
    const TiWheel& w = Form.Doc.Wheels[0];
    const TWheelPlaces places = WheelPlaces(w);
    const QPoint centre = At(places.IconX + 2, places.IconY + 2);
    const QPoint ring = At(w.X + 40, w.Y + 2);
    TSkinDocument as = Opened;
    TiWheel& shown = as.Wheels[0];
    const TiWheel& was = Opened.Wheels[0];

    QTest::mousePress(Form.imArea, Qt::LeftButton, {}, ring);
    shown.Pictures[0] = was.Pictures[1];
    EXPECT_EQ(Preview(), Painted(as));
    QTest::mouseRelease(Form.imArea, Qt::LeftButton, {}, ring);
    EXPECT_EQ(Preview(), Painted(Opened)); // the ring has no second state

    QTest::mousePress(Form.imArea, Qt::LeftButton, {}, centre);
    shown.Pictures[0] = was.Pictures[2];
    EXPECT_EQ(Preview(), Painted(as));
    QTest::mouseRelease(Form.imArea, Qt::LeftButton, {}, centre);
    shown.Pictures[0] = was.Pictures[0];
    shown.Pictures[3] = was.Pictures[4];
    EXPECT_EQ(Preview(), Painted(as));
}

TEST_F(TryMode, PressingAndDraggingAlongATrackBarSetsItsProgress) {
    const TiTrackbar& t = Form.Doc.Trackbars[0];
    const int row = 2;
    TDeviceState at;
    QTest::mousePress(Form.imArea, Qt::LeftButton, {}, At(t.X + 100, t.Y + 3));
    at.Progress[row] = 100;
    EXPECT_EQ(Preview(), Painted(Opened, at));
    QTest::mouseMove(Form.imArea, At(t.X + 20, t.Y + 30)); // off the bar: still dragging
    at.Progress[row] = 20;
    EXPECT_EQ(Preview(), Painted(Opened, at));
    QTest::mouseMove(Form.imArea, At(t.X + 400, t.Y));
    QTest::mouseRelease(Form.imArea, Qt::LeftButton, {}, At(t.X + 400, t.Y));
    at.Progress[row] = 150; // held at Width
    EXPECT_EQ(Preview(), Painted(Opened, at));
    // The painter's own arithmetic for the end: Width's progress is the
    // whole picture, where the plain preview shows a third.
    EXPECT_NE(Preview(), Painted(Opened));
}

TEST_F(TryMode, ASampleTypedShowsAsTheRenderWithThatSample) {
    auto* samples = Form.findChild<TSampleValuesPanel*>();
    ASSERT_TRUE(samples && samples->isVisible());
    QLineEdit* title = samples->Fields[ttSongTitle];
    title->selectAll();
    QTest::keyClicks(title, QStringLiteral("A rather long title that cannot fit"));
    TDeviceState state;
    state.Samples[ttSongTitle] = QStringLiteral("A rather long title that cannot fit");
    EXPECT_EQ(Preview(), Painted(Opened, state));
    EXPECT_EQ(Form.Doc.Texts[0].PreviewText, Opened.Texts[0].PreviewText);
}

TEST_F(TryMode, TheDocumentAndItsHistoryStayAndLeavingBringsBackThePlainPreview) {
    const QByteArray before = ReadBytes(Path);
    const TiButton& b = Form.Doc.Buttons[0];
    const TiTrackbar& t = Form.Doc.Trackbars[0];
    QTest::mouseClick(Form.imArea, Qt::LeftButton, {}, At(b.X + 5, b.Y + 5));
    QTest::mousePress(Form.imArea, Qt::LeftButton, {}, At(t.X + 90, t.Y + 2));
    QTest::mouseMove(Form.imArea, At(t.X + 120, t.Y + 2));
    QTest::mouseRelease(Form.imArea, Qt::LeftButton, {}, At(t.X + 120, t.Y + 2));
    // Nudges and picking rest: the arrows move nothing, a click selects nothing.
    QTest::keyClick(Form.imArea, Qt::Key_Right);
    QTest::keyClick(Form.imArea, Qt::Key_Down, Qt::ShiftModifier);
    QTest::mouseClick(Form.imArea, Qt::LeftButton, {}, At(t.X + 5, t.Y + 2));
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 0);
    EXPECT_TRUE(Form.Doc == Opened);
    EXPECT_EQ(Form.Context.Edits.History().count(), 0);
    Form.SaveSkin();
    EXPECT_EQ(ReadBytes(Path), before);

    Form.Try1->trigger();
    EXPECT_FALSE(Form.findChild<TSampleValuesPanel*>()->isVisible());
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, 0, View()));
    // Picking is back.
    QTest::mouseClick(Form.imArea, Qt::LeftButton, {}, At(t.X + 5, t.Y + 2));
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 2);
    // What was switched and dragged is forgotten on leaving.
    Form.Try1->trigger();
    EXPECT_EQ(Preview(), Painted(Opened));
}

} // namespace
