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

#include <functional>

void TForm1::CreateViewMenu(QMenu* view) {
    view->setObjectName(QStringLiteral("View1"));
    const auto entry = [this, view](const QString& caption, const QKeySequence& key,
                                    const char* name) {
        QAction* action = view->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        return action;
    };
    const auto toggle = [this, &entry](const QString& caption, const QKeySequence& key,
                                       const char* name, std::function<void(bool)> handler) {
        QAction* action = entry(caption, key, name);
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, std::move(handler));
        return action;
    };
    Try1 = toggle(QStringLiteral("Try the skin"), QKeySequence(Qt::CTRL | Qt::Key_T), "Try1",
                  [this](bool on) { View->SetTrying(on); });
    Problems1 = toggle(QStringLiteral("Problems"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                       "Problems1", [this](bool on) { View->SetProblemsShown(on); });
    ZoomToFit1 =
        entry(QStringLiteral("Zoom to fit"), QKeySequence(Qt::CTRL | Qt::Key_0), "ZoomToFit1");
    connect(ZoomToFit1, &QAction::triggered, this, [this] {
        Gestures->Cancel();
        Pane->ZoomToFit();
    });
    PixelGrid1 = toggle(QStringLiteral("Pixel grid"), QKeySequence(), "PixelGrid1",
                        [this](bool on) { Pane->SetPixelGrid(on); });
    // How the preview shows what a save keeps: the last two entries.
    toggle(QStringLiteral("Preview as saved"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
           "PreviewAsSaved1", [this](bool on) { Pane->SetPreviewAsSaved(on); });
    toggle(QStringLiteral("Show what a save changes"), QKeySequence(), "SaveChanges1",
           [this](bool on) { Pane->SetSaveChangesMarked(on); });
}
