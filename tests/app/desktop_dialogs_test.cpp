// The real dialogs behind the prompts: file dialogs, message boxes, the name
// dialog and the about box, each checked while it is open.
#include "about_box.h"
#include "desktop_prompts.h"
#include "name_dialog.h"
#include "new_skin.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Calls `act` with the modal dialog once one is open.
void WhenModalOpens(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
            // A check that failed inside `act` must not leave the test waiting.
            if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
                dialog->reject();
        }
    });
    poll->start();
}

struct DesktopPromptsTest : ::testing::Test {
    QWidget Window;
    TDesktopPrompts Prompts;
    DesktopPromptsTest() { Prompts.CreateWindows(&Window); }
};

TEST_F(DesktopPromptsTest, SkinDialogsFilterSknFilesAndSaveDoesNotAskBeforeReplacing) {
    QFileDialog* seen = nullptr;
    QStringList filters;
    WhenModalOpens([&](QWidget* modal) {
        seen = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(seen, nullptr);
        filters = seen->nameFilters();
        seen->reject();
    });
    EXPECT_FALSE(Prompts.AskFileName(TFileDialog::SaveSkin).has_value());
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(filters, QStringList({"Lumora skin files (*.skn)"}));
    EXPECT_EQ(seen->defaultSuffix(), "skn");
    EXPECT_EQ(seen->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(seen->testOption(QFileDialog::DontConfirmOverwrite));

    WhenModalOpens([&](QWidget* modal) {
        seen = qobject_cast<QFileDialog*>(modal);
        filters = seen->nameFilters();
        seen->reject();
    });
    Prompts.AskFileName(TFileDialog::OpenPicture);
    EXPECT_EQ(filters, QStringList({"Bitmap pictures (*.bmp)",
                                    "Pictures (*.bmp *.png *.jpg *.jpeg *.gif *.webp *.tif *.tiff)",
                                    "All files (*)"}));
    EXPECT_EQ(seen->defaultSuffix(), "bmp");
    EXPECT_EQ(seen->fileMode(), QFileDialog::AnyFile) << "a missing file fails when read";
}

TEST_F(DesktopPromptsTest, EachFileDialogProposesTheFileLastChosenInIt) {
    QTemporaryDir dir;
    const QString chosen = dir.filePath("chosen.skn");
    ASSERT_TRUE(QFile(chosen).open(QIODevice::WriteOnly));
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = static_cast<QFileDialog*>(modal);
        // Typed as a user types it; the dialog's own file list loads in the background.
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(chosen);
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(Prompts.AskFileName(TFileDialog::OpenSkin), chosen);

    QString proposed;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = static_cast<QFileDialog*>(modal);
        proposed = dialog->selectedFiles().value(0);
        dialog->reject();
    });
    Prompts.AskFileName(TFileDialog::OpenSkin);
    EXPECT_EQ(proposed, chosen);
}

TEST_F(DesktopPromptsTest, TheFileNameCompletersListClosesWithTheDialog) {
    QTemporaryDir dir;
    const QString chosen = dir.filePath("chosen.skn");
    ASSERT_TRUE(QFile(chosen).open(QIODevice::WriteOnly));
    QWidget* list = nullptr;
    WhenModalOpens([&](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_TRUE(edit && edit->completer());
        // The list that offers "chosen.skn" while the user presses Return.
        list = edit->completer()->popup();
        list->show();
        edit->setText(chosen);
        static_cast<QDialog*>(modal)->accept();
    });
    EXPECT_EQ(Prompts.AskFileName(TFileDialog::OpenSkin), chosen);
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isVisible()) << "it would hover over the window and eat the next click";
}

TEST_F(DesktopPromptsTest, TheNewSkinDialogOpensCentredOnTheScreenTheFirstTime) {
    QPoint centre, screenCentre;
    WhenModalOpens([&](QWidget* modal) {
        centre = modal->geometry().center();
        screenCentre = modal->screen()->availableGeometry().center();
        static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(Prompts.AskNewSkinSize().has_value());
    EXPECT_LE((centre - screenCentre).manhattanLength(), 6) << centre.x() << "," << centre.y();
}

TEST_F(DesktopPromptsTest, AShortMessageLeavesRoomForTheWholeCaption) {
    int width = 0, caption = 0;
    WhenModalOpens([&](QWidget* modal) {
        QFont bold = modal->font();
        bold.setBold(true);
        caption = QFontMetrics(bold).horizontalAdvance(modal->windowTitle());
        width = modal->width();
        static_cast<QDialog*>(modal)->accept();
    });
    Prompts.ShowError("File not found.");
    // The title bar also holds the window icon and three buttons.
    EXPECT_GE(width, caption + 100);
}

TEST_F(DesktopPromptsTest, ErrorsShowAnErrorIconUnderTheProgramTitle) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption, text;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        caption = box->windowTitle();
        text = box->text();
        box->accept();
    });
    Prompts.ShowError("File not found.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(caption, ProgramTitle);
    EXPECT_EQ(text, "File not found.");
}

TEST_F(DesktopPromptsTest, YesNoQuestionsAnswerTrueOnlyForYes) {
    WhenModalOpens([](QWidget* modal) {
        auto* box = static_cast<QMessageBox*>(modal);
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(Prompts.AskYesNo("Information", "Sure?"));
    WhenModalOpens(
        [](QWidget* modal) { static_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click(); });
    EXPECT_FALSE(Prompts.AskYesNo("Information", "Sure?"));
}

TEST(NameDialog, OffersTheTextSelectedLimitedTo255AndAcceptsAnEmptyName) {
    TNameDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Change name");
        EXPECT_EQ(dialog.lbPrompt->text(), "Type the new name of the selected object");
        EXPECT_EQ(dialog.edName->selectedText(), "old");
        QTest::keyClicks(dialog.edName, QString(300, 'x'));
        EXPECT_EQ(dialog.edName->text().size(), 255);
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.Execute("Change name", "Type the new name of the selected object", "old"),
              QString(255, 'x'));

    QTimer::singleShot(0, &dialog, [&] {
        dialog.edName->clear();
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.Execute("Image name", "Type the name of the new image", ""), QString(""));

    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.Execute("Image name", "Type the name of the new image", "a").has_value());
}

TEST(NameDialog, ReturnsALongerNameFromAFileWholeAndLetsItOnlyShrink) {
    TNameDialog dialog;
    const QString stored = QString(39999, 'n') + 'e';
    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Return); });
    EXPECT_EQ(dialog.Execute("Change name", "Type the new name of the selected object", stored),
              stored);

    QTimer::singleShot(0, &dialog, [&] {
        dialog.edName->setCursorPosition(10);
        QTest::keyClick(dialog.edName, Qt::Key_Backspace);
        QTest::keyClicks(dialog.edName, "xy"); // would lengthen it again
        EXPECT_EQ(dialog.edName->text(), stored.mid(1));
        EXPECT_EQ(dialog.edName->cursorPosition(), 9);
        dialog.edName->selectAll();
        QTest::keyClicks(dialog.edName, QString(300, 'x'));
        EXPECT_EQ(dialog.edName->text(), QString(255, 'x'));
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.Execute("Change name", "Type the new name of the selected object", stored),
              QString(255, 'x'));
}

TEST(AboutBox, ShowsTitleAndVersionAndClosesWithEnter) {
    TForm4 box;
    EXPECT_EQ(box.windowTitle(), "About...");
    EXPECT_EQ(box.size(), QSize(281, 185));
    EXPECT_EQ(box.lbTitle->text(), "Kelvane LumoraSkin 1.0");
    EXPECT_TRUE(box.lbTitle->font().bold());
    EXPECT_EQ(box.lbTitle->font().pixelSize(), 19);
    EXPECT_EQ(box.lbVersion->text(), "Version 1.0.0");
    EXPECT_EQ(box.Button1->geometry(), QRect(198, 152, 75, 25));
    EXPECT_TRUE(box.Button1->isDefault());

    QTimer::singleShot(0, &box, [&] { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
    QTimer::singleShot(0, &box, [&] { box.Button1->click(); });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
}

} // namespace
