// Pointer and key gestures on the preview, and the keys of the toolbar's
// commands, sent to the real window as a user's mouse and keyboard would.
#include "editor_fixture.h"
#include "item_inspector.h"
#include "item_list.h"
#include "number_field.h"
#include "presentation.h"
#include "preview.h"
#include "sample_skin.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace {

constexpr QRgb Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF;

class PreviewGestures : public EditorTest {
  protected:
    void SetUp() override { ASSERT_TRUE(ShowActive()); }

    // Saved and opened as a user would, so the first item is selected.
    void Load(const TSkinDocument& doc) {
        const QString path = PathOf(QStringLiteral("skin%1.skn").arg(++Files));
        ASSERT_EQ(WriteSkinFile(doc, path), QString());
        Open(path);
    }

    // Three overlapping images (blue, red, blue) at 100 %: (10, 10) 60 x 60,
    // (30, 30) 60 x 60 and (40, 40) 20 x 20, on a 240 x 268 screen.
    TSkinDocument Overlapping() {
        TSkinDocument doc = MakeDefaultSkin();
        const int boxes[3][3] = {{10, 60, 0}, {30, 60, 1}, {40, 20, 0}};
        for (const auto& b : boxes) {
            AddItem(doc, ikImage, "image");
            doc.Images.back().X = doc.Images.back().Y = b[0];
            doc.Images.back().Picture.Image = Solid(b[1], b[1], b[2] ? Red : Blue);
        }
        return doc;
    }

    // A choice in the zoom selector's list.
    void Zoom(int index) {
        Form.ComboBox1->setCurrentIndex(index);
        Q_EMIT Form.ComboBox1->activated(index);
    }

    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        QTest::mousePress(Area(), button, {}, from);
        QTest::mouseMove(Area(), to);
        QTest::mouseRelease(Area(), button, {}, to);
    }

    void Wheel(QPoint angle, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(100, 100), Area()->mapToGlobal(QPointF(100, 100)), QPoint(),
                          angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Area(), &event);
    }

    QPoint Offset() { return Form.Preview().PreviewView().Offset; }
    // A pointer move with the left button down and the keys given.
    void MoveWith(Qt::KeyboardModifiers keys, QPoint at) {
        QMouseEvent event(QEvent::MouseMove, QPointF(at), Area()->mapToGlobal(QPointF(at)),
                          Qt::NoButton, Qt::LeftButton, keys);
        QApplication::sendEvent(Area(), &event);
    }
    QString Field(TNumberField* f) { return f->lineEdit()->text(); }

    // The preview shows the document as it is, the selected row marked.
    void ExpectPreviewCurrent() {
        QCoreApplication::processEvents();
        EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, Row(), Form.Preview().PreviewView()));
    }

    int Files = 0;
};

TEST_F(PreviewGestures, AClickPicksTheTopmostItemAndAnEmptyPointNothing) {
    Load(Overlapping());
    ASSERT_EQ(Row(), 0);
    // (45, 45) lies in all three; the last in the list is on top.
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(45, 45));
    EXPECT_EQ(Row(), 2);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(ikImage));
    EXPECT_EQ(Field(I().SpinEdit1), "40");
    ExpectPreviewCurrent();
    // (35, 35) only under the first two.
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(35, 35));
    EXPECT_EQ(Row(), 1);
    const int shown = Form.imArea->RastersShown();
    // An empty point of the screen and the grey beyond it change nothing.
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(300, 100));
    EXPECT_EQ(Row(), 1);
    EXPECT_EQ(Form.imArea->RastersShown(), shown);
}

TEST_F(PreviewGestures, ADragMovesByTheWholeMovementOverTheZoomTruncated) {
    Load(Overlapping());
    Zoom(1);
    // Pressing on the unselected last image selects it first; at 200 % its
    // box runs from (80, 80) to (120, 120).
    const QPoint press(85, 100);
    QTest::mousePress(Area(), Qt::LeftButton, {}, press);
    EXPECT_EQ(Row(), 2);
    // Ctrl held: no snapping, the pointer's movement alone.
    MoveWith(Qt::ControlModifier, press + QPoint(3, 3));
    EXPECT_EQ(Field(I().SpinEdit1), "41");
    EXPECT_EQ(Field(I().SpinEdit2), "41");
    // The whole movement counts: 41 / 2 and -17 / 2 truncate to 20 and -8.
    MoveWith(Qt::ControlModifier, press + QPoint(41, -17));
    EXPECT_EQ(Field(I().SpinEdit1), "60");
    EXPECT_EQ(Field(I().SpinEdit2), "32");
    ExpectPreviewCurrent();
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, press + QPoint(41, -17));
    EXPECT_EQ(Form.Doc.Images[2].X, 60);
    EXPECT_EQ(Form.Doc.Images[2].Y, 32);
    EXPECT_EQ(Form.Doc.Images[0].X, 10); // nothing else moved
    ExpectPreviewCurrent();

    Form.SaveSkin();
    TSkinReadResult saved = ReadSkinFile(Form.Doc.FileName);
    ASSERT_TRUE(saved.Document);
    EXPECT_EQ(saved.Document->Images[2].X, 60);
    EXPECT_EQ(saved.Document->Images[2].Y, 32);
}

TEST_F(PreviewGestures, EscapePutsTheDraggedItemBack) {
    Load(Overlapping());
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(15, 15));
    QTest::mouseMove(Area(), QPoint(60, 90));
    EXPECT_EQ(Form.Doc.Images[0].X, 55);
    QTest::keyClick(Area(), Qt::Key_Escape);
    EXPECT_EQ(Form.Doc.Images[0].X, 10);
    EXPECT_EQ(Form.Doc.Images[0].Y, 10);
    EXPECT_EQ(Field(I().SpinEdit1), "10");
    // The rest of the drag moves nothing.
    QTest::mouseMove(Area(), QPoint(100, 100));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(Form.Doc.Images[0].X, 10);
    ExpectPreviewCurrent();
}

TEST_F(PreviewGestures, SeveralItemsMoveTogetherAndADragSnapsToTheOthers) {
    Load(Overlapping()); // images at 10 (60 x 60), 30 (60 x 60) and 40 (20 x 20)
    TOpenSkin& skin = Form.Skin;
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(45, 45));
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::ShiftModifier, QPoint(15, 15));
    EXPECT_EQ(skin.Selection(), QList<int>({2, 0}));
    EXPECT_EQ(Row(), 0);
    // Both marked, the first selected the reference.
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, TScreenMarks{{true, false, true}, 2, {}},
                                             Form.Preview().PreviewView()));
    EXPECT_NE(Preview(), RenderPlayerPreview(Form.Doc, TScreenMarks{{true, false, true}, 0, {}},
                                             Form.Preview().PreviewView()));

    // Dragging one of them moves both, as one step.
    const int steps = Form.Context.Edits.History().count();
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(15, 15));
    MoveWith(Qt::ControlModifier, QPoint(35, 25));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(35, 25));
    EXPECT_EQ(QPoint(Form.Doc.Images[0].X, Form.Doc.Images[0].Y), QPoint(30, 20));
    EXPECT_EQ(QPoint(Form.Doc.Images[2].X, Form.Doc.Images[2].Y), QPoint(60, 50));
    EXPECT_EQ(Form.Doc.Images[1].X, 30);
    EXPECT_EQ(Form.Context.Edits.History().count(), steps + 1);
    EXPECT_EQ(skin.Selection().size(), 2) << "the selection stays";
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc.Images[2].X, 40);
    EXPECT_EQ(Form.Doc.Images[0].X, 10);
    // The arrows move them all too, as one step.
    QTest::keyClick(Area(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Form.Doc.Images[0].X, 20);
    EXPECT_EQ(Form.Doc.Images[2].X, 50);
    EXPECT_EQ(Form.Doc.Images[1].X, 30);
    Form.Undo1->trigger();
    EXPECT_EQ(Form.Doc.Images[2].X, 40);

    // A rectangle from an empty point takes the items wholly inside it but
    // the locked one; a click beside them lets go of them.
    skin.SetLocked({1}, true);
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(200, 200));
    MoveWith(Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(skin.Selection(), QList<int>({0, 2}));
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(85, 85)); // only the locked one
    EXPECT_EQ(Row(), -1);

    // The small image's right edge (60 + 8 = 68) snaps to the big one's (70)
    // and a guide shows where; Ctrl held, it goes where the pointer says.
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(45, 45));
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(45, 45));
    MoveWith(Qt::NoModifier, QPoint(53, 45));
    EXPECT_EQ(Form.Doc.Images[2].X, 50);
    EXPECT_TRUE(Form.imArea->Overlay().Guides.contains(QLine(70, 0, 70, Area()->height() - 1)));
    MoveWith(Qt::ControlModifier, QPoint(53, 45));
    EXPECT_EQ(Form.Doc.Images[2].X, 48);
    EXPECT_TRUE(Form.imArea->Overlay().Guides.isEmpty());
    QTest::keyClick(Area(), Qt::Key_Escape);
    EXPECT_EQ(Form.Doc.Images[2].X, 40);
    EXPECT_TRUE(Form.imArea->Overlay().Guides.isEmpty());
    ExpectPreviewCurrent();
}

TEST_F(PreviewGestures, ZoomToFitTakesTheLargestZoomThatShowsTheWholeScreen) {
    Load(Overlapping());
    Form.Preview().PanTo(QPoint(30, 30));
    Form.ZoomToFit1->trigger();
    const int zoom = Form.ComboBox1->currentIndex();
    const QSize area = Area()->size();
    const auto fits = [&](int z) {
        return (Form.Doc.ScreenWidth << z) <= area.width() &&
               (Form.Doc.ScreenHeight << z) <= area.height();
    };
    EXPECT_TRUE(fits(zoom) || zoom == 0);
    EXPECT_TRUE(zoom == 3 || !fits(zoom + 1));
    EXPECT_EQ(Offset(), QPoint(0, 0));
    // The grid lies over the raster at 400 % and 800 % only, never in it.
    Form.PixelGrid1->setChecked(true);
    Zoom(1);
    EXPECT_EQ(Form.imArea->Overlay().GridStep, 0);
    Zoom(2);
    EXPECT_EQ(Form.imArea->Overlay().GridStep, 4);
    ExpectPreviewCurrent();
}

TEST_F(PreviewGestures, ArrowsNudgeByOneAndShiftArrowsByTen) {
    Load(Overlapping());
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(35, 35)); // picks and focuses
    ASSERT_TRUE(Area()->hasFocus());
    QTest::keyClick(Area(), Qt::Key_Right);
    QTest::keyClick(Area(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(Area(), Qt::Key_Up);
    QTest::keyClick(Area(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(Area(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Form.Doc.Images[1].X, 30 + 1 - 20);
    EXPECT_EQ(Form.Doc.Images[1].Y, 30 + 10 - 1);
    EXPECT_EQ(Field(I().SpinEdit2), "39");
    ExpectPreviewCurrent();
}

TEST_F(PreviewGestures, PanningReachesTheFarCornerAndStopsThere) {
    // 480 x 536 at 800 %: 3840 x 4288 pixels, far beyond the area.
    TSkinDocument doc = MakeDefaultSkin();
    doc.ScreenWidth = 480;
    doc.ScreenHeight = 536;
    // Red, with the screen's last pixel green (clear of the marker's dots).
    AddItem(doc, ikImage, "corner");
    QImage picture = Solid(12, 12, Red);
    picture.setPixel(11, 11, Green);
    doc.Images.back().Picture.Image = picture;
    doc.Images.back().X = 468;
    doc.Images.back().Y = 524;
    Load(doc);
    Zoom(3);
    const QSize area = Area()->size();

    const QPoint corner(area.width() - 1, area.height() - 1);
    // Middle drags, each back across the area ((0, 0) would be taken for
    // the area's centre).
    for (int i = 0; i < 10; ++i)
        Drag(Qt::MiddleButton, corner, QPoint(1, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(Offset(), QPoint(3840 - area.width(), 4288 - area.height()));
    // The screen's last pixel, an 8 x 8 block, fills the area's corner.
    EXPECT_EQ(Preview().pixel(corner), Green);
    EXPECT_EQ(Preview().pixel(corner - QPoint(7, 7)), Green);
    EXPECT_EQ(Preview().pixel(corner - QPoint(8, 0)), Red);
    // Past the edge nothing moves.
    Drag(Qt::MiddleButton, corner, QPoint(1, 1));
    EXPECT_EQ(Offset(), QPoint(3840 - area.width(), 4288 - area.height()));

    // Space and the left button pan back; the wheel pans down, Shift + wheel
    // to the right.
    QTest::mouseClick(Area(), Qt::MiddleButton, {}, QPoint(5, 5)); // focuses
    QTest::keyPress(Area(), Qt::Key_Space);
    Drag(Qt::LeftButton, QPoint(1, 1), QPoint(301, 201));
    QTest::keyRelease(Area(), Qt::Key_Space);
    EXPECT_EQ(Offset(), QPoint(3840 - area.width() - 300, 4288 - area.height() - 200));
    EXPECT_EQ(Form.Doc.Images[0].X, 468); // no item was dragged
    Wheel(QPoint(0, -120), Qt::NoModifier);
    Wheel(QPoint(0, -240), Qt::ShiftModifier);
    EXPECT_EQ(Offset(), QPoint(3840 - area.width() - 300 + 120, 4288 - area.height() - 200 + 60));
}

TEST_F(PreviewGestures, ZoomNewAndOpenBringTheViewBackToTheTopLeft) {
    Load(Overlapping());
    const QString path = Form.Doc.FileName;
    auto panAway = [&] {
        Zoom(3);
        Form.Preview().PanTo(QPoint(500, 400));
        ASSERT_EQ(Offset(), QPoint(500, 400));
    };
    panAway();
    Zoom(2); // a choice in the list
    EXPECT_EQ(Offset(), QPoint(0, 0));
    Form.Preview().PanTo(QPoint(100, 80));
    // Ctrl + wheel up: 800 % about the pointer, whose screen pixel stays under it.
    const QPoint under = ScreenPixelAt(QPoint(100, 100), Form.Preview().PreviewView());
    Wheel(QPoint(0, 120), Qt::ControlModifier);
    EXPECT_EQ(Form.ComboBox1->currentText(), "800%");
    EXPECT_EQ(ScreenPixelAt(QPoint(100, 100), Form.Preview().PreviewView()), under);
    EXPECT_EQ(Offset(), QPoint((100 + 100) * 2 - 100, (100 + 80) * 2 - 100));
    Wheel(QPoint(0, -240), Qt::ControlModifier);
    EXPECT_EQ(Form.ComboBox1->currentText(), "200%");
    ExpectPreviewCurrent();

    panAway();
    Open(path);
    EXPECT_EQ(Offset(), QPoint(0, 0));
    panAway();
    Prompts.NewSkinSizes.push_back(QSize(480, 536));
    Form.NewSkinCommand();
    EXPECT_EQ(Offset(), QPoint(0, 0));
    EXPECT_EQ(Form.Preview().PreviewView().ZoomIndex, 0);
}

TEST_F(PreviewGestures, APointerBurstCostsOneRepaint) {
    Load(Overlapping());
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(15, 15));
    const int before = Form.imArea->RastersShown();
    for (int i = 1; i <= 100; ++i) {
        QMouseEvent move(QEvent::MouseMove, QPointF(15 + i, 15),
                         Area()->mapToGlobal(QPointF(15 + i, 15)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(Area(), &move);
    }
    // The document and fields follow each move; the preview waits for the loop.
    EXPECT_EQ(Form.Doc.Images[0].X, 110);
    EXPECT_EQ(Form.imArea->RastersShown(), before);
    QCoreApplication::processEvents();
    EXPECT_EQ(Form.imArea->RastersShown(), before + 1);
    ExpectPreviewCurrent();
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(115, 15));
    EXPECT_EQ(Form.imArea->RastersShown(), before + 1);
}

TEST_F(PreviewGestures, InPlaylistModeOnlyPanAndZoomWork) {
    TSkinDocument doc = Overlapping();
    doc.ScreenWidth = 480;
    doc.ScreenHeight = 536;
    Load(doc);
    Form.ToolButton6->click();
    Zoom(2);
    QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(90, 90)); // on the first image
    QTest::keyClick(Area(), Qt::Key_Right);
    Drag(Qt::LeftButton, QPoint(90, 90), QPoint(150, 150));
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(Form.Doc.Images[2].X, 40);
    EXPECT_EQ(Form.Doc.Images[0].X, 10);
    Drag(Qt::MiddleButton, QPoint(150, 150), QPoint(100, 130));
    EXPECT_EQ(Offset(), QPoint(50, 20));
    QCoreApplication::processEvents();
    EXPECT_EQ(Preview(), RenderPlaylistPreview(Form.Doc, Form.Preview().PreviewView()));
}

TEST_F(PreviewGestures, KeysRunTheToolbarCommands) {
    Load(Overlapping());
    QListWidget* list = Form.PlayerPanel->lbItems;
    list->setFocus();
    Form.PlayerPanel->SelectRow(1);
    Form.PlayerPanel->lbItemsClick();
    QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Row(), 2);
    EXPECT_EQ(Form.Doc.Items[2].Index, 1);
    QTest::keyClick(list, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Row(), 1);
    EXPECT_EQ(Form.Doc.Items[1].Index, 1);
    // A focused drop-down list keeps Alt+Down for opening itself.
    Form.ComboBox1->setFocus();
    QTest::keyClick(Form.ComboBox1, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(Form.ComboBox1->view()->isVisible());
    EXPECT_EQ(Form.Doc.Items[1].Index, 1);
    Form.ComboBox1->hidePopup();
    list->setFocus();

    Prompts.Names.push_back(QStringLiteral("renamed"));
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(Form.Doc.Items[1].Name, "renamed");
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(Form.Doc.Items.size(), 2);
    EXPECT_EQ(Form.Doc.Images.size(), 2u);

    QTest::keyClick(list, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(Form.ComboBox1->currentText(), "400%");
    QTest::keyClick(list, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(Form.ComboBox1->currentText(), "200%");
    QTest::keyClick(list, Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(Form.ToolButton6->isChecked());
    EXPECT_EQ(Form.Notebook1->currentIndex(), PlaylistPage);
    QTest::keyClick(&Form, Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(Form.ToolButton8->isChecked());
    ExpectPreviewCurrent();
    // No question was asked but the rename's.
    EXPECT_EQ(Prompts.Asked, QStringList({"AskFileName OpenSkin", "AskName Change name"}));
}

} // namespace
