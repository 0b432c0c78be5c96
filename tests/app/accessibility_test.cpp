// What a screen reader finds: every control of the main window, its panels
// and the editor's own dialogs has a name, a picture row's buttons say their
// slot and its picture's size, and the preview describes the current item.
#include "about_box.h"
#include "desktop_prompts.h"
#include "editor_fixture.h"
#include "image_viewer.h"
#include "item_list.h"
#include "keystrokes.h"
#include "name_dialog.h"
#include "new_skin_dialog.h"
#include "sample_skin.h"
#include "view_panels.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace {

// A widget the user reaches as a control of its own; the parts of a list
// or a number field speak through it.
bool IsControl(const QWidget* w) {
    for (const QWidget* up = w->parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QAbstractSpinBox*>(up))
            return false;
    if (qobject_cast<const QScrollBar*>(w)) return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QMenuBar*>(w) ||
           w->focusPolicy() != Qt::NoFocus;
}

QString Spoken(QWidget* w, QAccessible::Text what = QAccessible::Name) {
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(w);
    return spoken ? spoken->text(what).trimmed() : QString();
}

// Every control under root, shown or not, that a screen reader finds no name for.
std::string Unnamed(QWidget* root) {
    QStringList found;
    for (QWidget* w : root->findChildren<QWidget*>())
        if (IsControl(w) && Spoken(w).isEmpty())
            found << QStringLiteral("%1 \"%2\"")
                         .arg(QLatin1String(w->metaObject()->className()), w->objectName());
    return found.join(QStringLiteral(", ")).toStdString();
}

class Accessibility : public EditorTest {};

TEST_F(Accessibility, EveryControlOfTheWindowAndItsPanelsHasAName) {
    Form.ViewPanels().SetProblemsShown(true);
    Form.ViewPanels().SetTrying(true);
    EXPECT_EQ(Unnamed(&Form), "");
    // The toolbar's buttons have no caption: the hint is the name.
    EXPECT_EQ(Spoken(Form.ToolButton12), "Add image");
    EXPECT_EQ(Spoken(I().SpinEdit3), "X");
    EXPECT_EQ(Spoken(I().SpinEdit5, QAccessible::Description), "Width in pixels");
}

TEST_F(Accessibility, EveryDialogOfOursHasItsControlsNamed) {
    QWidget owner;
    TForm2 viewer(&owner);
    viewer.SetPicture(Solid(7, 5, 0xFF102030));
    TForm3 newSkin(&owner);
    TForm4 about(&owner);
    TNameDialog name(&owner);
    for (QWidget* dialog : std::initializer_list<QWidget*>{&viewer, &newSkin, &about, &name})
        EXPECT_EQ(Unnamed(dialog), "") << dialog->metaObject()->className();
    EXPECT_EQ(Spoken(viewer.findChild<QLabel*>("Image1"), QAccessible::Description),
              "7 by 5 pixels");

    TDesktopPrompts prompts;
    prompts.CreateWindows(&owner);
    std::string inBox = "not looked at";
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        inBox = Unnamed(box);
        qobject_cast<QDialog*>(box)->reject();
    });
    prompts.AskSaveChanges(QStringLiteral("skin.skn"));
    EXPECT_EQ(inBox, "");
}

TEST_F(Accessibility, PictureButtonsSayTheirSlotAndThePicturesSize) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikButton, "play");
    doc.Buttons.back().Pictures[1].Image = Solid(30, 20, 0xFF0000FF);
    const QString path = PathOf(QStringLiteral("skin.skn"));
    ASSERT_EQ(WriteSkinFile(doc, path), QString());
    Open(path);
    const TPictureRow& pressed = I().ButtonRows[1];
    EXPECT_EQ(Spoken(pressed.Save), "Save Image (1) pressed");
    EXPECT_EQ(Spoken(pressed.View, QAccessible::Description), "30 by 20 pixels");

    // An opened picture is said at once, and so is its undoing.
    const QString picture = PathOf(QStringLiteral("wide.png"));
    ASSERT_TRUE(Solid(64, 8, 0xFF00FF00).save(picture));
    Prompts.FileNames.push_back(picture);
    pressed.Open->click();
    EXPECT_EQ(Spoken(pressed.Open, QAccessible::Description), "64 by 8 pixels");
    Form.Undo1Click();
    EXPECT_EQ(Spoken(pressed.Open, QAccessible::Description), "30 by 20 pixels");
}

TEST_F(Accessibility, ThePreviewDescribesTheCurrentItem) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikText, "title");
    doc.Texts.back().X = 5;
    doc.Texts.back().Y = 6;
    doc.Texts.back().Width = 50;
    doc.Texts.back().Height = 12;
    const QString path = PathOf(QStringLiteral("skin.skn"));
    ASSERT_EQ(WriteSkinFile(doc, path), QString());
    Open(path);
    EXPECT_EQ(Spoken(Area()), "Preview");
    EXPECT_EQ(Spoken(Area(), QAccessible::Description),
              "title, text, X 5, Y 6, width 50, height 12");

    // A change of the current item's record and another current item.
    TypeInto(I().SpinEdit3, QStringLiteral("9"));
    EXPECT_EQ(Spoken(Area(), QAccessible::Description),
              "title, text, X 9, Y 6, width 50, height 12");
    Form.PlayerPanel->SelectRow(-1);
    EXPECT_EQ(Spoken(Area(), QAccessible::Description), "No item selected");
}

} // namespace
