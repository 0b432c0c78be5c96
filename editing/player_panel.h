// The "Player" page of the left panel: the item list lbItems above the
// property inspector nbInspector, whose page numbers are the item kinds.
#pragma once

#include "editor_context.h"

#include <QWidget>

#include <memory>

class QLabel;
class QListWidget;
class QStackedWidget;
class TItemCommands;
class TItemInspector;

// Pages of nbInspector: 0..4 are the TItemKind values.
inline constexpr int EmptyInspectorPage = 5;

class TPlayerPanel : public QWidget {
    Q_OBJECT

  public:
    TPlayerPanel(TEditorContext& context, QWidget* parent = nullptr);
    ~TPlayerPanel() override;

    // The row of the current item, or -1 when none is selected.
    int SelectedRow() const;

    // Rebuilds the rows from the document's item names, selecting nothing.
    void ReloadList();

    // Selects a row (-1 for none) without running lbItemsClick.
    void SelectRow(int row);

    // Shows the current item: its kind's page, the repaint that marks it,
    // then its values. Runs only while a row is selected.
    void lbItemsClick();

    // The "(no item selected)" page.
    void ShowEmptyPage();

    QListWidget* lbItems = nullptr;
    QStackedWidget* nbInspector = nullptr;
    QLabel* lbNoItem = nullptr;
    // Pages 0..4 of nbInspector with their handlers, and the commands that
    // change the list (the toolbar's, and Rename on a double-click).
    TItemInspector* Inspector = nullptr;
    std::unique_ptr<TItemCommands> Commands;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ListSelectionChanged();

    TEditorContext& Context;
};
