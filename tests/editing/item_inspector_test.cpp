#include "editing_fixture.h"
#include "item_inspector.h"
#include "item_list.h"
#include "keystrokes.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>

#include <gtest/gtest.h>

namespace {

class Inspector : public ::testing::Test, public TEditingFixture {
  protected:
    QStackedWidget nbInspector;
    QLabel* Empty = new QLabel(QStringLiteral("(no item selected)"));
    std::unique_ptr<TItemInspector> I;

    void SetUp() override {
        nbInspector.addWidget(Empty);
        I = std::make_unique<TItemInspector>(Context, &nbInspector, [this] { return Selected; });
    }
    int Add(int kind) { return AddItem(Doc, kind, "x"); }
    void Select(int row) {
        Selected = row;
        I->ShowCurrentItem();
    }
    QStringList Entries(QComboBox* box) {
        QStringList entries;
        for (int i = 0; i < box->count(); ++i)
            entries << box->itemText(i);
        return entries;
    }
};

const QStringList Commands = {
    "Volume up",         "Volume down",    "Enter settings", "Enter playlist browser",
    "Previous song",     "Next song",      "Play/pause",     "Close player",
    "Blank screen",      "Toggle shuffle", "Toggle repeat",  "Go to current song",
    "Enter sleep dialog"};

} // namespace

TEST_F(Inspector, PagesHoldTheirControlsInOrderWithTheirEntriesAndRanges) {
    ASSERT_EQ(nbInspector.count(), 6);
    const char* names[] = {"SImage", "Text", "Button", "Wheel", "Trackbar"};
    for (int page = 0; page < 5; ++page)
        EXPECT_EQ(nbInspector.widget(page)->objectName(), names[page]);
    EXPECT_EQ(nbInspector.widget(5), Empty);
    EXPECT_TRUE(qobject_cast<QScrollArea*>(nbInspector.widget(2)));
    EXPECT_TRUE(qobject_cast<QScrollArea*>(nbInspector.widget(3)));
    EXPECT_FALSE(qobject_cast<QScrollArea*>(nbInspector.widget(4)));

    EXPECT_EQ(Entries(I->ComboBox7), (QStringList{"(none)", "Song changes", "Volume changes",
                                                  "Playback time changes", "System time changes"}));
    EXPECT_EQ(Entries(I->ComboBox2), (QStringList{"Left", "Center", "Right"}));
    EXPECT_EQ(Entries(I->ComboBox3), (QStringList{"Top", "Center", "Bottom"}));
    EXPECT_EQ(Entries(I->ComboBox4),
              (QStringList{"Song title", "Song artist", "Volume", "Elapsed time", "Remaining time",
                           "System time"}));
    for (QComboBox* box : {I->ComboBox5, I->ComboBox8, I->ComboBox9, I->ComboBox10})
        EXPECT_EQ(Entries(box), Commands);
    for (QComboBox* box : {I->ComboBox11, I->ComboBox12})
        EXPECT_EQ(Entries(box), (QStringList{"Change music", "Change volume", "Seek time"}));
    EXPECT_EQ(Entries(I->ComboBox6), (QStringList{"Playback position", "Volume"}));
    EXPECT_EQ(I->CheckBox1->text(), "Bold");
    EXPECT_EQ(I->BitBtn3->text(), "Font color");
    EXPECT_EQ(I->CheckBox4->text(), "Progress stretch");
    EXPECT_EQ(I->CheckBox5->text(), "Show scroller");

    EXPECT_TRUE(I->SpinEdit13->HasRange());
    EXPECT_EQ(I->SpinEdit13->Minimum(), 2);
    EXPECT_EQ(I->SpinEdit13->Maximum(), 10);
    for (TNumberField* f : {I->SpinEdit1, I->SpinEdit3, I->SpinEdit7, I->SpinEdit12, I->SpinEdit14})
        EXPECT_FALSE(f->HasRange());

    // The picture rows carry the numbers of their slots.
    EXPECT_EQ(I->ButtonRows[3].Save->objectName(), "BitBtn60");
    EXPECT_EQ(I->ButtonRows[3].Save->property("Tag").toInt(), 13);
    EXPECT_EQ(I->WheelRows[5].Save->objectName(), "BitBtn33");
    EXPECT_EQ(I->WheelRows[7].View->property("Tag").toInt(), 27);
    EXPECT_EQ(I->TrackbarRows[1].Open->objectName(), "BitBtn50");
    EXPECT_EQ(I->ImageRow.View->property("Tag").toInt(), 2);
}

TEST_F(Inspector, SelectingARowFillsThePageAndWritesNothingBack) {
    Add(ikText);
    Add(ikText);
    Doc.Texts[0].X = 5;
    Doc.Texts[1].X = 70;
    Doc.Texts[1].Bold = true;
    Doc.Texts[1].HAlign = 2;
    const TSkinDocument before = Doc;
    Log.clear();
    Select(0);
    EXPECT_EQ(I->SpinEdit3->Value(), 5);
    Select(1);
    EXPECT_EQ(Doc, before);
    EXPECT_TRUE(Log.isEmpty()) << "filling the page changes nothing";
    EXPECT_FALSE(Context.InspectorLoading);
    EXPECT_EQ(I->SpinEdit3->Value(), 70);
    EXPECT_TRUE(I->CheckBox1->isChecked());
    EXPECT_EQ(I->ComboBox2->currentIndex(), 2);
}

TEST_F(Inspector, EveryPageWritesItsWholePageAsOneChange) {
    Add(ikImage);
    Add(ikText);
    Add(ikButton);
    Add(ikWheel);
    Add(ikTrackbar);

    Select(0);
    Doc.Images[0].Y = 999; // changed behind the page's back: the next change restores it
    Log.clear();
    TypeInto(I->SpinEdit1, "12");
    Choose(I->ComboBox7, 4);
    EXPECT_EQ(Doc.Images[0].X, 12);
    EXPECT_EQ(Doc.Images[0].Y, 0);
    EXPECT_EQ(Doc.Images[0].RepaintWhen, 4);
    EXPECT_EQ(Log.count("Changed Record"), 3); // two keystrokes, one choice

    Select(1);
    Doc.Texts[0].Width = 1;
    TypeInto(I->SpinEdit7, "30");
    Choose(I->ComboBox3, 2);
    I->CheckBox1->click();
    const TiText& t = Doc.Texts[0];
    EXPECT_EQ(t.Width, 200);
    EXPECT_EQ(t.FontSize, 30);
    EXPECT_EQ(t.VAlign, 2);
    EXPECT_TRUE(t.Bold);
    EXPECT_EQ(t.Color, 0xFFFFFFu); // shown by no control, never written

    Select(2);
    TypeInto(I->SpinEdit9, "-4");
    Choose(I->ComboBox5, 10);
    EXPECT_EQ(Doc.Buttons[0].Y, -4);
    EXPECT_EQ(Doc.Buttons[0].Command, 10);

    Select(3);
    TypeInto(I->SpinEdit12, "44");
    Choose(I->ComboBox10, 5);
    Choose(I->ComboBox12, 2);
    const TiWheel& w = Doc.Wheels[0];
    EXPECT_EQ(w.BallDist, 44);
    EXPECT_EQ(w.BallCount, 2);
    EXPECT_EQ(w.RightCommand, 5);
    EXPECT_EQ(w.BottomHalfAction, 2);

    Select(4);
    TypeInto(I->SpinEdit14, "9");
    I->CheckBox4->click();
    Choose(I->ComboBox6, 1);
    const TiTrackbar& k = Doc.Trackbars[0];
    EXPECT_EQ(k.Height, 9);
    EXPECT_EQ(k.Width, 100);
    EXPECT_FALSE(k.ProgressStretch);
    EXPECT_EQ(k.TrackType, 1);
    EXPECT_EQ(Log.last(), "Changed Record");
}

TEST_F(Inspector, TwoStateCommandsEnableTheSecondPicturesWithoutTouchingThem) {
    Add(ikButton);
    Doc.Buttons[0].Command = pcPlayPause;
    QImage mine(3, 3, QImage::Format_RGB32);
    mine.fill(Qt::blue);
    Doc.Buttons[0].Pictures[2].Image = mine;
    Select(0);
    EXPECT_TRUE(I->ButtonRows[2].Open->isEnabled());
    EXPECT_TRUE(I->ButtonRows[3].View->isEnabled());
    EXPECT_TRUE(I->ButtonRows[1].Save->isEnabled());
    Choose(I->ComboBox5, pcVolumeUp);
    EXPECT_FALSE(I->ButtonRows[2].Open->isEnabled());
    EXPECT_FALSE(I->ButtonRows[3].Save->isEnabled());
    EXPECT_TRUE(I->ButtonRows[0].Open->isEnabled());
    Choose(I->ComboBox5, pcToggleShuffle);
    EXPECT_TRUE(I->ButtonRows[2].View->isEnabled());
    EXPECT_EQ(Doc.Buttons[0].Pictures[2].Image, mine);

    // Only the centre command decides the wheel's second icon.
    Add(ikWheel);
    Select(1);
    EXPECT_FALSE(I->WheelRows[4].Open->isEnabled());
    Choose(I->ComboBox8, pcEnterSleepDialog);
    EXPECT_TRUE(I->WheelRows[4].Open->isEnabled());
    Choose(I->ComboBox9, pcVolumeUp);
    Choose(I->ComboBox10, pcPlayPause);
    EXPECT_TRUE(I->WheelRows[4].Save->isEnabled());
    Choose(I->ComboBox8, pcNextSong);
    EXPECT_FALSE(I->WheelRows[4].View->isEnabled());
    Choose(I->ComboBox9, pcPlayPause);
    EXPECT_FALSE(I->WheelRows[4].View->isEnabled());

    Add(ikTrackbar);
    Select(2);
    EXPECT_FALSE(I->TrackbarRows[1].Open->isEnabled());
    Log.clear();
    I->CheckBox5->click();
    EXPECT_TRUE(Doc.Trackbars[0].ShowScroller);
    EXPECT_TRUE(I->TrackbarRows[1].Open->isEnabled());
    EXPECT_EQ(Log, QStringList{"Changed Record"});
    I->CheckBox5->click();
    EXPECT_FALSE(I->TrackbarRows[1].View->isEnabled());
}

TEST_F(Inspector, TextTypesAndSamples) {
    Add(ikText);
    Select(0);
    Choose(I->ComboBox4, ttVolume);
    EXPECT_EQ(Doc.Texts[0].PreviewText, "50%");
    Choose(I->ComboBox4, ttSystemTime);
    EXPECT_EQ(Doc.Texts[0].PreviewText, "17:43");
    EXPECT_EQ(Log.last(), "Changed Record");

    // A type from a file that no entry shows: stored as -1, sample kept.
    Doc.Texts[0].TextType = 9;
    Doc.Texts[0].PreviewText = "kept";
    Select(0);
    EXPECT_EQ(I->ComboBox4->currentIndex(), -1);
    TypeInto(I->SpinEdit3, "3");
    EXPECT_EQ(Doc.Texts[0].TextType, -1);
    EXPECT_EQ(Doc.Texts[0].PreviewText, "kept");
}

TEST_F(Inspector, NumbersAsTypedBoundsAndMinimums) {
    Add(ikImage);
    Select(0);
    Log.clear();
    TypeInto(I->SpinEdit1, "-");
    EXPECT_EQ(Doc.Images[0].X, 0);
    EXPECT_TRUE(Log.isEmpty()) << "a lone minus changes nothing";
    Key(I->SpinEdit1, Qt::Key_7, "7");
    EXPECT_EQ(Doc.Images[0].X, -7);

    Add(ikWheel);
    Doc.Wheels[0].BallCount = 12;
    Select(1);
    EXPECT_EQ(I->SpinEdit13->Value(), 10);
    EXPECT_EQ(Doc.Wheels[0].BallCount, 12);
    TypeInto(I->SpinEdit11, "1");
    EXPECT_EQ(Doc.Wheels[0].BallCount, 10);

    // Typed beyond the range: stored as typed until the field is left.
    TypeInto(I->SpinEdit13, "25");
    EXPECT_EQ(Doc.Wheels[0].BallCount, 25);
    Leave(I->SpinEdit13);
    EXPECT_EQ(Doc.Wheels[0].BallCount, 10);
}

TEST_F(Inspector, FontColorOpensOnTheTextsColour) {
    Add(ikText);
    Doc.Texts[0].Color = 0x123456;
    Select(0);
    Log.clear();
    I->BitBtn3->click(); // cancelled
    EXPECT_TRUE(Log.isEmpty());
    Prompts.Colors = {0x00FF00};
    I->BitBtn3->click();
    EXPECT_EQ(Prompts.ColorQuestions, (std::vector<TColor>{0x123456, 0x123456}));
    EXPECT_EQ(Doc.Texts[0].Color, 0x00FF00u);
    EXPECT_EQ(Log, QStringList{"Changed Record"});
}

TEST_F(Inspector, AnEntryWithoutItsRecordShowsNothingAndWritesNothing) {
    Doc.Items.append(TDocItem{ikText, 3, "broken"});
    Doc.Items.append(TDocItem{7, 0, "unknown kind"});
    Select(0);
    EXPECT_EQ(nbInspector.currentIndex(), 1);
    TypeInto(I->SpinEdit3, "5");
    EXPECT_TRUE(Doc.Texts.empty());
    I->BitBtn3->click();
    EXPECT_TRUE(Prompts.ColorQuestions.empty());
    Select(1);
    EXPECT_EQ(nbInspector.currentIndex(), 5);
}

TEST_F(Inspector, TheMouseWheelChangesOnlyAFocusedControl) {
    Add(ikWheel);
    Select(0);
    auto turn = [](QWidget* w) {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &wheel);
    };
    turn(I->ComboBox8);
    turn(I->SpinEdit12);
    EXPECT_EQ(Doc.Wheels[0].CenterCommand, 0);
    EXPECT_EQ(Doc.Wheels[0].BallDist, 10);
    EXPECT_EQ(Log.count("Changed Record"), 0);
}
