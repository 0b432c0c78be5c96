// The window driven by the keyboard alone: F6 between its parts, Enter from
// the item list into the inspector, items chosen and the view panned in the
// preview, try mode's controls pressed, and a small skin built without the
// pointer.
#include "editor_fixture.h"
#include "item_list.h"
#include "number_field.h"
#include "problems_panel.h"
#include "sample_skin.h"
#include "view_panels.h"

#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace {

class Keyboard : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ShowActive());
        // No pointer here: over the preview, Space would belong to the preview.
        QTest::mouseMove(Form.PlayerPanel, QPoint(1, 1));
    }

    // A key as the user presses it: to the widget with the focus.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &Form, Qt::Key(key), modifiers);
    }
    void Type(const QString& digits) {
        for (QChar c : digits)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }

    void Load(const TSkinDocument& doc) {
        const QString path = PathOf(QStringLiteral("skin.skn"));
        ASSERT_EQ(WriteSkinFile(doc, path), QString());
        Open(path);
    }
};

TEST_F(Keyboard, ASmallSkinIsBuiltWithKeysAlone) {
    const QString picture = PathOf(QStringLiteral("logo.png"));
    ASSERT_TRUE(Solid(16, 9, 0xFF3366CC).save(picture));
    const QString saved = PathOf(QStringLiteral("made.skn"));
    Prompts.Names.push_back(QStringLiteral("logo"));
    Prompts.FileNames = {picture, saved};

    // Insert offers the toolbar's commands; Enter takes the first, "Add image".
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&poll] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            poll.stop();
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    poll.start();
    Press(Qt::Key_Insert);
    ASSERT_EQ(Form.Doc.Items.size(), 1);
    Press(Qt::Key_F6);
    ASSERT_EQ(QApplication::focusWidget(), Form.PlayerPanel->lbItems);
    Press(Qt::Key_Return); // into the inspector: the picture's Open
    ASSERT_EQ(QApplication::focusWidget(), I().ImageRow.Open);
    Press(Qt::Key_Space);
    for (int i = 0; i < 3; ++i) // past Save and View to X
        Press(Qt::Key_Tab);
    Type(QStringLiteral("12"));
    Press(Qt::Key_Tab);
    Type(QStringLiteral("34"));
    Press(Qt::Key_S, Qt::ControlModifier);

    const TSkinReadResult read = ReadSkinFile(saved);
    ASSERT_TRUE(read.Document) << read.Error.toStdString();
    ASSERT_EQ(read.Document->Images.size(), 1u);
    const TiImage& image = read.Document->Images[0];
    EXPECT_EQ(QPoint(image.X, image.Y), QPoint(12, 34));
    EXPECT_EQ(image.Picture.Image.size(), QSize(16, 9));
}

TEST_F(Keyboard, F6VisitsTheListTheInspectorThePreviewAndTheProblemsInTurn) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikText, "title");
    Load(doc);
    Form.Problems1->setChecked(true);
    QWidget* const turn[] = {Form.PlayerPanel->lbItems, I().SpinEdit3, Area(),
                             Form.ViewPanels().Problems->List};
    for (QWidget* expected : turn) {
        Press(Qt::Key_F6);
        EXPECT_EQ(QApplication::focusWidget(), expected);
    }
    Press(Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), turn[0]);
    Press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), turn[3]);

    // F10 opens the first menu, as tapping Alt reaches the menus.
    Press(Qt::Key_F10);
    QWidget* opened = QApplication::activePopupWidget();
    EXPECT_EQ(opened, Form.menuBar()->actions().first()->menu());
    if (opened) opened->close();
}

TEST_F(Keyboard, InThePreviewTabChoosesItemsInDrawingOrderAndCtrlArrowsPan) {
    TSkinDocument doc = MakeDefaultSkin();
    for (const char* name : {"a", "b", "c", "d"})
        AddItem(doc, ikImage, name);
    Load(doc);
    Form.Skin.SetHidden({1}, true);
    Form.Skin.SetLocked({3}, true);
    Area()->setFocus();
    Press(Qt::Key_Tab);
    EXPECT_EQ(Row(), 2); // past the hidden one
    Press(Qt::Key_Tab);
    EXPECT_EQ(Row(), 0); // past the locked one, around the end
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Row(), 2);
    EXPECT_EQ(QApplication::focusWidget(), Area());

    Form.Preview().SetZoom(3);
    Press(Qt::Key_Right, Qt::ControlModifier);
    Press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Form.Preview().PreviewView().Offset,
              QPoint(Area()->width() / 10, Area()->height() / 10));

    // The focus frame is the widget's, over the raster: the raster stays the screen.
    QCoreApplication::processEvents();
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, Row(), Form.Preview().PreviewView()));
    EXPECT_EQ(Area()->grab().toImage().pixel(0, 0),
              Area()->palette().color(QPalette::Highlight).rgb());
}

TEST_F(Keyboard, InTryModeEnterHoldsTheCurrentControlAndArrowsMoveATrackBar) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikButton, "play");
    doc.Buttons.back().Command = 6; // Play/pause: two states
    AddItem(doc, ikTrackbar, "seek");
    doc.Trackbars.back().Width = 90;
    Load(doc);
    Form.Try1->setChecked(true);
    Area()->setFocus();
    const TDeviceState& device = Form.ViewPanels().DeviceState();
    QTest::keyPress(Area(), Qt::Key_Return);
    EXPECT_EQ(device.Held.count(0), 1u);
    QTest::keyRelease(Area(), Qt::Key_Return);
    EXPECT_EQ(device.Held.count(0), 0u);
    EXPECT_EQ(device.SecondState.count(0), 1u);

    Press(Qt::Key_Tab);
    Press(Qt::Key_Right);
    Press(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(device.Progress.count(1), 1u);
    EXPECT_EQ(device.Progress.at(1), 90 / 3 + 1 + 10);
}

} // namespace
