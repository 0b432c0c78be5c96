// Keyboard shortcuts of the main window, pressed as a user presses them.
#include "editor_fixture.h"

#include <QApplication>
#include <QTest>

namespace {

class ShortcutsTest : public EditorTest {
  protected:
    void SetUp() override { ASSERT_TRUE(ShowActive()); }
    void Press(int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(&Form, Qt::Key(key), modifiers);
    }
};

TEST_F(ShortcutsTest, CtrlBOpensASkinFileAndCtrlODoesNothing) {
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(Prompts.Asked.isEmpty());
    Press(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(Prompts.Asked, QStringList({"AskFileName OpenSkin"}));
}

TEST_F(ShortcutsTest, CtrlNAndCtrlSRunNewAndSave) {
    Press(Qt::Key_N, Qt::ControlModifier);
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Prompts.Asked, QStringList({"AskNewSkinSize", "AskFileName SaveSkin"}));
}

TEST_F(ShortcutsTest, F1OpensTheAboutBox) {
    Press(Qt::Key_F1, Qt::NoModifier);
    EXPECT_EQ(Prompts.Abouts, 1);
}

TEST_F(ShortcutsTest, AltF4ClosesTheWindowWithoutAQuestionEvenAfterAnEdit) {
    Form.Doc.ScreenWidth = 300;
    Press(Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(Form.isVisible());
    EXPECT_TRUE(Prompts.Asked.isEmpty());
}

TEST_F(ShortcutsTest, ExitClosesTheWindow) {
    Form.Exit1->trigger();
    EXPECT_FALSE(Form.isVisible());
    EXPECT_TRUE(Prompts.Asked.isEmpty());
}

} // namespace
