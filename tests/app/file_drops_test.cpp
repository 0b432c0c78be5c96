// Files dropped from a file manager, as the window system delivers them: a
// drag entering the widget under the pointer, then the drop.
#include "editor_fixture.h"
#include "item_inspector.h"
#include "item_list.h"
#include "new_skin.h"
#include "sample_skin.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>

namespace {

class FileDrops : public EditorTest {
  protected:
    // Enters widget with urls at point, then drops there when the drag was
    // taken. Returns whether it was.
    bool DropOn(QWidget* widget, const QList<QUrl>& urls, QPoint point = QPoint(5, 5)) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &drop);
        return drop.isAccepted();
    }
    bool DropFile(QWidget* widget, const QString& path, QPoint point = QPoint(5, 5)) {
        return DropOn(widget, {QUrl::fromLocalFile(path)}, point);
    }

    // A 3 x 1 PNG: (0, 0) red at alpha 0, (1, 0) opaque green, (2, 0) red at alpha 128.
    QString Png(const QString& name) {
        QImage img(3, 1, QImage::Format_ARGB32);
        img.setPixel(0, 0, qRgba(255, 0, 0, 0));
        img.setPixel(1, 0, qRgba(0, 255, 0, 255));
        img.setPixel(2, 0, qRgba(255, 0, 0, 128));
        EXPECT_TRUE(img.save(PathOf(name), "PNG"));
        return PathOf(name);
    }

    // A new button, selected and shown on its page.
    void AddButton(const QString& name) {
        Prompts.Names.push_back(name);
        Form.ToolButton9Click();
    }

    QUndoStack& History() { return Form.Context.Edits.History(); }
};

TEST_F(FileDrops, PictureOnARowOpensIntoItsSlotAsOpenDoes) {
    AddButton(QStringLiteral("play"));
    const int steps = History().count();
    ASSERT_TRUE(DropFile(I().ButtonRows[1].Row, Png(QStringLiteral("pressed.png"))));
    const QImage& got = Form.Doc.Buttons[0].Pictures[1].Image;
    ASSERT_EQ(got.size(), QSize(3, 1));
    // A keyed slot: key colour below half alpha, the colour itself, opaque, above.
    EXPECT_EQ(got.pixel(0, 0), TransparentKey);
    EXPECT_EQ(got.pixel(1, 0), 0xFF00FF00);
    EXPECT_EQ(got.pixel(2, 0), 0xFFFF0000);
    EXPECT_EQ(Form.Doc.Buttons[0].Pictures[0].Image, PlaceholderPicture());
    EXPECT_FALSE(Prompts.Asked.contains(QStringLiteral("AskFileName OpenPicture")));
    EXPECT_EQ(History().count(), steps + 1);
    EXPECT_EQ(History().undoText(), QStringLiteral("Open picture into \"play\""));

    // Open's own message for a file that is no picture; the slot stays.
    ASSERT_TRUE(DropFile(I().ButtonRows[0].Row,
                         WriteFile(QStringLiteral("a.txt"), "Just some words in a text file.")));
    EXPECT_EQ(Prompts.Errors, QStringList{QStringLiteral("Bitmap image is not valid.")});
    EXPECT_EQ(Form.Doc.Buttons[0].Pictures[0].Image, PlaceholderPicture());
    EXPECT_EQ(History().count(), steps + 1);

    // A disabled row (no two-state command) takes nothing.
    EXPECT_FALSE(DropFile(I().ButtonRows[2].Row, Png(QStringLiteral("b.png"))));
    EXPECT_EQ(Form.Doc.Buttons[0].Pictures[2].Image, PlaceholderPicture());
}

TEST_F(FileDrops, PictureOnThePreviewAddsAnImageAtThePixelUnderThePointerAsOneStep) {
    AddButton(QStringLiteral("play"));
    Form.ComboBox1->setCurrentIndex(1); // 200 %
    Form.ComboBox1Change();
    const int items = Form.Doc.Items.size();
    const int steps = History().count();
    ASSERT_TRUE(DropFile(Form.imArea, Png(QStringLiteral("logo.final.png")), QPoint(41, 23)));
    ASSERT_EQ(Form.Doc.Items.size(), items + 1);
    EXPECT_EQ(Form.Doc.Items.back().Name, QByteArray("logo.final"));
    const TiImage& image = Form.Doc.Images.back();
    EXPECT_EQ(image.X, 20);
    EXPECT_EQ(image.Y, 11);
    // The image slot's rule: opaque, composed over black.
    ASSERT_EQ(image.Picture.Image.size(), QSize(3, 1));
    EXPECT_EQ(image.Picture.Image.pixel(0, 0), 0xFF000000);
    EXPECT_EQ(image.Picture.Image.pixel(1, 0), 0xFF00FF00);
    EXPECT_EQ(qRed(image.Picture.Image.pixel(2, 0)), 128);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), items);
    EXPECT_EQ(History().count(), steps + 1);

    Form.Undo1Click();
    EXPECT_EQ(Form.Doc.Items.size(), items);
    EXPECT_TRUE(Form.Doc.Images.empty());

    // Beside the screen, or in playlist mode, a picture is not taken.
    EXPECT_FALSE(DropFile(Form.imArea, Png(QStringLiteral("x.png")), QPoint(481, 5)));
    Form.ToolButton6->click();
    EXPECT_FALSE(DropFile(Form.imArea, Png(QStringLiteral("y.png")), QPoint(41, 23)));
    EXPECT_EQ(Form.Doc.Items.size(), items);
}

TEST_F(FileDrops, SkinAnywhereOpensItWithANewHistory) {
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikText, "clock");
    const QString skin = PathOf(QStringLiteral("Other.SKN"));
    ASSERT_EQ(WriteSkinFile(doc, skin), QString());
    AddButton(QStringLiteral("play"));
    ASSERT_GT(History().count(), 0);

    // Unsaved changes: the question first, and Cancel keeps them.
    Prompts.SaveAnswers.push_back(TSaveAnswer::Cancel);
    ASSERT_TRUE(DropFile(&Form, skin));
    EXPECT_EQ(Prompts.Asked.last(), "AskSaveChanges Untitled.skn");
    EXPECT_EQ(Form.Doc.Items.size(), 1);
    EXPECT_NE(Form.Doc.FileName, skin);

    // On a picture row, the skin passes on to the window.
    ASSERT_TRUE(DropFile(I().ButtonRows[0].Row, skin));
    EXPECT_EQ(Form.Doc.FileName, skin);
    ASSERT_EQ(Form.Doc.Items.size(), 1);
    EXPECT_EQ(Form.Doc.Items[0].Name, QByteArray("clock"));
    EXPECT_EQ(History().count(), 0);

    NewSkin(Form.Doc);
    ASSERT_TRUE(DropFile(&Form, skin));
    EXPECT_EQ(Form.Doc.FileName, skin);

    // Only the first entry counts, and only a local file.
    EXPECT_FALSE(DropOn(
        &Form, {QUrl(QStringLiteral("https://example.com/a.skn")), QUrl::fromLocalFile(skin)}));
    EXPECT_TRUE(Prompts.Errors.isEmpty());
}

} // namespace
