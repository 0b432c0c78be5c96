// The skins opened or saved last, newest first, and the "Open recent"
// submenu that lists them. The list lives in memory; the desktop session
// keeps it from one run to the next.
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMenu;

class TRecentSkins : public QObject {
    Q_OBJECT

  public:
    static constexpr int Limit = 10;

    const QStringList& Paths() const { return List; }
    // Absolute paths, duplicates and entries beyond the limit dropped.
    void SetPaths(const QStringList& paths);
    // Puts the path first (taking it out of where it was).
    void Add(const QString& path);
    void Remove(const QString& path);
    void Clear();

  Q_SIGNALS:
    void Changed();

  private:
    void Take(QStringList list);
    QStringList List;
};

// Keeps the menu listing the skins (file name, full path as tooltip), then a
// separator and "Clear list"; choosing an entry calls open with its path.
void FillRecentMenu(QMenu* menu, TRecentSkins& recent,
                    const std::function<void(const QString&)>& open);
