// Keys for the commands that have only a toolbar button: the item order,
// the mode and the zoom. They are window-wide actions outside the menu, so
// the menu and the toolbar stay as they are; none takes a key the menu has.
#include "main_window.h"

#include "preview_pane.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QToolButton>

void TForm1::CreateCommandKeys() {
    auto key = [this](const char* name, const QList<QKeySequence>& keys,
                      const std::function<void()>& run) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
    };
    key("MoveUpKey", {QKeySequence(Qt::ALT | Qt::Key_Up)}, [this] { ToolButton15Click(); });
    key("MoveDownKey", {QKeySequence(Qt::ALT | Qt::Key_Down)}, [this] {
        // Alt+Down still opens a focused drop-down list, as everywhere else.
        if (auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget())) {
            combo->showPopup();
            return;
        }
        ToolButton16Click();
    });
    // As a click on the toggle: the group runs the mode switch.
    key("PlayerModeKey", {QKeySequence(Qt::CTRL | Qt::Key_1)}, [this] { ToolButton8->click(); });
    key("PlaylistModeKey", {QKeySequence(Qt::CTRL | Qt::Key_2)}, [this] { ToolButton6->click(); });
    // Ctrl+= is where Plus lies unshifted on many keyboards.
    key("ZoomInKey",
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [this] { Pane->StepZoom(1); });
    key("ZoomOutKey", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { Pane->StepZoom(-1); });
}
