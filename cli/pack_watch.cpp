#include "pack_watch.h"

#include "cli_error.h"
#include "file_io.h"
#include "skin_folder.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMap>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <new>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A drawing program saves in a burst (a temporary file, a rename, its
// metadata): one pack once the folder has been quiet this long.
constexpr int QuietMs = 150;

int SignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const int saved = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(SignalPipe[1], &byte, 1);
    errno = saved;
}

// What a pack reads from the folder, as far as a change shows: each file's
// size, time and inode (a file replaced by a rename is a new inode).
using TFolderState = QMap<QString, std::tuple<qint64, qint64, qint64, ino_t>>;

class TPackWatch {
  public:
    TPackWatch(const QString& dir, const QString& out)
        : Dir(QDir::cleanPath(dir)), Out(QFileInfo(out).absoluteFilePath()), OutArgument(out) {
        Quiet.setSingleShot(true);
        Quiet.setInterval(QuietMs);
        QObject::connect(&Quiet, &QTimer::timeout, [this] { PackIfChanged(); });
        const auto changed = [this](const QString&) { Quiet.start(); };
        QObject::connect(&Watcher, &QFileSystemWatcher::directoryChanged, changed);
        QObject::connect(&Watcher, &QFileSystemWatcher::fileChanged, changed);
    }

    void Start() {
        const QFileInfo folder(Dir);
        if (!folder.exists()) FailFile(Dir, QStringLiteral("File not found."));
        if (!folder.isDir()) FailFile(Dir, QStringLiteral("Not a folder."));
        Watch();
        if (!Watcher.directories().contains(Dir))
            FailFile(Dir, QStringLiteral("Cannot watch this folder."));
        PackIfChanged();
    }

  private:
    // The folder, its subfolders and their files; a file replaced by a
    // rename has left the watcher, and a new one is not in it yet.
    TFolderState Watch() {
        TFolderState state;
        QStringList folders{Dir}, files;
        QDirIterator it(Dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info = it.fileInfo();
            if (info.absoluteFilePath() == Out) continue; // written here
            if (info.isDir()) {
                folders.append(path);
                continue;
            }
            files.append(path);
            struct stat st {};
            if (stat(QFile::encodeName(path).constData(), &st) == 0)
                state.insert(path, {qint64(st.st_size), qint64(st.st_mtim.tv_sec),
                                    qint64(st.st_mtim.tv_nsec), st.st_ino});
        }
        const QStringList watchedList = Watcher.directories() + Watcher.files();
        const QSet<QString> watched(watchedList.begin(), watchedList.end());
        QStringList fresh;
        for (const QStringList& paths : {folders, files})
            for (const QString& path : paths)
                if (!watched.contains(path)) fresh.append(path);
        if (!fresh.isEmpty()) Watcher.addPaths(fresh);
        return state;
    }

    void PackIfChanged() {
        TFolderState state = Watch();
        if (Packed && state == Last) return; // our own save, or a change undone
        Last = std::move(state);
        Packed = true;
        TCliOutput unused;
        try {
            WriteSkinArgument(PackSkin(Dir), OutArgument, unused);
        } catch (const TCliError& error) {
            std::fputs(qPrintable(ErrorLine(error)), stderr);
        } catch (const std::bad_alloc&) {
            std::fputs("skntool: Out of memory.\n", stderr);
        }
        std::fflush(stderr);
    }

    const QString Dir, Out, OutArgument;
    QFileSystemWatcher Watcher;
    QTimer Quiet;
    TFolderState Last;
    bool Packed = false;
};

} // namespace

void WatchAndPack(const QString& dir, const QString& out) {
    if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        FailFile(dir, QStringLiteral("Cannot watch this folder."));
    QSocketNotifier signalled(SignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalled, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    TPackWatch watch(dir, out);
    watch.Start();
    QCoreApplication::exec();

    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    close(SignalPipe[0]);
    close(SignalPipe[1]);
}
