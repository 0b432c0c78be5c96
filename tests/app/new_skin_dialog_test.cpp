// The "New skin" dialog: presets, the coupling of list and fields, its memory.
#include "new_skin_dialog.h"

#include "editor_fixture.h"
#include "number_field.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

void Choose(TForm3& dialog, int entry) {
    dialog.ComboBox1->setCurrentIndex(entry);
    Q_EMIT dialog.ComboBox1->activated(entry);
}

void Type(TNumberField* field, const QString& text) {
    field->lineEdit()->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

// Runs the dialog modally and lets `act` work on it while it is open.
std::optional<QSize> RunWith(TForm3& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, std::move(act));
    return dialog.Execute();
}

TEST(NewSkinDialog, StartsOnTheFirstPresetWithItsSizeAndTheNote) {
    TForm3 dialog;
    EXPECT_EQ(dialog.windowTitle(), "New skin");
    ASSERT_EQ(dialog.ComboBox1->count(), 7);
    EXPECT_EQ(dialog.ComboBox1->itemText(0), "Standard QVGA (240x320)");
    EXPECT_EQ(dialog.ComboBox1->itemText(6), "Custom...");
    EXPECT_EQ(dialog.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(dialog.SpinEdit1->Value(), 240);
    EXPECT_EQ(dialog.SpinEdit2->Value(), 268);
    EXPECT_EQ(dialog.SpinEdit1->Minimum(), 120);
    EXPECT_EQ(dialog.SpinEdit2->Maximum(), 1200);
    EXPECT_TRUE(dialog.Button1->isDefault());
    bool noteFound = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        noteFound |= label->text() ==
                     "The client screen may be smaller than the device resolution because the "
                     "menus and the title of the application are not handled by the skin (this "
                     "space is 52 pixels in QVGA devices)..";
    EXPECT_TRUE(noteFound);
}

TEST(NewSkinDialog, ChoosingAPresetFillsTheFieldsAndCustomKeepsThem) {
    TForm3 dialog;
    Choose(dialog, 5);
    EXPECT_EQ(dialog.ClientSize(), QSize(640, 396));
    EXPECT_EQ(dialog.ComboBox1->currentIndex(), 5) << "filling the fields keeps the choice";
    Choose(dialog, 6);
    EXPECT_EQ(dialog.ClientSize(), QSize(640, 396));
    EXPECT_EQ(dialog.ComboBox1->currentText(), "Custom...");
}

TEST(NewSkinDialog, TypingASizeSelectsTheMatchingPresetOrCustom) {
    TForm3 dialog;
    Choose(dialog, 3); // 480 x 396
    Choose(dialog, 6);
    Type(dialog.SpinEdit1, "500");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "Custom...");
    Type(dialog.SpinEdit1, "480");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "Square VGA (480x480)");
    Type(dialog.SpinEdit1, "500");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "Custom...");
    QTest::keyClick(dialog.SpinEdit2, Qt::Key_Up);
    EXPECT_EQ(dialog.SpinEdit2->Value(), 397);
    Type(dialog.SpinEdit1, "240");
    Type(dialog.SpinEdit2, "198");
    EXPECT_EQ(dialog.ComboBox1->currentText(), "Square (240x240)");
}

TEST(NewSkinDialog, OkTakesASizeWithinTheLimitsAndCancelTakesNothing) {
    TForm3 dialog;
    auto answer = RunWith(dialog, [&] {
        Type(dialog.SpinEdit1, "5000");
        Type(dialog.SpinEdit2, "");
        dialog.Button1->click();
    });
    EXPECT_EQ(answer, QSize(1200, 120));
    EXPECT_EQ(dialog.SpinEdit1->Value(), 1200) << "the fields show the size taken";

    answer = RunWith(dialog, [&] {
        Choose(dialog, 1);
        dialog.Button2->click();
    });
    EXPECT_FALSE(answer.has_value());
}

TEST(NewSkinDialog, KeepsWhatTheUserLeftBetweenUses) {
    TForm3 dialog;
    auto answer = RunWith(dialog, [&] {
        Choose(dialog, 4);
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(answer, QSize(320, 198));
    answer = RunWith(dialog, [&] {
        EXPECT_EQ(dialog.ComboBox1->currentIndex(), 4);
        EXPECT_EQ(dialog.ClientSize(), QSize(320, 198));
        dialog.Button1->click();
    });
    EXPECT_EQ(answer, QSize(320, 198));
}

// New through the dialog itself, as the user picks the landscape VGA preset.
class DialogPrompts : public TScriptedPrompts {
  public:
    TForm3 Dialog;
    std::optional<QSize> AskNewSkinSize() override {
        return RunWith(Dialog, [this] {
            Choose(Dialog, 5);
            Dialog.Button1->click();
        });
    }
};

TEST(NewSkinDialog, NewWithLandscapeVgaGivesA640By396Skin) {
    DialogPrompts prompts;
    TForm1 form(prompts);
    form.NewSkinCommand();
    EXPECT_EQ(form.Doc.ScreenWidth, 640);
    EXPECT_EQ(form.Doc.ScreenHeight, 396);
}

} // namespace
