// The View menu: try mode and the problems list, each a checkable entry,
// and how the preview shows what a save keeps.
// Checking the entry is the one way each is turned on or off, so whatever
// sets it (the user, a remembered setting) gets the same result.
#include "main_window.h"
#include "preview_pane.h"
#include "view_panels.h"

#include <QAction>
#include <QMenu>

void TForm1::CreateViewMenu(QMenu* view) {
    view->setObjectName(QStringLiteral("View1"));
    const auto toggle = [this, view](const QString& caption, const QKeySequence& key,
                                     const char* name, void (TViewPanels::*handler)(bool)) {
        QAction* action = view->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::toggled, this,
                [this, handler](bool on) { (View.get()->*handler)(on); });
        return action;
    };
    Try1 = toggle(QStringLiteral("Try the skin"), QKeySequence(Qt::CTRL | Qt::Key_T), "Try1",
                  &TViewPanels::SetTrying);
    Problems1 = toggle(QStringLiteral("Problems"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                       "Problems1", &TViewPanels::SetProblemsShown);
    // How the preview shows what a save keeps: the last two entries.
    const auto paneToggle = [this, view](const QString& caption, const QKeySequence& key,
                                         const char* name, void (TPreviewPane::*handler)(bool)) {
        QAction* action = view->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::toggled, this,
                [this, handler](bool on) { (Pane.get()->*handler)(on); });
    };
    paneToggle(QStringLiteral("Preview as saved"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
               "PreviewAsSaved1", &TPreviewPane::SetPreviewAsSaved);
    paneToggle(QStringLiteral("Show what a save changes"), QKeySequence(), "SaveChanges1",
               &TPreviewPane::SetSaveChangesMarked);
}
