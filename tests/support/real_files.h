// Real files for the tests of the file layer: their bytes, their metadata,
// and a body run in a child process, as the unprivileged user `nobody`
// (root only) or with some system calls refused (refused_calls.h).
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

inline QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

inline void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline struct stat Stat(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

inline QByteArray Pattern(qint64 size, char seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7);
    return bytes;
}

inline QStringList Entries(const QString& dir) {
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs body in a child process once prepare (run there first) succeeded;
// its text comes back, nullopt when the child could not be started.
inline std::optional<QString> InChild(const std::function<bool()>& prepare,
                                      const std::function<QString()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return std::nullopt;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        int status = 1;
        if (prepare()) {
            const QByteArray text = body().toUtf8();
            status =
                ::write(fds[1], text.constData(), std::size_t(text.size())) == text.size() ? 0 : 1;
        }
        ::_exit(status);
    }
    ::close(fds[1]);
    QByteArray text;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return QString::fromUtf8(text);
}

// Runs body in a child process as user `nobody`; its text comes back.
inline std::optional<QString> AsNobody(const std::function<QString()>& body) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody) return std::nullopt;
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    return InChild([uid, gid] { return ::setgid(gid) == 0 && ::setuid(uid) == 0; }, body);
}
