// Each kind of step, without a window: undo gives back the document as it
// was, redo the document after the step.
#include "any_record.h"
#include "dither.h"
#include "dither_step.h"
#include "item_list.h"
#include "item_steps.h"
#include "record_steps.h"
#include "sample_skin.h"

#include <gtest/gtest.h>

namespace {

// Runs the step as the history does: redo, then undo and redo again.
template <class Step> void ExpectUndoAndRedo(TSkinDocument& doc, Step& step) {
    const TSkinDocument before = doc;
    step.redo();
    const TSkinDocument after = doc;
    EXPECT_NE(after, before);
    step.undo();
    EXPECT_EQ(doc, before);
    step.redo();
    EXPECT_EQ(doc, after);
    step.undo();
    EXPECT_EQ(doc, before);
}

int RowOf(const TSkinDocument& doc, TItemKind kind, int index) {
    for (int row = 0; row < doc.Items.size(); ++row)
        if (doc.Items[row].Kind == kind && doc.Items[row].Index == index) return row;
    return -1;
}

} // namespace

TEST(EditSteps, ARecordStepChangesOnlyItsRecord) {
    TSkinDocument doc = MakeRichSkin();
    const int row = RowOf(doc, ikWheel, 1);
    TAnyRecord after = *RecordAt(doc, doc.Items[row]);
    ASSERT_EQ(KindOf(after), ikWheel);
    std::get<TiWheel>(after).BallCount = 7;
    std::get<TiWheel>(after).Pictures[3].Image = PatternImage(3, 3, 9);
    TRecordStep step(doc, row, *RecordAt(doc, doc.Items[row]), after, "Change");
    ExpectUndoAndRedo(doc, step);
    step.redo();
    EXPECT_EQ(doc.Wheels[1].BallCount, 7);
    // The replaced picture is what the history alone keeps alive.
    EXPECT_EQ(step.HeldBytes(false), MakeRichSkin().Wheels[1].Pictures[3].Image.sizeInBytes());
    EXPECT_EQ(step.HeldBytes(true), PatternImage(3, 3, 9).sizeInBytes());
}

TEST(EditSteps, RecordStepsMergeOnlyWithinOneRunOfOneField) {
    TSkinDocument doc = MakeRichSkin();
    const int row = RowOf(doc, ikText, 0);
    auto withX = [&](int x) {
        TAnyRecord r = *RecordAt(doc, doc.Items[row]);
        std::get<TiText>(r).X = x;
        return r;
    };
    const TSkinDocument before = doc;
    TRecordStep first(doc, row, *RecordAt(doc, doc.Items[row]), withX(1), "Change",
                      {TMergeField::X, 4});
    first.redo();
    TRecordStep second(doc, row, *RecordAt(doc, doc.Items[row]), withX(12), "Change",
                       {TMergeField::X, 4});
    second.redo();
    EXPECT_TRUE(first.mergeWith(&second));
    TRecordStep otherField(doc, row, *RecordAt(doc, doc.Items[row]), withX(13), "Change",
                           {TMergeField::Y, 4});
    TRecordStep otherRun(doc, row, *RecordAt(doc, doc.Items[row]), withX(13), "Change",
                         {TMergeField::X, 5});
    TRecordStep choice(doc, row, *RecordAt(doc, doc.Items[row]), withX(13), "Change");
    EXPECT_FALSE(first.mergeWith(&otherField));
    EXPECT_FALSE(first.mergeWith(&otherRun));
    EXPECT_FALSE(first.mergeWith(&choice));
    first.undo();
    EXPECT_EQ(doc, before);
    first.redo();
    EXPECT_EQ(doc.Texts[0].X, 12);
    // Typed back to where it started: the merged step changes nothing.
    TRecordStep back(doc, row, *RecordAt(doc, doc.Items[row]), withX(before.Texts[0].X), "Change",
                     {TMergeField::X, 4});
    EXPECT_TRUE(first.mergeWith(&back));
    EXPECT_TRUE(first.isObsolete());
}

TEST(EditSteps, PictureStepsReplaceOnePictureOfAnItemOrOfThePlaylist) {
    TSkinDocument doc = MakeRichSkin();
    const int row = RowOf(doc, ikButton, 0);
    TPictureStep button(doc, row, 2, PatternImage(5, 4, 3), "Open");
    ExpectUndoAndRedo(doc, button);
    button.redo();
    EXPECT_EQ(doc.Buttons[0].Pictures[2].Image, PatternImage(5, 4, 3));
    EXPECT_TRUE(doc.Buttons[0].Pictures[2].Transparent);
    TPictureStep song(doc, -1, 1, PatternImage(6, 6, 4), "Open");
    ExpectUndoAndRedo(doc, song);
    TPictureStep image(doc, RowOf(doc, ikImage, 1), 0, PatternImage(2, 2, 5), "Open");
    ExpectUndoAndRedo(doc, image);
}

TEST(EditSteps, PlaylistStepsChangeTheLookAndMergeLikeRecords) {
    TSkinDocument doc = MakeRichSkin();
    TPlaylistSettings look = doc.Playlist;
    look.TitleHeight = 77;
    look.Colors[3] = 0x123456;
    TPlaylistStep step(doc, look, "Change", {TMergeField::TitleHeight, 1});
    ExpectUndoAndRedo(doc, step);
}

TEST(EditSteps, AddDeleteMoveRenameAndPaste) {
    TSkinDocument doc = MakeRichSkin();
    TSkinDocument source = MakeRichSkin();
    for (int row = 0; row < doc.Items.size(); ++row) {
        SCOPED_TRACE(row);
        TDeleteItemStep del(doc, row, "Delete");
        ExpectUndoAndRedo(doc, del);
        del.redo();
        TSkinDocument expected = source;
        DeleteItem(expected, row);
        EXPECT_EQ(doc, expected);
        del.undo();
    }
    TAddItemStep add(doc, *LooseItemAt(source, RowOf(source, ikWheel, 0)), "Add");
    ExpectUndoAndRedo(doc, add);
    add.redo();
    EXPECT_EQ(doc.Items.back().Index, 2);
    EXPECT_EQ(doc.Wheels[2], source.Wheels[0]);
    add.undo();

    TMoveItemStep move(doc, 3, 2, "Move up");
    ExpectUndoAndRedo(doc, move);
    TRenameItemStep rename(doc, 4, "new name", "Rename");
    ExpectUndoAndRedo(doc, rename);
    TPasteItemsStep paste(doc, {*LooseItemAt(source, 0), *LooseItemAt(source, 4)}, "Paste");
    ExpectUndoAndRedo(doc, paste);
    EXPECT_EQ(paste.Change(false).Count, 2);
}

TEST(EditSteps, DitherIsOneStepThatPutsTheVeryPicturesBack) {
    TSkinDocument doc = MakeRichSkin();
    TSkinDocument dithered = doc;
    DitherAllPictures(dithered);
    const QImage first = doc.Images[0].Picture.Image;
    TDitherStep step(doc, "Dither pictures");
    ExpectUndoAndRedo(doc, step);
    step.redo();
    EXPECT_EQ(doc, dithered);
    step.undo();
    EXPECT_EQ(doc.Images[0].Picture.Image.cacheKey(), first.cacheKey());
    EXPECT_GT(step.HeldBytes(false), 0);
}

TEST(EditSteps, DeleteAndDitherHoldOnlyWhatTheDocumentLetGo) {
    TSkinDocument doc = MakeRichSkin();
    qint64 button = 0;
    for (const TPicture& p : doc.Buttons[0].Pictures)
        button += p.Image.sizeInBytes();
    TDeleteItemStep del(doc, RowOf(doc, ikButton, 0), "Delete");
    del.redo();
    EXPECT_EQ(del.HeldBytes(false), button);
    del.undo();
    EXPECT_EQ(del.HeldBytes(true), 0); // the document holds them again

    // Dithering widens a 24-bit picture to 32 bits: each side holds its own.
    TSkinDocument one;
    one.Images.resize(1);
    one.Images[0].Picture.Image = PatternImage(5, 3).convertToFormat(QImage::Format_RGB888);
    one.Items.append({ikImage, 0, "i"});
    const qint64 narrow = one.Images[0].Picture.Image.sizeInBytes();
    TDitherStep dither(one, "Dither pictures");
    dither.redo();
    EXPECT_EQ(dither.HeldBytes(false), narrow);
    dither.undo();
    EXPECT_EQ(dither.HeldBytes(true), 5 * 4 * 3);
}
