// How a skntool command fails: the exit status, the file it concerns and the
// text, printed as "skntool: PATH: TEXT".
#pragma once

#include <QString>

inline constexpr int ExitOk = 0;
inline constexpr int ExitFileError = 1; // unreadable, unwritable or not a valid skin
inline constexpr int ExitUsage = 2;

struct TCliError {
    int Status = ExitFileError;
    QString Path; // empty for usage errors, which name no file
    QString Text; // full stop included
};

// The file layer's texts name their file, "Cannot open file "PATH". Cause.";
// a message names it once, before the text, so that gives "Cause.".
QString WithoutFileNamed(const QString& text, const QString& path);

[[noreturn]] inline void FailFile(const QString& path, const QString& text) {
    throw TCliError{ExitFileError, path, WithoutFileNamed(text, path)};
}
// "skntool: PATH: TEXT" and a newline, as a failed command prints it.
QString ErrorLine(const TCliError& error);

[[noreturn]] inline void FailUsage(const QString& text) {
    throw TCliError{ExitUsage, {}, text};
}
