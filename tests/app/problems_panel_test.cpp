// The problems list in the window: skntool check's findings in its words
// and order, checked only while shown, leading to the item and field a
// finding names, and following the edits that mend them.
#include "editor_fixture.h"
#include "finding_field.h"
#include "finding_text.h"
#include "item_list.h"
#include "number_field.h"
#include "problems_panel.h"
#include "sample_skin.h"
#include "skin_folder.h"
#include "view_panels.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>
#include <QTest>

namespace {

class ProblemsList : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ShowActive());
        Panel = Form.findChild<TProblemsPanel*>();
        ASSERT_TRUE(Panel);
    }

    void Load(const TSkinDocument& doc) {
        const QString path = PathOf(QStringLiteral("skin.skn"));
        ASSERT_EQ(WriteSkinFile(doc, path), QString());
        Open(path);
    }

    // A one-state button left with the placeholder, a text box of no
    // height, and a playlist title height out of range.
    static TSkinDocument Faulty() {
        TSkinDocument doc = MakeDefaultSkin();
        AddItem(doc, ikButton, "play");
        AddItem(doc, ikText, "title");
        doc.Texts.back().Height = 0;
        doc.Playlist.TitleHeight = 5;
        return doc;
    }

    // The lines as the list view shows them.
    QStringList Lines() const {
        QStringList lines;
        const QAbstractItemModel& model = *Panel->List->model();
        for (int i = 0; i < model.rowCount(); ++i)
            lines << model.index(i, 0).data().toString();
        return lines;
    }

    void SetCurrent(int line) const {
        Panel->List->setFocus();
        Panel->List->setCurrentIndex(Panel->List->model()->index(line, 0));
    }

    // The line saying `what`, or -1.
    int LineWith(const QString& what) const {
        const QStringList lines = Lines();
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(what)) return i;
        return -1;
    }

    void WaitUpToDate() const { QTRY_VERIFY_WITH_TIMEOUT(Panel->UpToDate(), 10000); }

    void Activate(int line) const {
        const QModelIndex index = Panel->List->model()->index(line, 0);
        Panel->List->scrollTo(index);
        const QPoint at = Panel->List->visualRect(index).center();
        // A double-click comes after the press of its first click.
        QTest::mouseClick(Panel->List->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(Panel->List->viewport(), Qt::LeftButton, {}, at);
    }

    QString Focused() const {
        return Form.focusWidget() ? Form.focusWidget()->objectName() : QString();
    }

    TProblemsPanel* Panel = nullptr;
};

TEST_F(ProblemsList, ListsTheCheckInSkntoolsWordsOnlyWhileShown) {
    Load(Faulty());
    QTest::qWait(50);
    EXPECT_TRUE(Panel->isHidden());
    EXPECT_EQ(Lines().size(), 0); // hidden, nothing is checked

    Form.Problems1->trigger();
    EXPECT_TRUE(Panel->isVisible());
    WaitUpToDate();
    QStringList expected;
    for (const TSkinFinding& f : CheckSkin(Form.Doc))
        expected << FindingLine(Form.Doc, f);
    EXPECT_EQ(Lines(), expected);
    ASSERT_EQ(expected.size(), 6);
    EXPECT_EQ(expected[0], "item 0 \"play\": error: Pictures[0] (\"Image (1) normal\") is still "
                           "the placeholder picture");
    EXPECT_EQ(expected[5], "playlist: warning: TitleHeight 5 lies outside the inspector's range "
                           "15 to 100");
    EXPECT_EQ(Panel->Title->text(), "Problems (6)");

    Form.Problems1->trigger();
    EXPECT_TRUE(Panel->isHidden());
}

TEST_F(ProblemsList, TheDemoSkinIsClean) {
    Load(PackSkin(QStringLiteral(LUMORA_DEMO_SKIN)));
    Form.Problems1->setChecked(true); // as a remembered setting restores it
    WaitUpToDate();
    EXPECT_EQ(Lines().size(), 0);
    EXPECT_EQ(Panel->Title->text(), "Problems (0)");
}

TEST_F(ProblemsList, AFindingLeadsToItsFieldAndAnEditThatMendsItRemovesIt) {
    Load(Faulty());
    Form.Problems1->trigger();
    WaitUpToDate();

    const int textBox = LineWith("has no room for text");
    ASSERT_GE(textBox, 0);
    Activate(textBox);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 1);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(ikText));
    ASSERT_EQ(Focused(), "SpinEdit6");
    auto* height = static_cast<TNumberField*>(Form.focusWidget());
    height->lineEdit()->selectAll();
    QTest::keyClicks(height, QStringLiteral("20"));
    EXPECT_EQ(Form.Doc.Texts[0].Height, 20);
    QTRY_COMPARE_WITH_TIMEOUT(LineWith("has no room for text"), -1, 10000);
    WaitUpToDate();
    EXPECT_EQ(Lines().size(), 5);

    // Enter on a line leads there as well; the playlist's own page.
    SetCurrent(0);
    QTest::keyClick(Panel->List, Qt::Key_Return);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 0);
    EXPECT_EQ(Focused(), "BitBtn4");

    SetCurrent(LineWith("TitleHeight"));
    QTest::keyClick(Panel->List, Qt::Key_Return);
    EXPECT_EQ(Form.Notebook1->currentIndex(), PlaylistPage);
    EXPECT_EQ(Focused(), "SpinEdit20");
}

// A copy too large for one slice: every record reaches the check, and an
// edit made while it is under way is in the list that follows.
TEST_F(ProblemsList, AHugeSkinIsCheckedWholeThoughItsCopyIsMadeASliceAtATime) {
    TSkinDocument doc = MakeDefaultSkin();
    for (int i = 0; i < 20000; ++i)
        AddItem(doc, ikTrackbar, QStringLiteral("bar %1").arg(i).toLatin1());
    doc.Trackbars.back().Width = 0; // the last record's finding
    Load(doc);
    Form.Problems1->trigger();
    Prompts.Names.push_back(QStringLiteral("late"));
    Form.ToolButton12Click(); // an image with the placeholder, added meanwhile
    WaitUpToDate();
    QStringList expected;
    for (const TSkinFinding& f : CheckSkin(Form.Doc))
        expected << FindingLine(Form.Doc, f);
    EXPECT_EQ(Lines(), expected);
    EXPECT_GE(LineWith(QStringLiteral("item 19999 \"bar 19999\"")), 0);
    EXPECT_GE(LineWith(QStringLiteral("item 20000 \"late\"")), 0);
}

TEST_F(ProblemsList, EveryFindingOfAManyFaultedSkinLeadsToTheFieldItNames) {
    TSkinDocument doc = MakeRichSkin();
    doc.Images[0].X = 1000;          // off-screen
    doc.Images[1].X = -5;            // partly off-screen
    doc.Texts[0].TextType = 9;       // value
    doc.Texts[1].FontSize = 1;       // text-font-size
    doc.Wheels[0].BallCount = 20;    // range
    doc.Trackbars[0].Width = 0;      // trackbar-box
    doc.Playlist.ItemFontSize = 200; // range, playlist
    AddItem(doc, ikButton, "");      // placeholders, name-empty
    AddItem(doc, ikText, "title");   // name-duplicate, text-width
    doc.Texts.back().Width = 5;
    doc.Texts.back().Height = 2; // text-height
    AddItem(doc, ikText, "empty");
    doc.Texts.back().Height = 0; // text-box
    Load(doc);
    Form.Problems1->trigger();
    WaitUpToDate();
    const std::vector<TSkinFinding> findings = Panel->Findings();
    QStringList codes;
    for (const TSkinFinding& f : findings) {
        const QString field = FindingFieldName(Form.Doc, f);
        SCOPED_TRACE(FindingLine(Form.Doc, f).toStdString());
        EXPECT_FALSE(field.isEmpty());
        Form.ViewPanels().GoTo(f);
        EXPECT_EQ(Focused(), field);
        if (f.Item >= 0) {
            EXPECT_EQ(Form.PlayerPanel->SelectedRow(), f.Item);
        }
        if (!codes.contains(f.Code)) codes << f.Code;
    }
    codes.sort();
    EXPECT_EQ(codes.join(' ').toStdString(),
              "image-magenta name-duplicate name-empty off-screen picture-size placeholder "
              "progress-short range text-box text-font-size text-height text-width "
              "trackbar-box value wheel-button-height");
}

} // namespace
