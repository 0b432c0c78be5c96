#include "focus_keys.h"

#include "main_window.h"
#include "player_panel.h"
#include "playlist_panel.h"
#include "preview_area.h"
#include "preview_pane.h"
#include "problems_panel.h"
#include "sample_values_panel.h"
#include "view_panels.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>

namespace {

constexpr int PanDivisor = 10; // Ctrl + arrow pans by this part of the area

// The first control of page that Tab reaches, in the order Tab takes.
QWidget* FirstControlOf(QWidget* page) {
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (!page->isAncestorOf(w)) continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(page) &&
            !w->focusProxy())
            return w;
    }
    return nullptr;
}

void FocusInto(QWidget* target) {
    for (QWidget* up = target->parentWidget(); up; up = up->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(target);
            break;
        }
    target->setFocus(Qt::TabFocusReason);
}

class TFocusKeys : public QObject {
  public:
    explicit TFocusKeys(TForm1& form) : QObject(&form), Form(form) {
        auto key = [this](const char* name, const QKeySequence& keys, auto run) {
            auto* action = new QAction(&Form);
            action->setObjectName(QString::fromLatin1(name));
            action->setShortcut(keys);
            action->setShortcutContext(Qt::WindowShortcut);
            connect(action, &QAction::triggered, this, run);
            Form.addAction(action);
        };
        key("NextPaneKey", QKeySequence(Qt::Key_F6), [this] { Cycle(1); });
        key("PreviousPaneKey", QKeySequence(Qt::SHIFT | Qt::Key_F6), [this] { Cycle(-1); });
        // As on most desktops: the first menu opens, the arrows go on from there.
        key("MenuKey", QKeySequence(Qt::Key_F10), [this] {
            const QList<QAction*> menus = Form.menuBar()->actions();
            if (!menus.isEmpty()) Form.menuBar()->setActiveAction(menus.first());
        });
        // The toolbar's commands that have no key of their own, as a menu.
        key("ToolbarMenuKey", QKeySequence(Qt::Key_Insert), [this] { ShowToolbarMenu(); });
        Form.PlayerPanel->lbItems->installEventFilter(this);
        Form.imArea->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == Form.PlayerPanel->lbItems) return ItemListKey(key);
        if (watched == Form.imArea) return PreviewKey(key);
        return false;
    }

  private:
    bool PlayerMode() const { return Form.Skin.View().PlayerMode; }

    void ShowToolbarMenu() {
        QMenu menu(&Form);
        for (QToolButton* button : {Form.ToolButton12, Form.ToolButton10, Form.ToolButton9,
                                    Form.ToolButton11, Form.ToolButton13, Form.ToolButton20}) {
            if (button == Form.ToolButton20) menu.addSeparator();
            connect(menu.addAction(button->icon(), button->toolTip()), &QAction::triggered, button,
                    &QToolButton::click);
        }
        // Opened where the keyboard is, its first entry ready for Enter.
        const QWidget* focus = QApplication::focusWidget();
        const QWidget* at = focus && focus->window() == &Form ? focus : Form.centralWidget();
        QAction* first = menu.actions().first();
        QMetaObject::invokeMethod(
            &menu, [&menu, first] { menu.setActiveAction(first); }, Qt::QueuedConnection);
        menu.exec(at->mapToGlobal(at->rect().center()), first);
    }

    // The inspector's first control for the current item, if one is shown.
    QWidget* InspectorStop() const {
        QStackedWidget* pages = Form.PlayerPanel->nbInspector;
        if (!PlayerMode() || pages->currentIndex() == EmptyInspectorPage) return nullptr;
        return FirstControlOf(pages->currentWidget());
    }

    // The parts F6 visits, in order; a part not on show is left out.
    QList<QWidget*> Stops() const {
        QList<QWidget*> stops;
        if (PlayerMode()) {
            stops << Form.PlayerPanel->lbItems;
            if (QWidget* inspector = InspectorStop()) stops << inspector;
        } else if (QWidget* first = FirstControlOf(Form.PlaylistPanel)) {
            stops << first;
        }
        stops << Form.imArea;
        if (!Form.ViewPanels().Problems->isHidden()) stops << Form.ViewPanels().Problems->List;
        return stops;
    }

    // Which part holds the focus: the index of its stop, -1 for none.
    int StopHolding(const QList<QWidget*>& stops, QWidget* focus) const {
        if (!focus) return -1;
        for (int i = 0; i < stops.size(); ++i) {
            QWidget* region = stops[i];
            if (region != Form.imArea && region != Form.PlayerPanel->lbItems &&
                region != Form.ViewPanels().Problems->List)
                region = PlayerMode() ? static_cast<QWidget*>(Form.PlayerPanel->nbInspector)
                                      : Form.PlaylistPanel;
            if (region == focus || region->isAncestorOf(focus)) return i;
        }
        // The sample values under the preview belong with it.
        if (Form.ViewPanels().Samples->isAncestorOf(focus))
            return int(stops.indexOf(static_cast<QWidget*>(Form.imArea)));
        return -1;
    }

    void Cycle(int step) {
        const QList<QWidget*> stops = Stops();
        const int at = StopHolding(stops, QApplication::focusWidget());
        const int count = int(stops.size());
        const int next = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
        FocusInto(stops[next]);
    }

    bool ItemListKey(const QKeyEvent* key) {
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        QWidget* inspector = InspectorStop();
        if (!inspector) return false;
        FocusInto(inspector);
        return true;
    }

    bool PreviewKey(const QKeyEvent* key) {
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Tab && mods == Qt::NoModifier) ||
            key->key() == Qt::Key_Backtab) {
            if (!PlayerMode()) return false;
            const int row =
                NextTabItem(Form.Skin, Form.Skin.Current(), key->key() == Qt::Key_Tab ? 1 : -1);
            if (row >= 0) Form.Preview().ShowItem(row);
            return true;
        }
        if (mods != Qt::ControlModifier) return false;
        const QSize area = Form.imArea->size();
        QPoint by;
        switch (key->key()) {
        case Qt::Key_Left:
            by = QPoint(-area.width() / PanDivisor, 0);
            break;
        case Qt::Key_Right:
            by = QPoint(area.width() / PanDivisor, 0);
            break;
        case Qt::Key_Up:
            by = QPoint(0, -area.height() / PanDivisor);
            break;
        case Qt::Key_Down:
            by = QPoint(0, area.height() / PanDivisor);
            break;
        default:
            return false;
        }
        Form.Preview().PanTo(Form.Preview().PreviewView().Offset + by);
        return true;
    }

    TForm1& Form;
};

} // namespace

bool TabReachesItem(const TOpenSkin& skin, int row) {
    return row >= 0 && row < skin.Doc().Items.size() && !skin.Hidden(row) && !skin.Locked(row);
}

int NextTabItem(const TOpenSkin& skin, int row, int step) {
    const int count = int(skin.Doc().Items.size());
    if (count == 0) return -1;
    // With nothing current, Tab starts at the bottom item, Shift+Tab at the top one.
    int at = row >= 0 && row < count ? row : (step > 0 ? -1 : count);
    for (int tried = 0; tried < count; ++tried) {
        at = ((at + step) % count + count) % count;
        if (TabReachesItem(skin, at)) return at;
    }
    return -1;
}

void InstallFocusKeys(TForm1& form) {
    new TFocusKeys(form);
}
