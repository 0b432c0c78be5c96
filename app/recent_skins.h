// The skins opened or saved last, newest first, and the "Open recent"
// submenu that lists them. The list lives in memory and, once a store is
// given, in the settings shared by every running editor: each change is made
// to the stored list as it is then, so that two editors never undo each
// other's changes.
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QMenu;

class TRecentSkins : public QObject {
    Q_OBJECT

  public:
    static constexpr int Limit = 10;

    using TEdit = std::function<QStringList(QStringList)>;
    // Applies the edit to the stored list, as one step no other editor can
    // come between, and returns the list stored; nothing when the store
    // cannot be used (then the change stays in memory).
    using TStore = std::function<std::optional<QStringList>(const TEdit& edit)>;

    const QStringList& Paths() const { return List; }
    // Absolute paths, duplicates and entries beyond the limit dropped; the
    // store is not touched (this is what it held).
    void SetPaths(const QStringList& paths);
    void SetStore(TStore store) { Store = std::move(store); }
    // Puts the path first (taking it out of where it was).
    void Add(const QString& path);
    void Remove(const QString& path);
    void Clear();

  Q_SIGNALS:
    void Changed();

  private:
    void Apply(const TEdit& edit);
    void Take(const QStringList& list);
    QStringList List;
    TStore Store;
};

// Keeps the menu listing the skins (file name, full path as tooltip), then a
// separator and "Clear list"; choosing an entry calls open with its path.
void FillRecentMenu(QMenu* menu, TRecentSkins& recent,
                    const std::function<void(const QString&)>& open);
