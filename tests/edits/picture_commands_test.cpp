// The picture commands through the open skin, without a window.
#include "picture_commands.h"
#include "picture_file.h"
#include "record_steps.h"
#include "sample_skin.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PictureCommands, OpenAndDitherAreOneStepEachAndABadFileChangesNothing) {
    TOpenSkin skin(MakeRichSkin());
    const TSkinDocument start = skin.Doc();
    int row = 0;
    while (start.Items[row].Kind != ikImage)
        ++row;
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("p.bmp"));
    ASSERT_TRUE(PatternImage(5, 4, 3).save(picture));
    const QString damaged = dir.filePath(QStringLiteral("d.bmp"));
    ASSERT_TRUE(QFile(picture).copy(damaged));
    QFile(damaged).resize(20);

    EXPECT_EQ(OpenPictureCommand(skin, row, 0, picture), QString());
    const TPicture& slot = *PictureAt(skin.Doc(), row, 0);
    EXPECT_EQ(slot.Image, ReadSlotPicture(picture, slot.Transparent).Image);
    EXPECT_EQ(slot.Image.size(), QSize(5, 4));
    const QImage opened = slot.Image;
    EXPECT_EQ(skin.Edits().History().count(), 1);

    EXPECT_FALSE(OpenPictureCommand(skin, row, 0, damaged).isEmpty());
    EXPECT_EQ(OpenPictureCommand(skin, row, 7, picture), QString()) << "no such slot: nothing";
    EXPECT_EQ(skin.Edits().History().count(), 1);

    EXPECT_EQ(DitherCommand(skin), QString());
    EXPECT_EQ(skin.Edits().History().count(), 2);
    EXPECT_NE(PictureAt(skin.Doc(), row, 0)->Image, opened)
        << "the pattern's low bits are dithered away";
    while (skin.Edits().History().canUndo())
        skin.Edits().Undo();
    EXPECT_EQ(skin.Doc(), start);
    EXPECT_FALSE(skin.Unsaved());
}
