#include "pack_watch.h"

#include "cli_error.h"
#include "file_io.h"
#include "skin_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A drawing program saves in a burst (a temporary file, a rename, its
// metadata): the files a pack reads must hold still this long first.
constexpr int QuietMs = 150;
// Events can be missed (a folder removed and made again takes its watch
// with it): the files are looked at this often besides.
constexpr int PollMs = 400;

int SignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const int saved = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(SignalPipe[1], &byte, 1);
    errno = saved;
}

// One file as far as a change shows: which file it is (a file replaced by a
// rename is another), its size and time. All zero while it is missing.
struct TFileState {
    dev_t Dev = 0;
    ino_t Ino = 0;
    qint64 Size = 0, Seconds = 0, Nanoseconds = 0;
    bool operator==(const TFileState&) const = default;
};

// skin.json and each file it names, by the name the folder's text gives.
using TFolderState = QMap<QString, TFileState>;

// Only the files a pack reads count: any other file in the folder may change
// as often as it likes (a log, an editor's swap file, OUT itself however it is
// spelt) without a pack, and without holding one back.
class TPackWatch {
  public:
    TPackWatch(const QString& dir, const QString& out)
        : Dir(QDir::cleanPath(dir)), OutArgument(out), Names{SkinJsonName} {
        Settle.setSingleShot(true);
        QObject::connect(&Settle, &QTimer::timeout, [this] { Check(); });
        Poll.setInterval(PollMs);
        QObject::connect(&Poll, &QTimer::timeout, [this] { Check(); });
        const auto changed = [this](const QString&) {
            if (!Settle.isActive()) Settle.start(QuietMs);
        };
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
        Seen = Current();
        Pack();
        Poll.start();
    }

  private:
    TFileState StateOf(const QString& name) const {
        struct stat st {};
        if (::stat(QFile::encodeName(Dir + u'/' + name).constData(), &st) != 0) return {};
        // OUT, known by what it is rather than how it is spelt, is written here.
        if (st.st_dev == OutDev && st.st_ino == OutIno) return {};
        return {st.st_dev, st.st_ino, qint64(st.st_size), qint64(st.st_mtim.tv_sec),
                qint64(st.st_mtim.tv_nsec)};
    }

    TFolderState Current() const {
        TFolderState state;
        for (const QString& name : Names)
            state.insert(name, StateOf(name));
        return state;
    }

    // The folder, the one around it (where it would be made again), and each
    // followed file with its folder; the watcher drops what is removed.
    void Watch() {
        QSet<QString> wanted{Dir, QFileInfo(Dir).absolutePath()};
        for (const QString& name : Names) {
            const QString path = Dir + u'/' + name;
            wanted << path << QFileInfo(path).absolutePath();
        }
        const QStringList watchedList = Watcher.directories() + Watcher.files();
        const QSet<QString> watched(watchedList.begin(), watchedList.end());
        QStringList fresh;
        for (const QString& path : wanted)
            if (!watched.contains(path) && QFileInfo::exists(path)) fresh.append(path);
        if (!fresh.isEmpty()) Watcher.addPaths(fresh);
    }

    void Check() {
        TFolderState now = Current();
        Watch();
        if (now != Seen) {
            Seen = std::move(now);
            Since.start();
        }
        if (Seen == Packed) return; // our own save, or a change undone
        if (const qint64 waited = Since.elapsed(); waited < QuietMs) {
            Settle.start(int(QuietMs - waited));
            return;
        }
        Pack();
    }

    void Pack() {
        const QSet<QString> before = Names;
        QSet<QString> named;
        bool packed = false;
        TCliOutput unused;
        try {
            WriteSkinArgument(PackSkin(Dir, &named), OutArgument, unused);
            packed = true;
        } catch (const TCliError& error) {
            std::fputs(qPrintable(ErrorLine(error)), stderr);
        } catch (const std::bad_alloc&) {
            std::fputs("skntool: Out of memory.\n", stderr);
        }
        std::fflush(stderr);
        // A failed pack read only so far: the names it did not reach stay followed.
        Names = packed ? named : named + before;
        Names.insert(SkinJsonName);
        struct stat out {};
        const bool hasOut = ::stat(QFile::encodeName(OutArgument).constData(), &out) == 0;
        OutDev = hasOut ? out.st_dev : 0;
        OutIno = hasOut ? out.st_ino : 0;
        // A file followed before counts as it was when the pack began, so that
        // a change made during the pack packs again; one newly named, as it is.
        TFolderState state;
        for (const QString& name : Names)
            state.insert(name, before.contains(name) && Seen.contains(name) ? Seen.value(name)
                                                                            : StateOf(name));
        Seen = Packed = state;
        Since.start();
        Watch();
    }

    const QString Dir, OutArgument;
    QSet<QString> Names; // relative to the folder, as skin.json gives them
    QFileSystemWatcher Watcher;
    QTimer Settle, Poll;
    QElapsedTimer Since; // since Seen was last different
    TFolderState Seen, Packed;
    dev_t OutDev = 0;
    ino_t OutIno = 0;
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
