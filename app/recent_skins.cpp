#include "recent_skins.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {
QString Absolute(const QString& path) {
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

// Absolute paths, each once, at most the limit.
QStringList Tidied(const QStringList& list) {
    QStringList kept;
    for (const QString& path : list) {
        const QString absolute = Absolute(path);
        if (!absolute.isEmpty() && !kept.contains(absolute)) kept << absolute;
        if (kept.size() == TRecentSkins::Limit) break;
    }
    return kept;
}
} // namespace

void TRecentSkins::Take(const QStringList& list) {
    const QStringList kept = Tidied(list);
    if (kept == List) return;
    List = kept;
    Q_EMIT Changed();
}

void TRecentSkins::Apply(const TEdit& edit) {
    const TEdit tidied = [&edit](QStringList list) { return Tidied(edit(Tidied(list))); };
    std::optional<QStringList> stored;
    if (Store) stored = Store(tidied);
    Take(stored ? *stored : tidied(List));
}

void TRecentSkins::SetPaths(const QStringList& paths) {
    Take(paths);
}

void TRecentSkins::Add(const QString& path) {
    Apply([path](QStringList list) {
        list.prepend(path);
        return list;
    });
}

void TRecentSkins::Remove(const QString& path) {
    Apply([path = Absolute(path)](QStringList list) {
        list.removeAll(path);
        return list;
    });
}

void TRecentSkins::Clear() {
    Apply([](const QStringList&) { return QStringList(); });
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
