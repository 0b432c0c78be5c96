// The open skin as one object: replacing its document, its title, its
// selection and its view.
#include "item_steps.h"
#include "open_skin.h"
#include "sample_skin.h"

#include <gtest/gtest.h>

TEST(OpenSkin, ReplaceStartsAFreshHistoryWhoseSavedStateTheCallerGives) {
    TOpenSkin skin(MakeRichSkin());
    QStringList titles;
    QObject::connect(&skin, &TOpenSkin::TitleChanged,
                     [&titles](const QString& title) { titles << title; });
    skin.Select(2);
    skin.Edits().Push(std::make_unique<TDeleteItemStep>(skin.Doc(), 0, "Delete"));
    ASSERT_TRUE(skin.Unsaved());

    TSkinDocument restored = MakeDefaultSkin();
    restored.FileName = "/somewhere/a[*].skn";
    restored.Untitled = false;
    skin.Replace(restored, false); // a restored copy that differs from its file
    EXPECT_EQ(skin.Current(), -1);
    EXPECT_FALSE(skin.Edits().History().canUndo());
    EXPECT_EQ(skin.Doc(), restored);
    EXPECT_EQ(skin.Title(), "Kelvane LumoraSkin 1.0 - [a[*].skn]*");
    skin.Replace(restored);
    EXPECT_EQ(titles.last(), "Kelvane LumoraSkin 1.0 - [a[*].skn]");
}

TEST(OpenSkin, SelectionAndViewTellTheirViewsOnlyOfChanges) {
    TOpenSkin skin(MakeRichSkin());
    int selections = 0, views = 0;
    QObject::connect(&skin, &TOpenSkin::SelectionChanged, [&selections] { ++selections; });
    QObject::connect(&skin, &TOpenSkin::ViewChanged, [&views] { ++views; });
    skin.Select(1);
    skin.Select(1);
    skin.Select(int(skin.Doc().Items.size())); // no such row: none
    EXPECT_EQ(skin.Current(), -1);
    EXPECT_EQ(selections, 2);

    TViewState view = skin.View();
    view.Zoom = 2;
    skin.SetView(view);
    skin.SetView(view);
    EXPECT_EQ(views, 1);
    EXPECT_EQ(skin.View().Zoom, 2);
}
