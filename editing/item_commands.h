// The item list commands of the toolbar (the five Add commands, Move up, Move
// down, Delete), Rename on a double-click, and the dither command. They work
// on the item list in both modes, each pushing one step through the door;
// the list view lbItems follows what the door says changed, row for row.
#pragma once

#include "editor_context.h"

#include <QByteArray>

#include <functional>

class QListWidget;

class TItemCommands {
  public:
    // lbItemsClick shows the selected row's item in the inspector (and
    // repaints the player screen); showEmptyPage shows "(no item selected)".
    TItemCommands(TEditorContext& context, QListWidget* lbItems, std::function<void()> lbItemsClick,
                  std::function<void()> showEmptyPage);

    // Appends an item of the kind with its defaults and pictures; the list
    // gains its row, which is selected and shown. No repaint of its own.
    // Returns the new row.
    int CreateDocItem(int kind, const QByteArray& name);

    void ToolButton12Click(); // "Add image"
    void ToolButton10Click(); // "Add text"
    void ToolButton9Click();  // "Add button"
    void ToolButton11Click(); // "Add wheel"
    void ToolButton13Click(); // "Add trackbar"
    void ToolButton15Click(); // "Move up"
    void ToolButton16Click(); // "Move down"
    void ToolButton18Click(); // "Delete", without a question
    void lbItemsDblClick();   // Rename the selected item
    void ToolButton20Click(); // "Dither pictures (recommended)", after a question

    // The open skin's current item, which the list mirrors; selecting a row
    // outside the list selects none. No inspector, no repaint.
    int Current() const;
    void Select(int row);

  private:
    void AddCommand(int kind);
    // The list, the selection and the inspector after a step or its undo.
    void Follow(const TEditChange& change);
    void Show(int row);
    // The list shows the open skin's selection, the inspector its current item.
    void ShowSelection();
    // What the user picked in the list with the keys goes to the open skin.
    void ListPicked();

    TEditorContext& Context;
    QListWidget* lbItems;
    std::function<void()> RefillInspector;
    std::function<void()> EmptyInspector;
};

// Fills the list with one row per entry of Items, nothing selected; the
// caller blocks the list's signals.
void FillItemList(QListWidget* list, const TSkinDocument& doc);

// The list's selected row, or -1.
int SelectedListRow(const QListWidget* list);

// Selects the row (none for a row outside the list) without running the
// list's own handler: callers run lbItemsClick themselves, once.
void SelectListRow(QListWidget* list, int row);

// The list shows the open skin's selected rows and current row, without
// running its own handlers.
void MirrorSelection(QListWidget* list, const TOpenSkin& skin);

// A click on a row: with Ctrl it toggles the row, with Shift it selects
// the range from the current row, else that row alone.
void ClickListRow(QListWidget* list, TOpenSkin& skin, int row, Qt::KeyboardModifiers modifiers);

// Each row's lock and hide marks as its icon; the text stays the name.
void ShowMarks(QListWidget* list, const TOpenSkin& skin);

// The dither question, two sentences joined by one carriage return.
extern const QString DitherQuestion;
