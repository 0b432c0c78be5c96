#include "bitmap_file.h"
#include "editing_fixture.h"
#include "file_size_limit.h"
#include "item_list.h"
#include "picture_rows.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class PictureSlots : public ::testing::Test, public TEditingFixture {
  protected:
    QTemporaryDir Dir;
    TPictureSlots Slots{Context, [this] { return Selected; }};

    // A w x h bitmap file with a magenta pixel at (1, 0) and a grey one elsewhere.
    QString Bitmap(const QString& name, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(qRgb(90, 90, 90));
        img.setPixel(1, 0, TransparentKey);
        const QString path = Dir.filePath(name);
        EXPECT_EQ(WriteBitmapFile(img, path), QString());
        return path;
    }
    QString TextFile(const QByteArray& bytes) {
        const QString path = Dir.filePath("notes.txt");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    int Add(int kind) {
        Selected = AddItem(Doc, kind, "item");
        return Selected;
    }
};

} // namespace

TEST_F(PictureSlots, OpenReplacesThePictureKeepsPositionAndTransparencyAsOneChange) {
    Add(ikButton);
    TiButton& b = Doc.Buttons.back();
    b.X = 10;
    b.Y = 20;
    Prompts.FileNames = {Bitmap("b.bmp", 100, 40)};
    Slots.BitBtn4Click(0);
    EXPECT_EQ(Prompts.Asked, QStringList{"AskFileName OpenPicture"});
    EXPECT_EQ(b.Pictures[0].Image.size(), QSize(100, 40));
    EXPECT_EQ(b.Pictures[0].Image.pixel(1, 0), TransparentKey);
    EXPECT_TRUE(b.Pictures[0].Transparent);
    EXPECT_EQ(b.X, 10);
    EXPECT_EQ(b.Y, 20);
    EXPECT_EQ(b.Pictures[1].Image, PlaceholderPicture());
    EXPECT_EQ(Log, QStringList{"Changed Picture"});

    Add(ikImage);
    Prompts.FileNames = {Bitmap("i.bmp", 7, 3)};
    Slots.OnImgPic(0);
    EXPECT_EQ(Doc.Images[0].Picture.Image.size(), QSize(7, 3));
    EXPECT_FALSE(Doc.Images[0].Picture.Transparent);
}

TEST_F(PictureSlots, EveryNumberReachesItsSlot) {
    Add(ikWheel);
    const QString path = Bitmap("w.bmp", 5, 5);
    for (int slot = 0; slot < 8; ++slot) {
        Prompts.FileNames = {path};
        Slots.BitBtn8Click(slot);
        EXPECT_EQ(Doc.Wheels[0].Pictures[std::size_t(slot)].Image.width(), 5) << slot;
    }
    Add(ikTrackbar);
    Prompts.FileNames = {path};
    Slots.BitBtn47Click(1);
    EXPECT_EQ(Doc.Trackbars[0].Pictures[1].Image.width(), 5);
    EXPECT_EQ(Doc.Trackbars[0].Pictures[0].Image.width(), 15);

    Prompts.FileNames = {path};
    Slots.BitBtn53Click(1);
    EXPECT_EQ(Doc.Playlist.SongIcon.Image.width(), 5);
    EXPECT_EQ(Doc.Playlist.FolderIcon.Image.width(), 15);
    EXPECT_TRUE(Doc.Playlist.SongIcon.Transparent);

    // View sends the slot's picture; numbers that reach no slot or no action do nothing.
    Selected = 0; // the wheel again
    Slots.BitBtn8Click(27);
    ASSERT_EQ(Prompts.ViewedPictures.size(), 1u);
    EXPECT_EQ(Prompts.ViewedPictures[0], Doc.Wheels[0].Pictures[7].Image);
    Prompts.Asked.clear();
    Log.clear();
    Add(ikButton);
    for (int n : {4, 14, 30, -1})
        Slots.BitBtn4Click(n);
    Slots.BitBtn53Click(12);
    Slots.OnImgPic(0); // the current item is no image
    EXPECT_TRUE(Prompts.Asked.isEmpty());
    EXPECT_TRUE(Log.isEmpty());
}

TEST_F(PictureSlots, CancelAndErrorsLeaveTheSlotAndThePreviewAlone) {
    Add(ikButton);
    const QImage before = Doc.Buttons[0].Pictures[0].Image;
    QByteArray truncated;
    {
        QFile f(Bitmap("t.bmp", 4, 4));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        truncated = f.readAll().chopped(3);
    }
    const QString cut = Dir.filePath("cut.bmp");
    {
        QFile f(cut);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(truncated);
    }
    const QString missing = Dir.filePath("missing.bmp");
    Prompts.FileNames = {std::nullopt, TextFile("Just some words in a text file."), cut, missing,
                         TextFile("")};
    for (int i = 0; i < 5; ++i)
        Slots.BitBtn4Click(0);
    EXPECT_EQ(Prompts.Errors,
              (QStringList{"Bitmap image is not valid.", "Stream read error.",
                           QStringLiteral("Cannot open file \"%1\". File not found.").arg(missing),
                           "Bitmap image is not valid."}));
    EXPECT_EQ(Doc.Buttons[0].Pictures[0].Image, before);
    EXPECT_TRUE(Log.isEmpty());
}

TEST_F(PictureSlots, SaveWritesThePictureAndChangesNothing) {
    Add(ikTrackbar);
    const QString path = Dir.filePath("saved.bmp");
    Prompts.FileNames = {path};
    Slots.BitBtn47Click(10);
    EXPECT_TRUE(Log.isEmpty()) << "the skin is not changed";
    const TBitmapReadResult back = ReadBitmapFile(path);
    ASSERT_EQ(back.Error, QString());
    EXPECT_EQ(back.Image.convertToFormat(QImage::Format_RGB32), PlaceholderPicture());

    Log.clear();
    const QString nowhere = Dir.filePath("no/dir/x.bmp");
    Prompts.FileNames = {std::nullopt, nowhere};
    Slots.BitBtn47Click(11);
    Slots.BitBtn47Click(11);
    EXPECT_EQ(
        Prompts.Errors,
        QStringList{QStringLiteral("Cannot create file \"%1\". File not found.").arg(nowhere)});
    EXPECT_TRUE(Log.isEmpty());
}

TEST_F(PictureSlots, SaveOntoAFullDiskKeepsTheOldFile) {
    Add(ikTrackbar);
    const QString path = Dir.filePath("old.bmp");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    Prompts.FileNames = {path};
    {
        TFileSizeLimit limit{100}; // the placeholder's bitmap is about 800 bytes
        Slots.BitBtn47Click(10);
    }
    EXPECT_EQ(Prompts.Errors,
              QStringList{QStringLiteral("Cannot create file \"%1\". Disk full.").arg(path)});
    QFile back(path);
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), "old");
    EXPECT_TRUE(Log.isEmpty());
}

TEST(PictureRow, ControlsCarryTheirNumbersAndADisabledRowDoesNothing) {
    QWidget page;
    std::vector<int> clicked;
    const TPictureRow row = MakePictureRow(
        {QStringLiteral("Image (2) normal"), "BitBtn64", 2, "BitBtn63", 12, "BitBtn62", 22},
        TPictureRowStyle::Captioned, [&](int n) { clicked.push_back(n); }, &page);
    EXPECT_EQ(row.Open->objectName(), "BitBtn64");
    EXPECT_EQ(row.Open->text(), "Open");
    EXPECT_EQ(row.Save->text(), "Save");
    EXPECT_EQ(row.View->text(), "View");
    EXPECT_GT(row.View->sizeHint().height() + row.View->minimumHeight(),
              row.Open->minimumHeight() * 2 - 1);
    row.Open->click();
    row.Save->click();
    row.View->click();
    EXPECT_EQ(clicked, (std::vector<int>{2, 12, 22}));
    row.SetEnabled(false);
    row.Open->click();
    row.View->click();
    EXPECT_EQ(clicked.size(), 3u);

    const TPictureRow icons = MakePictureRow(
        {QStringLiteral("Folder icon"), "BitBtn53", 0, "BitBtn54", 10, "BitBtn55", 20},
        TPictureRowStyle::Icons, [&](int n) { clicked.push_back(n); }, &page);
    EXPECT_TRUE(icons.Save->text().isEmpty());
    EXPECT_FALSE(icons.Save->icon().isNull());
    icons.Save->click();
    EXPECT_EQ(clicked.back(), 10);
}

TEST_F(PictureSlots, APngOpensWithEachSlotsAlphaRuleAndSavesBackAsAPng) {
    QImage soft(2, 1, QImage::Format_ARGB32);
    soft.setPixel(0, 0, qRgba(0, 255, 255, 100));
    soft.setPixel(1, 0, qRgba(0, 255, 255, 200));
    const QString png = Dir.filePath("soft.png");
    ASSERT_TRUE(soft.save(png, "PNG"));

    Add(ikButton);
    Prompts.FileNames = {png};
    Slots.BitBtn4Click(0);
    const QImage& keyed = Doc.Buttons[0].Pictures[0].Image;
    EXPECT_EQ(keyed.pixel(0, 0), TransparentKey);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(0, 255, 255));

    // Saved under a .png name, the key pixel is transparent again.
    const QString saved = Dir.filePath("saved.png");
    Prompts.FileNames = {saved};
    Slots.BitBtn4Click(10);
    const QImage back(saved, "PNG");
    EXPECT_EQ(qAlpha(back.pixel(0, 0)), 0);
    EXPECT_EQ(back.pixel(1, 0), qRgb(0, 255, 255));

    Add(ikImage);
    Prompts.FileNames = {png};
    Slots.OnImgPic(0);
    EXPECT_EQ(Doc.Images[0].Picture.Image.pixel(0, 0), qRgb(0, 100, 100));
}
