// How a skntool command fails: the exit status, the file it concerns and the
// text, printed as "skntool: PATH: TEXT".
#pragma once

#include <QString>

inline constexpr int ExitOk = 0;
inline constexpr int ExitFileError = 1; // unreadable, unwritable or not a valid skin
inline constexpr int ExitUsage = 2;

struct TCliError {
    int Status = ExitFileError;
    QString Path; // empty for usage errors, which name no file, and texts that name it
    QString Text; // full stop included
};

[[noreturn]] inline void FailFile(const QString& path, const QString& text) {
    throw TCliError{ExitFileError, path, text};
}
// A text that names its file itself ("Cannot create file "x". Disk full.").
[[noreturn]] inline void FailNamed(const QString& text) {
    throw TCliError{ExitFileError, {}, text};
}
[[noreturn]] inline void FailUsage(const QString& text) {
    throw TCliError{ExitUsage, {}, text};
}
