// Notices when the skin file the editor has open is rewritten by another
// program: the file and its folder are watched (a file replaced by a rename
// is a new file the watch must take up again), a burst of changes counts as
// one, and a file that still looks as the editor last knew it (its own save)
// is no news.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <sys/types.h>

class TSkinFileWatch : public QObject {
    Q_OBJECT

  public:
    explicit TSkinFileWatch(QObject* parent = nullptr);

    // Watches the path (nothing for an empty one) and takes what is there
    // now as known.
    void Watch(const QString& path);
    // Takes what is there now as known, e.g. after the editor's own save.
    void Know();
    QString Path() const { return File; }

  Q_SIGNALS:
    // The file is there and differs from the last known state.
    void Rewritten();

  private:
    struct TStamp {
        bool Exists = false;
        dev_t Device = 0;
        ino_t Inode = 0;
        off_t Size = 0;
        qint64 ModifiedNs = 0;
        qint64 ChangedNs = 0;
        bool operator==(const TStamp&) const = default;
    };
    TStamp StampNow() const;
    void Settle();
    void Rewatch();

    QString File;
    TStamp Known;
    QFileSystemWatcher Watcher;
    QTimer Quiet; // the burst is over when the file stays still this long
};
