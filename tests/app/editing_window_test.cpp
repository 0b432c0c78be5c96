// The editing commands driven through the main window's own controls: the
// toolbar, the item list, the inspector pages, the picture rows and the
// playlist page, with the preview checked pixel by pixel.
#include "bitmap_file.h"
#include "desktop_prompts.h"
#include "editor_fixture.h"
#include "image_viewer.h"
#include "item_inspector.h"
#include "item_list.h"
#include "keystrokes.h"
#include "number_field.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr QRgb Grey90 = 0xFF5A5A5A; // the test pictures' field
constexpr QRgb Black = 0xFF000000;

class EditingWindow : public EditorTest {
  protected:
    QListWidget* List() { return Form.PlayerPanel->lbItems; }

    // A w x h grey bitmap with one magenta pixel at (5, 5), away from any marker dot.
    QString Bitmap(const QString& name, int w, int h, QRgb field = Grey90) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(field);
        if (w > 5 && h > 5) img.setPixel(5, 5, TransparentKey);
        const QString path = PathOf(name);
        EXPECT_EQ(WriteBitmapFile(img, path), QString());
        return path;
    }
    void Add(QToolButton* button, const QString& name) {
        Prompts.Names.push_back(name);
        button->click();
    }
    void Load(QPushButton* open, const QString& path) {
        Prompts.FileNames.push_back(path);
        open->click();
    }
    QRgb At(int x, int y) { return Preview().pixel(x, y); }
    bool PlayerShown() { return Preview() == RenderPlayerPreview(Form.Doc, Row(), View()); }
    bool PlaylistShown() { return Preview() == RenderPlaylistPreview(Form.Doc, View()); }
};

QRgb Inverted(QRgb c) {
    return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c));
}

} // namespace

TEST_F(EditingWindow, ABitmapInAButtonKeepsItsPlaceAndResizesTheMarker) {
    Add(Form.ToolButton9, "play");
    TypeInto(I().SpinEdit8, "10");
    TypeInto(I().SpinEdit9, "20");
    // Marker dots along a row, between two columns.
    auto dots = [&](int y, int x0, int x1, QRgb under) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            n += At(x, y) == Inverted(under);
        return n;
    };
    // The 15 x 15 placeholder's marker runs along row 34 (its frame is (255, 1, 1)).
    EXPECT_GT(dots(34, 11, 24, qRgb(255, 1, 1)), 0);
    Load(I().ButtonRows[0].Open, Bitmap("b.bmp", 100, 40));

    const TiButton& b = Form.Doc.Buttons[0];
    EXPECT_EQ(b.X, 10);
    EXPECT_EQ(b.Y, 20);
    EXPECT_EQ(b.Pictures[0].Image.size(), QSize(100, 40));
    EXPECT_TRUE(PlayerShown());
    EXPECT_EQ(At(10, 20), Inverted(Grey90)); // the marker's first dot
    EXPECT_EQ(dots(34, 11, 24, Grey90), 0);  // no longer an edge
    EXPECT_GT(dots(59, 11, 109, Grey90), 0); // the new bottom edge
    int rightEdge = 0;
    for (int y = 21; y < 59; ++y)
        rightEdge += dots(y, 109, 110, Grey90);
    EXPECT_GT(rightEdge, 0);       // and the new right edge
    EXPECT_EQ(At(15, 25), Black);  // magenta skipped in a button
    EXPECT_EQ(At(110, 20), Black); // nothing beyond the picture
    EXPECT_EQ(At(10, 60), Black);

    // In an image item the same magenta is painted.
    Add(Form.ToolButton12, "photo");
    TypeInto(I().SpinEdit2, "100");
    Load(I().ImageRow.Open, Bitmap("i.bmp", 20, 20));
    EXPECT_EQ(At(5, 105), TransparentKey);
    EXPECT_EQ(Form.Doc.Images[0].Picture.Transparent, false);
}

TEST_F(EditingWindow, SelectingRowsWritesNothingAndEveryPageRepaints) {
    Add(Form.ToolButton10, "title");
    Add(Form.ToolButton10, "artist");
    TypeInto(I().SpinEdit3, "50");
    Choose(I().ComboBox4, ttSystemTime);
    EXPECT_EQ(Form.Doc.Texts[1].PreviewText, "17:43");
    EXPECT_TRUE(PlayerShown());
    const TSkinDocument before = Form.Doc;

    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      List()->visualItemRect(List()->item(0)).center());
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(I().SpinEdit3->Value(), 0);
    EXPECT_EQ(I().ComboBox4->currentIndex(), ttSongTitle);
    QTest::keyClick(List(), Qt::Key_Down);
    EXPECT_EQ(I().SpinEdit3->Value(), 50);
    EXPECT_EQ(Form.Doc, before);

    // "-" stores 0, "7" after it -7, each keystroke repainting.
    TypeInto(I().SpinEdit4, "-");
    EXPECT_EQ(Form.Doc.Texts[1].Y, 0);
    QTest::keyClick(I().SpinEdit4, '7');
    EXPECT_EQ(Form.Doc.Texts[1].Y, -7);
    EXPECT_TRUE(PlayerShown());
}

TEST_F(EditingWindow, SecondStatePicturesAndTheScrollerFollowTheirControls) {
    Add(Form.ToolButton9, "toggle");
    Choose(I().ComboBox5, pcPlayPause);
    EXPECT_TRUE(I().ButtonRows[2].Open->isEnabled());
    Load(I().ButtonRows[2].Open, Bitmap("second.bmp", 8, 8));
    Choose(I().ComboBox5, pcVolumeUp);
    EXPECT_FALSE(I().ButtonRows[2].Open->isEnabled());
    EXPECT_FALSE(I().ButtonRows[3].View->isEnabled());
    Choose(I().ComboBox5, pcToggleShuffle);
    EXPECT_TRUE(I().ButtonRows[3].View->isEnabled());
    EXPECT_EQ(Form.Doc.Buttons[0].Pictures[2].Image.width(), 8);

    Add(Form.ToolButton13, "position");
    TypeInto(I().SpinEdit18, "100");
    Load(I().TrackbarRows[0].Open, Bitmap("progress.bmp", 100, 30, qRgb(0, 0, 200)));
    EXPECT_FALSE(I().TrackbarRows[1].Open->isEnabled());
    I().CheckBox5->click(); // the placeholder thumb appears
    EXPECT_TRUE(I().TrackbarRows[1].Open->isEnabled());
    Load(I().TrackbarRows[1].Open, Bitmap("thumb.bmp", 6, 30, qRgb(0, 200, 0)));
    EXPECT_TRUE(PlayerShown());
    auto thumbPixels = [&] {
        int n = 0;
        for (int y = 100; y < 130; ++y)
            for (int x = 0; x < 120; ++x)
                n += At(x, y) == qRgb(0, 200, 0);
        return n;
    };
    EXPECT_GT(thumbPixels(), 0);
    I().CheckBox5->click();
    EXPECT_FALSE(I().TrackbarRows[1].Open->isEnabled());
    EXPECT_EQ(thumbPixels(), 0);
}

TEST_F(EditingWindow, ValuesFromAFileThatNoControlShows) {
    TSkinDocument skin = Form.Doc;
    AddItem(skin, ikWheel, "wheel");
    AddItem(skin, ikText, "text");
    skin.Wheels[0].BallCount = 12;
    skin.Texts[0].TextType = 9;
    ASSERT_EQ(WriteSkinFile(skin, PathOf("odd.skn")), QString());
    Open(PathOf("odd.skn"));
    ASSERT_EQ(Row(), 0);
    EXPECT_EQ(I().SpinEdit13->Value(), 10);
    EXPECT_EQ(Form.Doc.Wheels[0].BallCount, 12);
    TypeInto(I().SpinEdit10, "4");
    EXPECT_EQ(Form.Doc.Wheels[0].BallCount, 10);

    QTest::keyClick(List(), Qt::Key_Down);
    EXPECT_EQ(I().ComboBox4->currentIndex(), -1);
    const QString sample = Form.Doc.Texts[0].PreviewText;
    TypeInto(I().SpinEdit3, "3");
    EXPECT_EQ(Form.Doc.Texts[0].TextType, -1);
    EXPECT_EQ(Form.Doc.Texts[0].PreviewText, sample);
}

TEST_F(EditingWindow, PlaylistPageNumbersColoursAndIcons) {
    Form.ToolButton6->click();
    TPlaylistPanel& page = *Form.PlaylistPanel;
    TPlaylistSettings& look = Form.Doc.Playlist;
    TypeInto(page.SpinEdit20, "150");
    EXPECT_EQ(look.TitleHeight, 150);
    EXPECT_TRUE(PlaylistShown());
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(page.SpinEdit20, &out);
    EXPECT_EQ(look.TitleHeight, 100);
    EXPECT_TRUE(PlaylistShown());

    const QStringList captions = {"Background color", "Directory bg color",  "Directory txt color",
                                  "Item text color",  "Selected item color", "Selected text color",
                                  "Line color"};
    const std::pair<QWidget*, const char*> controls[] = {{&page, "Playlist"},
                                                         {page.SpinEdit20, "SpinEdit20"},
                                                         {page.SpinEdit21, "SpinEdit21"},
                                                         {page.SpinEdit22, "SpinEdit22"},
                                                         {page.SpinEdit23, "SpinEdit23"},
                                                         {page.CheckBox2, "CheckBox2"},
                                                         {page.CheckBox3, "CheckBox3"}};
    for (auto [control, name] : controls)
        EXPECT_EQ(control->objectName(), name);
    EXPECT_EQ(Form.Notebook1->widget(PlayerPage)->objectName(), "Player");
    EXPECT_EQ(Form.PlayerPanel->nbInspector->widget(EmptyInspectorPage)->objectName(), "Empty");
    const QStringList names = {"Button1", "Button2", "Button3", "Button5",
                               "Button4", "Button6", "Button7"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(page.ColorButtons[std::size_t(i)]->text(), captions[i]);
        EXPECT_EQ(page.ColorButtons[std::size_t(i)]->objectName(), names[i]);
    }
    const auto colors = look.Colors;
    Prompts.Colors = {0x010203, 0x040506, 0x070809};
    for (int i : {0, 1, 3})
        page.ColorButtons[std::size_t(i)]->click();
    EXPECT_EQ(Prompts.ColorQuestions, (std::vector<TColor>{colors[0], colors[1], colors[3]}));
    EXPECT_EQ(look.Colors[0], 0x010203u);
    EXPECT_EQ(look.Colors[1], 0x040506u);
    EXPECT_EQ(look.Colors[3], 0x070809u);
    EXPECT_EQ(look.Colors[2], colors[2]);
    page.ColorButtons[6]->click(); // cancelled
    EXPECT_EQ(look.Colors[6], colors[6]);
    EXPECT_TRUE(PlaylistShown());

    Load(page.SongRow.Open, Bitmap("song.bmp", 12, 12));
    EXPECT_EQ(look.SongIcon.Image.size(), QSize(12, 12));
    EXPECT_TRUE(look.SongIcon.Transparent);
    EXPECT_EQ(look.FolderIcon.Image, PlaceholderPicture());
    EXPECT_TRUE(PlaylistShown());
}

TEST_F(EditingWindow, ListCommandsInBothModes) {
    Add(Form.ToolButton12, "a");
    Add(Form.ToolButton11, "b");
    Add(Form.ToolButton13, "c");
    EXPECT_EQ(Row(), 2);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), int(ikTrackbar));

    // Rename on a double-click on the row: its first click selects it.
    Prompts.Names.push_back(QStringLiteral("renamed"));
    const QPoint second = List()->visualItemRect(List()->item(1)).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(Prompts.NameQuestions.back().Caption, "Change name");
    EXPECT_EQ(Prompts.NameQuestions.back().Text, "b");
    EXPECT_EQ(List()->item(1)->text(), "renamed");
    EXPECT_EQ(Form.Doc.Items[1].Name, "renamed");

    Form.ToolButton15->click();
    EXPECT_EQ(List()->item(0)->text(), "renamed");
    EXPECT_EQ(Row(), 0);
    Form.ToolButton15->click(); // already first
    EXPECT_EQ(Row(), 0);
    Form.ToolButton16->click();
    EXPECT_EQ(List()->item(1)->text(), "renamed");
    EXPECT_TRUE(PlayerShown());

    // In playlist mode the hidden list changes and the playlist stays on screen.
    Form.ToolButton6->click();
    Form.ToolButton18->click();
    EXPECT_EQ(Form.Doc.Items.size(), 2);
    EXPECT_TRUE(Form.Doc.Wheels.empty());
    EXPECT_EQ(Row(), 1);
    EXPECT_TRUE(PlaylistShown());
    Add(Form.ToolButton10, "d");
    EXPECT_EQ(Form.Doc.Items.size(), 3);
    EXPECT_TRUE(PlaylistShown());

    Form.ToolButton8->click();
    for (int i = 0; i < 3; ++i)
        Form.ToolButton18->click();
    EXPECT_EQ(List()->count(), 0);
    EXPECT_EQ(Form.PlayerPanel->nbInspector->currentIndex(), EmptyInspectorPage);
    EXPECT_TRUE(PlayerShown());
}

TEST_F(EditingWindow, DitherAsksAndRepaints) {
    Add(Form.ToolButton12, "photo");
    QImage grey(4, 2, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    Form.Doc.Images[0].Picture.Image = grey;
    Form.ToolButton20->click();
    EXPECT_EQ(Form.Doc.Images[0].Picture.Image, grey);
    ASSERT_EQ(Prompts.YesNoQuestions.size(), 1u);
    EXPECT_EQ(Prompts.YesNoQuestions[0].Caption, "Information");

    Prompts.YesNo.push_back(true);
    Form.ToolButton20->click();
    const QImage& done = Form.Doc.Images[0].Picture.Image;
    EXPECT_EQ(done.pixel(0, 0), qRgb(131, 131, 131));
    EXPECT_EQ(done.pixel(1, 0), qRgb(123, 123, 123));
    EXPECT_TRUE(PlayerShown());
}

TEST_F(EditingWindow, ASkinBuiltByTheCommandsSavesReopensAndSavesTheSameBytes) {
    const QString bmp24 = Bitmap("p24.bmp", 9, 7, qRgb(200, 100, 50));
    QImage indexed(5, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), TransparentKey, qRgb(250, 250, 0)});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            indexed.setPixel(x, y, uint((x + y) % 3));
    const QString bmp8 = PathOf("p8.bmp");
    ASSERT_EQ(WriteBitmapFile(indexed, bmp8), QString());
    QImage rgb555(6, 3, QImage::Format_RGB555);
    rgb555.fill(qRgb(255, 0, 255));
    rgb555.setPixel(2, 1, qRgb(8, 132, 255));
    const QString bmp16 = PathOf("p16.bmp");
    ASSERT_EQ(WriteBitmapFile(rgb555, bmp16), QString());
    const QString files[] = {bmp24, bmp8, bmp16};
    int next = 0;
    auto loadAll = [&](auto& rows) {
        for (auto& row : rows)
            if (row.Open->isEnabled()) Load(row.Open, files[next++ % 3]);
    };

    for (int copy = 0; copy < 2; ++copy) {
        const QString n = QString::number(copy);
        Add(Form.ToolButton12, "image " + n);
        Load(I().ImageRow.Open, files[copy]);
        TypeInto(I().SpinEdit1, "1" + n);
        Choose(I().ComboBox7, 3);

        Add(Form.ToolButton10, "text " + n);
        TypeInto(I().SpinEdit5, "12" + n);
        Choose(I().ComboBox4, 4);
        I().CheckBox1->setChecked(copy == 1);
        Prompts.Colors.push_back(0x00336699u + copy);
        I().BitBtn3->click();

        Add(Form.ToolButton9, "button " + n);
        Choose(I().ComboBox5, copy == 0 ? pcPlayPause : pcNextSong);
        loadAll(I().ButtonRows);
        TypeInto(I().SpinEdit9, "-3");

        Add(Form.ToolButton11, "wheel " + n);
        Choose(I().ComboBox8, copy == 0 ? pcEnterSleepDialog : pcVolumeDown);
        TypeInto(I().SpinEdit13, "7");
        Choose(I().ComboBox12, 2);
        loadAll(I().WheelRows);

        Add(Form.ToolButton13, "trackbar " + n);
        if (copy == 0) I().CheckBox5->click();
        TypeInto(I().SpinEdit16, "80");
        loadAll(I().TrackbarRows);
    }
    Form.ToolButton16->click(); // nothing: the last row
    List()->setCurrentRow(0);
    Form.ToolButton16->click();

    Form.ToolButton6->click();
    Load(Form.PlaylistPanel->FolderRow.Open, bmp8);
    Prompts.Colors.push_back(0x00ABCDEFu);
    Form.PlaylistPanel->ColorButtons[4]->click();
    TypeInto(Form.PlaylistPanel->SpinEdit21, "33");

    ASSERT_TRUE(Prompts.Errors.isEmpty()) << Prompts.Errors.join('\n').toStdString();
    const QString first = PathOf("built.skn"), second = PathOf("again.skn");
    Prompts.FileNames.push_back(first);
    Form.ToolButton3->click();
    Open(first);
    ASSERT_TRUE(Prompts.Errors.isEmpty());
    EXPECT_EQ(Form.Doc.Items.size(), 10);
    EXPECT_EQ(Form.Doc.Items[1].Name, "image 0");
    EXPECT_EQ(Form.Doc.Wheels[0].BallCount, 7);
    EXPECT_EQ(Form.Doc.Buttons[1].Pictures[0].Image.size(), QSize(6, 3));
    Prompts.FileNames.push_back(second);
    Form.SaveSkinAs();
    const QByteArray bytes = ReadBytes(first);
    EXPECT_GT(bytes.size(), 1000);
    EXPECT_EQ(bytes, ReadBytes(second));
}

TEST(DesktopPrompts, ViewShowsThePictureInTheOneImageViewer) {
    QWidget main;
    TDesktopPrompts prompts;
    prompts.CreateWindows(&main);
    QImage picture(30, 10, QImage::Format_RGB32);
    picture.fill(TransparentKey);
    QList<TForm2*> seen;
    QImage shown;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, [&] {
            auto* viewer = qobject_cast<TForm2*>(QApplication::activeModalWidget());
            seen << viewer;
            if (!viewer) return;
            shown = viewer->Image1->pixmap().toImage();
            viewer->accept();
        });
        prompts.ViewPicture(picture);
    }
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[0]);
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(shown.size(), QSize(30, 10));
    EXPECT_EQ(shown.pixel(3, 3), TransparentKey);
}

TEST_F(EditingWindow, HeadingsAreBoldInTheWindowFace) {
    int headings = 0;
    for (QLabel* label : Form.PlayerPanel->nbInspector->findChildren<QLabel*>()) {
        if (label->text() != "Position" && label->text() != "Other") continue;
        ++headings;
        EXPECT_TRUE(label->font().bold()) << label->text().toStdString();
        EXPECT_EQ(label->font().family(), Form.font().family());
        EXPECT_EQ(label->font().pixelSize(), Form.font().pixelSize());
    }
    EXPECT_EQ(headings, 6); // Position on every item page, Other on the wheel's
}
