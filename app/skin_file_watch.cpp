#include "skin_file_watch.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {
constexpr int QuietMs = 200;
}

TSkinFileWatch::TSkinFileWatch(QObject* parent) : QObject(parent) {
    Quiet.setSingleShot(true);
    Quiet.setInterval(QuietMs);
    connect(&Quiet, &QTimer::timeout, this, &TSkinFileWatch::Settle);
    connect(&Watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        Rewatch();
        Quiet.start(); // again: the file is still being written
    });
    // Other files of a busy folder must not put the look at this one off for ever.
    connect(&Watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        Rewatch();
        if (!Quiet.isActive()) Quiet.start();
    });
}

void TSkinFileWatch::Watch(const QString& path) {
    if (!Watcher.files().isEmpty()) Watcher.removePaths(Watcher.files());
    if (!Watcher.directories().isEmpty()) Watcher.removePaths(Watcher.directories());
    Quiet.stop();
    File = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (File.isEmpty()) return;
    Watcher.addPath(QFileInfo(File).absolutePath());
    Rewatch();
    Know();
}

void TSkinFileWatch::Know() {
    Known = StampNow();
}

void TSkinFileWatch::Rewatch() {
    // A rename over the file leaves the watch on the old, gone inode.
    if (!File.isEmpty() && !Watcher.files().contains(File) && QFileInfo::exists(File))
        Watcher.addPath(File);
}

TSkinFileWatch::TStamp TSkinFileWatch::StampNow() const {
    struct stat st;
    if (File.isEmpty() || ::stat(QFile::encodeName(File).constData(), &st) != 0) return {};
    return {true,
            st.st_dev,
            st.st_ino,
            st.st_size,
            qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
            qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
}

void TSkinFileWatch::Settle() {
    const TStamp now = StampNow();
    if (!now.Exists || now == Known) return;
    Q_EMIT Rewritten();
}
