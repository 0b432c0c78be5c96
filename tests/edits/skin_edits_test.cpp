// The door: steps pushed, merged, undone and redone, what it tells the
// views, a drag from press to release, and the bound on the history.
#include "item_steps.h"
#include "record_steps.h"
#include "sample_skin.h"
#include "skin_edits.h"

#include <gtest/gtest.h>

namespace {

class SkinEdits : public ::testing::Test {
  protected:
    TSkinDocument Doc = MakeRichSkin();
    TSkinEdits Edits{Doc};
    std::vector<TEditChange> Seen;

    void SetUp() override {
        QObject::connect(&Edits, &TSkinEdits::Changed,
                         [this](const TEditChange& change) { Seen.push_back(change); });
    }
    void TypeX(int row, int x, TMergeField field = TMergeField::X) {
        TAnyRecord r = *RecordAt(Doc, Doc.Items[row]);
        TAnyRecord after = r;
        SetPosition(after, QPoint(x, PositionOf(r).y()));
        Edits.Push(std::make_unique<TRecordStep>(Doc, row, r, after, "Change",
                                                 TMergeRun{field, Edits.MergeGeneration()}));
    }
};

} // namespace

TEST_F(SkinEdits, KeystrokesInOneFieldAreOneStepUntilTheFieldIsLeft) {
    const TSkinDocument start = Doc;
    TypeX(0, 1);
    TypeX(0, 12);
    TypeX(0, 123);
    EXPECT_EQ(Edits.History().count(), 1);
    Edits.EndMerge();
    TypeX(0, 5);
    EXPECT_EQ(Edits.History().count(), 2);
    Edits.SetCurrentRow(3); // another item ends the run too
    TypeX(0, 6);
    EXPECT_EQ(Edits.History().count(), 3);
    // An edit from the inspector itself does not reload it; undo does.
    EXPECT_FALSE(Seen.back().Reload);
    Edits.Undo();
    EXPECT_TRUE(Seen.back().Reload);
    EXPECT_EQ(Seen.back().Row, 0);
    Edits.Undo();
    Edits.Undo();
    EXPECT_EQ(Doc, start);
    EXPECT_FALSE(Edits.History().canUndo());
    Edits.Redo();
    EXPECT_EQ(Doc.Images[0].X, 123);
}

TEST_F(SkinEdits, AStepTypedBackToWhereItStartedLeavesNoStep) {
    const int x = Doc.Images[0].X;
    TypeX(0, 1);
    TypeX(0, x);
    EXPECT_EQ(Edits.History().count(), 0);
    EXPECT_EQ(Edits.History().index(), 0);
    TypeX(0, 4);
    EXPECT_EQ(Edits.History().count(), 1);
}

TEST_F(SkinEdits, ADragIsOneStepAndACancelledOneNone) {
    const TSkinDocument start = Doc;
    const int row = 3; // the wheel, BallCount and all
    ASSERT_TRUE(Edits.BeginMove(row));
    Edits.MoveTo(QPoint(5, 6));
    Edits.MoveTo(QPoint(7, 8));
    EXPECT_EQ(Doc.Wheels[0].X, 7);
    EXPECT_TRUE(Seen.back().Reload);
    Edits.CancelMove();
    EXPECT_EQ(Doc, start);
    EXPECT_EQ(Edits.History().count(), 0);

    ASSERT_TRUE(Edits.BeginMove(row));
    Edits.MoveTo(QPoint(9, 10));
    Edits.EndMove(QStringLiteral("Move \"wheel\""));
    EXPECT_EQ(Edits.History().undoText(), "Move \"wheel\"");
    TSkinDocument moved = start;
    moved.Wheels[0].X = 9;
    moved.Wheels[0].Y = 10;
    EXPECT_EQ(Doc, moved);
    Edits.Undo();
    EXPECT_EQ(Doc, start);
    // A drag that ends where it began is no step.
    ASSERT_TRUE(Edits.BeginMove(row));
    Edits.EndMove(QStringLiteral("Move"));
    EXPECT_EQ(Edits.History().count(), 1);
    EXPECT_TRUE(Edits.History().canRedo());
}

TEST_F(SkinEdits, TheOldestStepsGoWhenTheirPicturesPassTheBoundButNeverTheNewest) {
    const QImage big = PatternImage(100, 100, 1); // 40,000 bytes
    Edits.SetHeldBytesBound(100'000);
    const int row = 0; // the background image
    for (int i = 0; i < 5; ++i)
        Edits.Push(
            std::make_unique<TPictureStep>(Doc, row, 0, PatternImage(100, 100, i + 2), "Open"));
    // Each step keeps the picture it replaced: 40,000 bytes apiece (the
    // first one, the 240 x 268 original, more).
    EXPECT_LE(Edits.HeldBytes(), 100'000);
    EXPECT_EQ(Edits.History().count(), 2);
    Edits.Undo();
    Edits.Undo();
    EXPECT_EQ(Doc.Images[0].Picture.Image, PatternImage(100, 100, 4));
    EXPECT_FALSE(Edits.History().canUndo());
    Edits.Redo();
    Edits.Redo();
    EXPECT_EQ(Doc.Images[0].Picture.Image, PatternImage(100, 100, 6));

    // A single step beyond the bound stays.
    Edits.SetHeldBytesBound(10);
    Edits.Push(std::make_unique<TPictureStep>(Doc, row, 0, big, "Open"));
    EXPECT_EQ(Edits.History().count(), 1);
    Edits.Undo();
    EXPECT_EQ(Doc.Images[0].Picture.Image, PatternImage(100, 100, 6));
}

TEST_F(SkinEdits, ItemStepsTellTheRowsTheyChanged) {
    Edits.Push(std::make_unique<TDeleteItemStep>(Doc, 2, "Delete"));
    EXPECT_EQ(Seen.back().What, TEditChange::ItemsRemoved);
    EXPECT_EQ(Seen.back().Row, 2);
    Edits.Undo();
    EXPECT_EQ(Seen.back().What, TEditChange::ItemsAdded);
    EXPECT_EQ(Seen.back().Row, 2);
    Edits.Push(std::make_unique<TMoveItemStep>(Doc, 4, 5, "Move down"));
    EXPECT_EQ(Seen.back().Row, 5);
    Edits.Undo();
    EXPECT_EQ(Seen.back().What, TEditChange::ItemsSwapped);
    EXPECT_EQ(Seen.back().Row, 4);
    EXPECT_EQ(Seen.back().OtherRow, 5);
}

TEST_F(SkinEdits, TheSavedStateMovesWithTheStepsWhenTheOldestGo) {
    Edits.SetHeldBytesBound(100'000);
    const int row = 0;
    auto push = [&](int seed) {
        Edits.Push(
            std::make_unique<TPictureStep>(Doc, row, 0, PatternImage(100, 100, seed), "Open"));
    };
    push(2);
    push(3);
    Edits.History().setClean(); // saved with picture 3
    push(4);
    push(5);
    ASSERT_LT(Edits.History().count(), 4); // the oldest went
    EXPECT_FALSE(Edits.History().isClean());
    while (!Edits.History().isClean() && Edits.History().canUndo())
        Edits.Undo();
    EXPECT_EQ(Doc.Images[0].Picture.Image, PatternImage(100, 100, 3));

    // Saved at a state whose step is dropped: no state of the history is clean.
    Edits.History().setIndex(0);
    Edits.History().setClean();
    push(6);
    push(7);
    push(8);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(Edits.History().isClean());
        Edits.Undo();
    }
}

TEST_F(SkinEdits, DroppingOldStepsAnnouncesNoSave) {
    Edits.SetHeldBytesBound(100'000);
    std::vector<bool> announced;
    QObject::connect(&Edits, &TSkinEdits::SavedChanged,
                     [&announced](bool saved) { announced.push_back(saved); });
    for (int seed = 2; seed < 7; ++seed)
        Edits.Push(std::make_unique<TPictureStep>(Doc, 0, 0, PatternImage(100, 100, seed), "Open"));
    ASSERT_LT(Edits.History().count(), 5) << "the oldest went";
    EXPECT_TRUE(Edits.Unsaved());
    EXPECT_EQ(announced, std::vector<bool>{false}) << "unsaved once, at the first step";
}

TEST_F(SkinEdits, AnEditThatChangesNothingIsNoStepAndKeepsRedo) {
    TypeX(0, 7);
    Edits.Undo();
    const TSkinDocument before = Doc;
    TypeX(0, PositionOf(*RecordAt(Doc, Doc.Items[0])).x()); // "00" over 0
    Edits.Push(std::make_unique<TRenameItemStep>(Doc, 1, Doc.Items[1].Name, "Rename"));
    EXPECT_TRUE(Edits.History().canRedo());
    EXPECT_EQ(Edits.History().index(), 0);
    EXPECT_FALSE(Edits.Unsaved());
    EXPECT_EQ(Doc, before);
}
