#include "recent_skins.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {
QString Absolute(const QString& path) {
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}
} // namespace

void TRecentSkins::Take(QStringList list) {
    QStringList kept;
    for (const QString& path : list) {
        const QString absolute = Absolute(path);
        if (!absolute.isEmpty() && !kept.contains(absolute)) kept << absolute;
        if (kept.size() == Limit) break;
    }
    if (kept == List) return;
    List = kept;
    Q_EMIT Changed();
}

void TRecentSkins::SetPaths(const QStringList& paths) {
    Take(paths);
}

void TRecentSkins::Add(const QString& path) {
    QStringList list = List;
    list.prepend(path);
    Take(list);
}

void TRecentSkins::Remove(const QString& path) {
    QStringList list = List;
    list.removeAll(Absolute(path));
    Take(list);
}

void TRecentSkins::Clear() {
    Take({});
}

void FillRecentMenu(QMenu* menu, TRecentSkins& recent,
                    const std::function<void(const QString&)>& open) {
    menu->setToolTipsVisible(true);
    auto fill = [menu, &recent, open] {
        // Later, not now: the entry that asked for this may still be signalling.
        for (QAction* old : menu->actions()) {
            menu->removeAction(old);
            old->deleteLater();
        }
        for (const QString& path : recent.Paths()) {
            QAction* entry = menu->addAction(QFileInfo(path).fileName());
            entry->setToolTip(path);
            QObject::connect(entry, &QAction::triggered, menu, [open, path] { open(path); });
        }
        menu->addSeparator();
        QAction* clear = menu->addAction(QStringLiteral("Clear list"));
        clear->setObjectName(QStringLiteral("ClearList1"));
        clear->setEnabled(!recent.Paths().isEmpty());
        QObject::connect(clear, &QAction::triggered, &recent, &TRecentSkins::Clear);
    };
    fill();
    QObject::connect(&recent, &TRecentSkins::Changed, menu, fill);
}
