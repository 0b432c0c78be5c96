// The item list with several rows selected: the open skin's rules for Ctrl
// and Shift clicks, and the marks shown beside the names.
#include "editor_fixture.h"
#include "item_inspector.h"
#include "number_field.h"

#include <QListWidget>

namespace {

QList<int> ListRows(const QListWidget* list) {
    QList<int> rows;
    for (const QListWidgetItem* item : list->selectedItems())
        rows << list->row(item);
    std::ranges::sort(rows);
    return rows;
}

} // namespace

TEST_F(EditorTest, TheItemListSelectsSeveralRowsByTheOpenSkinsRules) {
    for (const char* name : {"a", "b", "c", "d", "e"})
        AddItem(Form.Doc, ikImage, name);
    Form.PlayerPanel->ReloadList();
    QListWidget* list = Form.PlayerPanel->lbItems;
    const auto click = [list](int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualItemRect(list->item(row)).center());
    };
    TOpenSkin& skin = Form.Context.Skin;
    click(3);
    click(1, Qt::ShiftModifier);
    EXPECT_EQ(skin.Selection(), QList<int>({1, 2, 3}));
    EXPECT_EQ(skin.Current(), 1);
    click(4, Qt::ControlModifier);
    click(2, Qt::ControlModifier);
    EXPECT_EQ(skin.Selection(), QList<int>({1, 3, 4}));
    EXPECT_EQ(ListRows(list), QList<int>({1, 3, 4}));
    EXPECT_EQ(list->currentRow(), 4);
    EXPECT_EQ(Form.PlayerPanel->SelectedRow(), 4);

    click(0);
    click(0, Qt::ControlModifier); // never emptied
    EXPECT_EQ(ListRows(list), QList<int>({0}));

    skin.SelectAll();
    EXPECT_EQ(ListRows(list).size(), 5);

    skin.SetLocked({2}, true);
    skin.SetHidden({2, 3}, true);
    EXPECT_FALSE(list->item(2)->icon().isNull());
    EXPECT_FALSE(list->item(3)->icon().isNull());
    EXPECT_TRUE(list->item(1)->icon().isNull());
    EXPECT_EQ(list->item(2)->text(), "c");
    skin.SetHidden({3}, false);
    EXPECT_TRUE(list->item(3)->icon().isNull());
}

TEST_F(EditorTest, CtrlASelectsEveryItemUnlessATextFieldHasTheFocus) {
    ASSERT_TRUE(ShowActive());
    for (const char* name : {"a", "b", "c"})
        AddItem(Form.Doc, ikImage, name);
    Form.PlayerPanel->ReloadList();
    TOpenSkin& skin = Form.Context.Skin;
    skin.Select(1);
    TNumberField* x = Form.PlayerPanel->Inspector->SpinEdit1;
    x->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(skin.Selection(), QList<int>({1}));
    EXPECT_TRUE(Form.Cut1->isEnabled());

    Form.PlayerPanel->lbItems->setFocus();
    QTest::keyClick(Form.PlayerPanel->lbItems, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(skin.Selection().size(), 3);
    EXPECT_EQ(skin.Current(), 1);
    skin.Select(-1);
    EXPECT_FALSE(Form.Cut1->isEnabled() || Form.Copy1->isEnabled() || Form.Duplicate1->isEnabled());
}
