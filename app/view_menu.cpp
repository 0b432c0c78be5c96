// The View menu: try mode, the problems list, zoom to fit, the pixel grid
// and how the preview shows what a save keeps; all but zoom to fit are
// checkable entries.
// Checking the entry is the one way each is turned on or off, so whatever
// sets it (the user, a remembered setting) gets the same result.
#include "main_window.h"
#include "preview_gestures.h"
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
    ZoomToFit1 = view->addAction(QStringLiteral("Zoom to fit"));
    ZoomToFit1->setObjectName(QStringLiteral("ZoomToFit1"));
    ZoomToFit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    ZoomToFit1->setShortcutContext(Qt::WindowShortcut);
    connect(ZoomToFit1, &QAction::triggered, this, [this] {
        Gestures->Cancel();
        Pane->ZoomToFit();
    });
    PixelGrid1 = view->addAction(QStringLiteral("Pixel grid"));
    PixelGrid1->setObjectName(QStringLiteral("PixelGrid1"));
    PixelGrid1->setCheckable(true);
    connect(PixelGrid1, &QAction::toggled, this, [this](bool on) { Pane->SetPixelGrid(on); });
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
