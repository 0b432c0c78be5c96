// The main window's start-up state, its controls, the mode switch and zoom.
#include "editor_fixture.h"
#include "item_list.h"
#include "number_field.h"
#include "skin_fonts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

TEST_F(EditorTest, StartsWithAnEmptyUntitledSkinOnTheBlackStartScreen) {
    EXPECT_EQ(Form.windowTitle(), "Kelvane LumoraSkin 1.0 - [Untitled.skn]");
    EXPECT_TRUE(Form.ToolButton8->isChecked());
    EXPECT_FALSE(Form.ToolButton6->isChecked());
    EXPECT_EQ(Form.Notebook1->currentIndex(), PlayerPage);
    EXPECT_EQ(Form.ComboBox1->currentText(), "100%");
    EXPECT_EQ(Form.PlayerPanel->lbItems->count(), 0);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), -1);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), EmptyInspectorPage);
    EXPECT_EQ(Form.PlayerPanel->lbNoItem->text(), "(no item selected)");
    EXPECT_TRUE(Form.Doc.Untitled);
    EXPECT_EQ(Form.Doc.FileName, "Untitled.skn");
    EXPECT_EQ(Form.Doc.Playlist.TitleHeight, 30) << "NewSkin ran";

    // The preview, already at the area's size before the window is shown.
    EXPECT_EQ(Form.imArea->size(), QSize(660, 589));
    const QImage& shown = Preview();
    ASSERT_EQ(shown.size(), QSize(660, 589));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(239, 267), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(240, 0), Grey());
    EXPECT_EQ(shown.pixel(0, 268), Grey());
    EXPECT_EQ(shown.pixel(659, 588), Grey());
    EXPECT_NE(Grey(), qRgb(0, 0, 0));

    if (RegisterSkinFonts() == "Tahoma") {
        EXPECT_EQ(Form.font().family(), "Tahoma");
        EXPECT_EQ(Form.font().pixelSize(), 13);
    }
}

TEST_F(EditorTest, ClientAreaIsLaidOutAsTheDesktopEditorHasIt) {
    Form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    EXPECT_EQ(Form.centralWidget()->width(), 845);
    const int client = Form.height() - Form.menuBar()->height();
    EXPECT_EQ(client, 638);
    EXPECT_EQ(Form.ToolBar1->height(), 30);
    EXPECT_EQ(Form.statusBar()->height(), 19);
    EXPECT_EQ(Form.Notebook1->width(), 185);
    EXPECT_EQ(Form.PlayerPanel->lbItems->height(), 169);
    EXPECT_EQ(Form.imArea->size(), QSize(660, 589));
    EXPECT_EQ(Preview().size(), QSize(660, 589));
}

TEST_F(EditorTest, ToolbarHoldsTheFourteenControlsInOrderWithSeparators) {
    QStringList seen, names;
    for (QAction* action : Form.ToolBar1->actions()) {
        QWidget* w = Form.ToolBar1->widgetForAction(action);
        if (qobject_cast<QToolButton*>(w) || qobject_cast<QComboBox*>(w)) names << w->objectName();
        if (auto* button = qobject_cast<QToolButton*>(w)) {
            seen << button->toolTip();
            EXPECT_EQ(button->size(), QSize(25, 24)) << button->toolTip().toStdString();
            EXPECT_FALSE(button->icon().isNull());
            EXPECT_TRUE(button->isEnabled());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            seen << combo->toolTip();
            EXPECT_EQ(combo->width(), 73);
        } else {
            EXPECT_EQ(w->width(), 8);
            seen << "|";
        }
    }
    EXPECT_EQ(seen, QStringList({"New skin file",
                                 "Open skin file",
                                 "Save skin file",
                                 "|",
                                 "Zoom",
                                 "|",
                                 "Edit player interface",
                                 "Edit playlist interface",
                                 "|",
                                 "Add image",
                                 "Add text",
                                 "Add button",
                                 "Add wheel",
                                 "Add trackbar",
                                 "|",
                                 "Move up",
                                 "Move down",
                                 "|",
                                 "Delete",
                                 "|",
                                 "Dither pictures (recommended)"}));
    EXPECT_EQ(names, QStringList({"ToolButton1", "ToolButton2", "ToolButton3", "ComboBox1",
                                  "ToolButton8", "ToolButton6", "ToolButton12", "ToolButton10",
                                  "ToolButton9", "ToolButton11", "ToolButton13", "ToolButton15",
                                  "ToolButton16", "ToolButton18", "ToolButton20"}));
    QStringList zooms;
    for (int i = 0; i < Form.ComboBox1->count(); ++i)
        zooms << Form.ComboBox1->itemText(i);
    EXPECT_EQ(zooms, QStringList({"100%", "200%", "400%", "800%"}));
}

TEST_F(EditorTest, IconsAreDrawnAtTheScreensPixelRatio) {
    const QIcon icon = Form.ToolButton3->icon();
    const QPixmap normal = icon.pixmap(QSize(16, 16), 1.0);
    const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(normal.deviceIndependentSize().toSize(), QSize(16, 16));
    EXPECT_EQ(sharp.size(), QSize(32, 32)) << "drawn at 32 x 32, not scaled up";
    // The floppy's body fills most of the icon, with no transparent holes in the middle.
    EXPECT_EQ(qAlpha(sharp.toImage().pixel(16, 28)), 255);
}

TEST_F(EditorTest, MenuHoldsTheCommandsWithTheirShortcuts) {
    QStringList seen;
    for (QAction* menu : Form.menuBar()->actions()) {
        seen << menu->text() + ":";
        for (QAction* item : menu->menu()->actions())
            seen << (item->isSeparator()
                         ? QStringLiteral("-")
                         : item->text() + " " +
                               item->shortcut().toString(QKeySequence::PortableText));
    }
    EXPECT_EQ(seen, QStringList({"File:",
                                 "New Ctrl+N",
                                 "Open Ctrl+B",
                                 "Open recent ",
                                 "Save Ctrl+S",
                                 "-",
                                 "Save as... ",
                                 "-",
                                 "Exit Alt+F4",
                                 "Edit:",
                                 "Undo Ctrl+Z",
                                 "Redo Ctrl+Shift+Z",
                                 "-",
                                 "Cut Ctrl+X",
                                 "Copy Ctrl+C",
                                 "Paste Ctrl+V",
                                 "Duplicate Ctrl+D",
                                 "View:",
                                 "Try the skin Ctrl+T",
                                 "Problems Ctrl+Shift+P",
                                 "Zoom to fit Ctrl+0",
                                 "Pixel grid ",
                                 "Preview as saved Ctrl+Shift+T",
                                 "Show what a save changes ",
                                 "Arrange:",
                                 "Align left edges Alt+A",
                                 "Align horizontal centres Alt+H",
                                 "Align right edges Alt+D",
                                 "Align top edges Alt+W",
                                 "Align vertical centres Alt+V",
                                 "Align bottom edges Alt+S",
                                 "-",
                                 "Distribute horizontally Alt+Shift+H",
                                 "Distribute vertically Alt+Shift+V",
                                 "-",
                                 "Bring to front Ctrl+Shift+]",
                                 "Send to back Ctrl+Shift+[",
                                 "-",
                                 "Lock Ctrl+Shift+L",
                                 "Hide Ctrl+Shift+H",
                                 "Help:",
                                 "About F1"}));
    const QAction* named[] = {Form.New1,    Form.Open1, Form.Save1,
                              Form.Saveas1, Form.Exit1, Form.About1};
    const char* names[] = {"New1", "Open1", "Save1", "Saveas1", "Exit1", "About1"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(named[i]->objectName(), names[i]);
}

TEST_F(EditorTest, StatusBarIsEmptyWhileThePointerIsElsewhere) {
    ASSERT_TRUE(ShowActive());
    Prompts.FileNames.push_back(PathOf("missing.skn"));
    Form.OpenSkin();
    // Over the item list, and over the preview but off the screen.
    QTest::mouseMove(Form.PlayerPanel->lbItems, QPoint(5, 5));
    EXPECT_TRUE(Form.statusBar()->currentMessage().isEmpty());
    QTest::mouseMove(Area(), QPoint(400, 400));
    EXPECT_TRUE(Form.statusBar()->currentMessage().isEmpty());
    // Over the screen in playlist mode.
    Form.ToolButton6->click();
    QTest::mouseMove(Area(), QPoint(5, 5));
    EXPECT_TRUE(Form.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(Form.statusBar()->findChildren<QLabel*>().isEmpty());
    QTest::mouseMove(Form.PlayerPanel->lbItems, QPoint(5, 5));
}

TEST_F(EditorTest, PlaylistToggleShowsThePlaylistPageFilledFromTheDocumentWithoutWritingBack) {
    TPlaylistSettings& look = Form.Doc.Playlist;
    look.TitleHeight = 40;
    look.ItemHeight = 150; // beyond the field's range, as a file may hold it
    look.TitleFontSize = 9;
    look.ItemFontSize = 3;
    look.TitleBold = false;
    look.ItemBold = true;

    Form.ToolButton6->click();
    EXPECT_FALSE(Form.ToolButton8->isChecked());
    EXPECT_EQ(Form.Notebook1->currentIndex(), PlaylistPage);
    const TPlaylistPanel& page = *Form.PlaylistPanel;
    EXPECT_EQ(page.SpinEdit20->Value(), 40);
    EXPECT_EQ(page.SpinEdit21->Value(), 100);
    EXPECT_EQ(page.SpinEdit22->Value(), 9);
    EXPECT_EQ(page.SpinEdit23->Value(), 8);
    EXPECT_FALSE(page.CheckBox2->isChecked());
    EXPECT_TRUE(page.CheckBox3->isChecked());
    EXPECT_EQ(look.ItemHeight, 150) << "filling the page wrote nothing back";
    EXPECT_EQ(look.ItemFontSize, 3);
    EXPECT_FALSE(Form.Context.InspectorLoading);
    EXPECT_EQ(Preview(), RenderPlaylistPreview(Form.Doc, View()));

    // The first change on the page writes all six values shown.
    Form.PlaylistPanel->SpinEdit20->SetValue(45);
    EXPECT_EQ(look.TitleHeight, 45);
    EXPECT_EQ(look.ItemHeight, 100);
    EXPECT_EQ(look.ItemFontSize, 8);
    EXPECT_TRUE(look.ItemBold);
    Form.PlaylistPanel->CheckBox2->click();
    EXPECT_TRUE(look.TitleBold);
    EXPECT_EQ(Preview(), RenderPlaylistPreview(Form.Doc, View()));
}

TEST_F(EditorTest, PlayerToggleReturnsToTheListWithTheSameCurrentItem) {
    AddItem(Form.Doc, ikImage, "one");
    AddItem(Form.Doc, ikButton, "two");
    Form.PlayerPanel->ReloadList();
    Form.PlayerPanel->SelectRow(1);
    Form.PlayerPanel->lbItemsClick();

    Form.ToolButton6->click();
    Form.ToolButton8->click();
    EXPECT_EQ(Form.Notebook1->currentIndex(), PlayerPage);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 1);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(ikButton));
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, 1, View()));
}

TEST_F(EditorTest, ClickingOrKeyingToARowShowsItsKindsPageAndMarksIt) {
    AddItem(Form.Doc, ikImage, "one");
    AddItem(Form.Doc, ikWheel, "two");
    Form.PlayerPanel->ReloadList();
    QListWidget* list = Form.PlayerPanel->lbItems;
    EXPECT_EQ(list->item(0)->sizeHint().height(), 16);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 1);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(ikWheel));
    EXPECT_EQ(Preview(), RenderPlayerPreview(Form.Doc, 1, View()));
    EXPECT_FALSE(Form.Context.InspectorLoading);

    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 0);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(ikImage));

    // A Ctrl+click on the selected row does not leave the list without a current item.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 0);
}

TEST_F(EditorTest, PressingTheToggleThatIsDownKeepsTheModeAndRepaints) {
    Form.ToolButton6->click();
    Form.imArea->SetRaster(QImage());
    Form.ToolButton6->click();
    EXPECT_TRUE(Form.ToolButton6->isChecked());
    EXPECT_EQ(Form.Notebook1->currentIndex(), PlaylistPage);
    EXPECT_EQ(Preview(), RenderPlaylistPreview(Form.Doc, View()));
}

TEST_F(EditorTest, ZoomScalesEveryScreenPixelToABlock) {
    Form.Doc.ScreenWidth = 40;
    Form.Doc.ScreenHeight = 30;
    AddItem(Form.Doc, ikImage, "picture");
    Form.Doc.Images[0].X = 3;
    Form.Doc.Images[0].Y = 2;
    Form.PlayerPanel->ReloadList();
    Form.Preview().RedrawSkin();
    const QImage at100 = Preview();

    Form.ComboBox1->setCurrentIndex(3);
    Q_EMIT Form.ComboBox1->activated(3);
    const QImage& at800 = Preview();
    ASSERT_EQ(at800.size(), Form.imArea->size());
    EXPECT_EQ(at800.pixel(319, 239), qRgb(0, 0, 0));
    EXPECT_EQ(at800.pixel(320, 0), Grey());
    EXPECT_EQ(at800.pixel(0, 240), Grey());
    // Pixel (2, 7) of the placeholder picture, white, lies at screen (5, 9).
    EXPECT_EQ(at800.pixel(5 * 8, 9 * 8), qRgb(255, 255, 255));
    EXPECT_EQ(at800.pixel(5 * 8 + 7, 9 * 8 + 7), qRgb(255, 255, 255));
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(at800.pixel(x, y), at100.pixel(x / 8, y / 8)) << x << "," << y;

    // The zoom repaints the mode shown: in playlist mode the playlist.
    Form.ToolButton6->click();
    Form.ComboBox1->setCurrentIndex(1);
    Q_EMIT Form.ComboBox1->activated(1);
    EXPECT_EQ(Preview(), RenderPlaylistPreview(Form.Doc, View()));
}

TEST_F(EditorTest, ResizingTheWindowResizesTheRasterAndRepaintsTheCurrentMode) {
    Form.show();
    Form.ToolButton6->click();
    Form.resize(Form.width() + 100, Form.height() - 50);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form.imArea->width() == 760; }));
    EXPECT_EQ(Form.imArea->size(), QSize(760, 539));
    EXPECT_EQ(Preview().size(), QSize(760, 539));
    EXPECT_EQ(Preview(), RenderPlaylistPreview(Form.Doc, View()));
}

} // namespace
