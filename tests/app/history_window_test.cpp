// The history of edits and the item clipboard in the real window: gestures
// that change only X and Y, steps undone and redone through the Edit menu,
// and items copied, pasted, duplicated and cut.
#include "code_page.h"
#include "editor_fixture.h"
#include "item_clipboard.h"
#include "item_inspector.h"
#include "item_list.h"
#include "keystrokes.h"
#include "new_skin.h"
#include "sample_skin.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QToolButton>

namespace {

class HistoryWindow : public EditorTest {
  protected:
    void SetUp() override { ASSERT_TRUE(ShowActive()); }

    // A wheel at (20, 20), 40 x 40, whose BallCount 12 no field can show,
    // and a text at (0, 200) of TextType 9, which no entry shows; opened
    // from a file as a user would, the wheel selected.
    TSkinDocument Load() {
        TSkinDocument doc = MakeDefaultSkin();
        AddItem(doc, ikWheel, "wheel");
        doc.Wheels[0].X = doc.Wheels[0].Y = 20;
        doc.Wheels[0].Pictures[0].Image = Solid(40, 40, 0xFF0000FF);
        doc.Wheels[0].BallCount = 12;
        AddItem(doc, ikText, "title");
        doc.Texts[0].Y = 200;
        doc.Texts[0].TextType = 9;
        doc.Texts[0].PreviewText = QStringLiteral("kept");
        return LoadDoc(doc);
    }
    TSkinDocument LoadDoc(const TSkinDocument& doc) {
        const QString path = PathOf(QStringLiteral("skin%1.skn").arg(++Files));
        EXPECT_EQ(WriteSkinFile(doc, path), QString());
        Open(path);
        return *ReadSkinFile(path).Document;
    }
    QByteArray Saved() {
        Form.SaveSkin();
        return ReadBytes(Form.Doc.FileName);
    }
    void Zoom(int index) {
        Form.ComboBox1->setCurrentIndex(index);
        Q_EMIT Form.ComboBox1->activated(index);
    }
    void SetClipboard(const QString& type, const QByteArray& bytes) {
        auto* mime = new QMimeData;
        mime->setData(type, bytes);
        QApplication::clipboard()->setMimeData(mime);
    }

    int Files = 0;
};

} // namespace

TEST_F(HistoryWindow, ACancelledDragAndANudgeChangeOnlyXAndY) {
    const TSkinDocument loaded = Load();
    ASSERT_EQ(Row(), 0);
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(Area(), QPoint(60, 70));
    EXPECT_EQ(Form.Doc.Wheels[0].X, 50);
    QTest::keyClick(Area(), Qt::Key_Escape);
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(60, 70));
    EXPECT_EQ(Form.Doc, loaded); // BallCount 12 and all
    EXPECT_FALSE(Form.Undo1->isEnabled());

    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(Area(), QPoint(40, 45));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(40, 45));
    TSkinDocument dragged = loaded;
    dragged.Wheels[0].X = 30;
    dragged.Wheels[0].Y = 35;
    EXPECT_EQ(Form.Doc, dragged);
    EXPECT_EQ(Form.Undo1->text(), "Undo Move \"wheel\"");

    // The text: three nudges, one step; TextType 9 and its sample stay.
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(10, 210));
    ASSERT_EQ(Row(), 1);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(Area(), Qt::Key_Right);
    TSkinDocument nudged = dragged;
    nudged.Texts[0].X = 3;
    EXPECT_EQ(Form.Doc, nudged);
    EXPECT_EQ(I().SpinEdit3->Value(), 3);
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc, dragged);
    EXPECT_EQ(I().SpinEdit3->Value(), 0);
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc, loaded);
    EXPECT_EQ(Row(), 0); // the row the step changed
    EXPECT_EQ(I().SpinEdit10->Value(), 20);
}

TEST_F(HistoryWindow, APressThatWandersUnderThreePixelsIsAClick) {
    const TSkinDocument loaded = Load();
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(Area(), QPoint(31, 30));
    QTest::mouseMove(Area(), QPoint(31, 31));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(31, 31));
    EXPECT_EQ(Form.Doc, loaded);
    EXPECT_FALSE(Form.Undo1->isEnabled());
    // Past the distance the whole movement counts.
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(Area(), QPoint(32, 31));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(32, 31));
    EXPECT_EQ(Form.Doc.Wheels[0].X, 22);
    EXPECT_EQ(Form.Doc.Wheels[0].Y, 21);
}

TEST_F(HistoryWindow, SpaceAndDragPanWithTheFocusInTheItemList) {
    const TSkinDocument loaded = Load();
    Zoom(3);
    QListWidget* list = Form.PlayerPanel->lbItems;
    list->setFocus();
    QTest::keyPress(list, Qt::Key_Space);
    // (200, 200) lies on the wheel at 800 %.
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(Area(), QPoint(100, 150));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(100, 150));
    QTest::keyRelease(Area(), Qt::Key_Space);
    EXPECT_EQ(Form.Preview().PreviewView().Offset, QPoint(100, 50));
    EXPECT_EQ(Form.Doc, loaded);
}

TEST_F(HistoryWindow, TypingInOneFieldIsOneStepUntilTheFieldIsLeft) {
    const TSkinDocument loaded = Load();
    TypeInto(I().SpinEdit10, "123");
    EXPECT_EQ(Form.Doc.Wheels[0].X, 123);
    Leave(I().SpinEdit10);
    TypeInto(I().SpinEdit10, "7");
    Choose(I().ComboBox8, 6);
    Choose(I().ComboBox8, 7);
    Form.Undo1->trigger();
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc.Wheels[0].CenterCommand, loaded.Wheels[0].CenterCommand);
    EXPECT_EQ(Form.Doc.Wheels[0].X, 7);
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc.Wheels[0].X, 123);
    EXPECT_EQ(I().SpinEdit10->lineEdit()->text(), "123");
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc, loaded);
    EXPECT_EQ(I().SpinEdit10->lineEdit()->text(), "20");
    EXPECT_FALSE(Form.Undo1->isEnabled());
    Form.Redo1->trigger();
    EXPECT_EQ(Form.Doc.Wheels[0].X, 123);
    EXPECT_EQ(Form.Doc.Wheels[0].BallCount, 10); // the page as it was written
}

TEST_F(HistoryWindow, CtrlZInANumberFieldUndoesItsTypingAndTheDocumentFollows) {
    Load();
    TNumberField* x = I().SpinEdit10;
    x->setFocus();
    TypeInto(x, "45");
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(x->Value(), Form.Doc.Wheels[0].X);
    EXPECT_NE(Form.Doc.Wheels[0].X, 45);
    EXPECT_FALSE(Form.Redo1->isEnabled()); // the field's text was undone, not a step
    // The field's own typing, undone and typed, stays one step.
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc.Wheels[0].X, 20);
    EXPECT_FALSE(Form.Undo1->isEnabled());
}

TEST_F(HistoryWindow, UndoOfThePlaylistLookRefillsItsPage) {
    Load();
    Form.ToolButton6->click();
    const int height = Form.Doc.Playlist.TitleHeight;
    TypeInto(Form.PlaylistPanel->SpinEdit20, "40");
    Leave(Form.PlaylistPanel->SpinEdit20);
    Form.Undo1->trigger();
    EXPECT_EQ(Form.PlaylistPanel->SpinEdit20->Value(), height);
    Form.PlaylistPanel->CheckBox2->click();
    EXPECT_EQ(Form.Doc.Playlist.TitleHeight, height);
    QCoreApplication::processEvents();
    EXPECT_EQ(Preview(), RenderPlaylistPreview(Form.Doc, Form.Preview().PreviewView()));
}

TEST_F(HistoryWindow, ADragADeleteAndADitherUndoneAndRedoneByteForByte) {
    Load();
    const QByteArray original = Saved();
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(Area(), QPoint(50, 50));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(50, 50));
    Form.PlayerPanel->SelectRow(1);
    Form.PlayerPanel->lbItemsClick();
    Form.ToolButton18Click();
    Prompts.YesNo = {true};
    Form.ToolButton20Click();
    EXPECT_EQ(Form.Undo1->text(), "Undo Dither pictures");
    const QByteArray edited = Saved();
    QTest::keyClick(&Form, Qt::Key_Z, Qt::ControlModifier);
    // The Delete undone: the list and the page reload, the preview is
    // painted once.
    const int shown = Form.imArea->RastersShown();
    QTest::keyClick(&Form, Qt::Key_Z, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(Form.imArea->RastersShown(), shown + 1);
    EXPECT_EQ(Row(), 1);
    QTest::keyClick(&Form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form.Redo1->text(), "Redo Move \"wheel\"");
    EXPECT_EQ(Saved(), original);
    QTest::keyClick(&Form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&Form, Qt::Key_Y, Qt::ControlModifier);
    Form.Redo1->trigger();
    EXPECT_EQ(Saved(), edited);
    QCoreApplication::processEvents();
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, Row(), Form.Preview().PreviewView()));
}

TEST_F(HistoryWindow, CopyNewPasteGivesTheSameItemPicturesAndAll) {
    const TSkinDocument rich = LoadDoc(MakeRichSkin());
    const int row = 3; // a wheel
    Form.PlayerPanel->SelectRow(row);
    Form.PlayerPanel->lbItemsClick();
    Form.Copy1->trigger();
    // As text, the info JSON of that item alone.
    const QJsonObject text =
        QJsonDocument::fromJson(QApplication::clipboard()->text().toUtf8()).object();
    ASSERT_EQ(text["Items"].toArray().size(), 1);
    EXPECT_EQ(text["Items"][0]["Name"].toString(), DecodeName(rich.Items[row].Name));
    ASSERT_EQ(text["Wheels"].toArray().size(), 1);
    EXPECT_EQ(text["Wheels"][0]["X"].toInt(), rich.Wheels[std::size_t(rich.Items[row].Index)].X);
    Prompts.NewSkinSizes.push_back(QSize(240, 268));
    Form.NewSkinCommand();
    ASSERT_TRUE(Form.Paste1->isEnabled());
    Form.Paste1->trigger();
    ASSERT_EQ(Form.Doc.Items.size(), 1);
    EXPECT_EQ(Form.Doc.Items[0].Name, rich.Items[row].Name);
    EXPECT_EQ(Form.Doc.Wheels[0], rich.Wheels[std::size_t(rich.Items[row].Index)]);
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(Form.Undo1->text(), "Undo Paste \"wheel\"");
    // Paste again: at the end, in place.
    Form.Paste1->trigger();
    EXPECT_EQ(Form.Doc.Wheels[1], Form.Doc.Wheels[0]);
    EXPECT_EQ(Row(), 1);
}

TEST_F(HistoryWindow, DuplicateThenDragMovesOnlyTheCopyAndCutIsOneStep) {
    const TSkinDocument loaded = Load();
    Form.Duplicate1->trigger();
    ASSERT_EQ(Form.Doc.Items.size(), 3);
    EXPECT_EQ(Row(), 2);
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(Area(), QPoint(40, 30));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(Form.Doc.Wheels[0].X, 20);
    EXPECT_EQ(Form.Doc.Wheels[1].X, 30);
    Form.Cut1->trigger(); // the copy
    EXPECT_EQ(Form.Doc.Items.size(), 2);
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc.Wheels[1].X, 30);
    Form.Undo1->trigger();
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc, loaded);
}

TEST_F(HistoryWindow, BadClipboardContentsSayWhyAndChangeNothing) {
    const TSkinDocument loaded = Load();
    QApplication::clipboard()->setText(QStringLiteral("plain text"));
    EXPECT_FALSE(Form.Paste1->isEnabled());

    const QByteArray good = OneItemSkin(loaded, 0);
    QByteArray wrongVersion = good;
    wrongVersion[0] = char(0x7F);
    const QByteArray cases[] = {QByteArray("ab"), good.left(good.size() / 2), wrongVersion};
    for (const QByteArray& bytes : cases) {
        SetClipboard(SkinMimeType, bytes);
        ASSERT_TRUE(Form.Paste1->isEnabled());
        Prompts.Errors.clear();
        Form.Paste1->trigger();
        ASSERT_EQ(Prompts.Errors.size(), 1);
        EXPECT_EQ(Prompts.Errors[0], ReadClipboardSkin(bytes).Error);
        EXPECT_FALSE(Prompts.Errors[0].isEmpty());
        EXPECT_EQ(Form.Doc, loaded);
    }
    EXPECT_EQ(ReadClipboardSkin(wrongVersion).Error, VersionMismatchText);
    EXPECT_FALSE(Form.Undo1->isEnabled());
}
