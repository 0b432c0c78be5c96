#include "skin_folder.h"

#include "bitmap_file.h"
#include "cli_error.h"
#include "file_errors.h"
#include "file_io.h"
#include "skin_json.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>

namespace {

[[noreturn]] void FailErrno(const QString& path, int error) {
    FailFile(path, FileErrorText(error != 0 ? error : EIO) + QLatin1Char('.'));
}

// Writes every file into a hidden folder inside dir, then moves them in, so
// that a failure part-way leaves the folder as it was.
void StageFolder(const TSkinDocument& doc, const QString& dir) {
    QTemporaryDir staging(QDir(dir).filePath(QStringLiteral(".skntool-XXXXXX")));
    if (!staging.isValid()) FailFile(dir, staging.errorString() + QLatin1Char('.'));

    QStringList names;
    const auto writePicture = [&](const TPicture& picture, const QString& place) -> QJsonValue {
        if (picture.Image.isNull()) return QJsonValue::Null; // a bitmap cannot be 0 x 0
        const QString name = place + QStringLiteral(".bmp");
        const QString staged = staging.filePath(name);
        // The skin keeps 5 bits per channel, so 24 bits lose nothing.
        QString error =
            WriteBitmapFile(picture.Image.convertToFormat(QImage::Format_RGB888), staged);
        if (!error.isEmpty())
            FailFile(QDir(dir).filePath(name), error.replace(staged, QDir(dir).filePath(name)));
        names.append(name);
        return name;
    };
    const QJsonObject json = SkinToJson(doc, writePicture);
    WriteFileBytes(staging.filePath(SkinJsonName), QJsonDocument(json).toJson());
    names.append(SkinJsonName);

    // The one obstacle rename(2) meets in a folder we may write: a folder in the way.
    for (const QString& name : names)
        if (QFileInfo(QDir(dir).filePath(name)).isDir())
            FailFile(QDir(dir).filePath(name), QStringLiteral("Is a folder."));
    for (const QString& name : names) {
        const QString target = QDir(dir).filePath(name);
        // rename(2) replaces an existing file in one step, which QFile::rename does not.
        if (std::rename(QFile::encodeName(staging.filePath(name)).constData(),
                        QFile::encodeName(target).constData()) != 0)
            FailErrno(target, errno);
    }
}

QString JsonErrorText(const QByteArray& bytes, const QJsonParseError& error) {
    const QByteArray before = bytes.left(error.offset);
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = error.offset - (before.lastIndexOf('\n') + 1) + 1;
    return QStringLiteral("Not valid JSON: %1 (line %2, column %3).")
        .arg(error.errorString())
        .arg(line)
        .arg(column);
}

} // namespace

void UnpackSkin(const TSkinDocument& doc, const QString& dir) {
    const QFileInfo info(dir);
    bool created = false;
    if (info.exists() && !info.isDir()) FailFile(dir, QStringLiteral("Not a folder."));
    if (!info.exists()) {
        errno = 0;
        if (!QDir().mkpath(dir)) FailErrno(dir, errno);
        created = true;
    }
    try {
        StageFolder(doc, dir);
    } catch (...) {
        if (created) QDir(dir).removeRecursively();
        throw;
    }
}

TSkinDocument PackSkin(const QString& dir) {
    const QString jsonPath = QDir(dir).filePath(SkinJsonName);
    const QByteArray bytes = ReadFileBytes(jsonPath);
    QJsonParseError parseError{};
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        FailFile(jsonPath, JsonErrorText(bytes, parseError));
    if (!json.isObject()) FailFile(jsonPath, QStringLiteral("The file must hold one JSON object."));

    const auto readPicture = [&](const QJsonValue& value, const QString& key) -> QImage {
        if (value.isNull()) return QImage();
        if (!value.isString() || value.toString().isEmpty())
            throw TSchemaError{
                QStringLiteral("\"%1\" must be a bitmap file name or null.").arg(key)};
        const QString path = QDir(dir).filePath(value.toString());
        TBitmapReadResult bitmap = ReadBitmapFile(path);
        if (!bitmap.Error.isEmpty()) FailFile(path, bitmap.Error);
        return bitmap.Image;
    };
    try {
        return SkinFromJson(json.object(), readPicture);
    } catch (const TSchemaError& error) {
        FailFile(jsonPath, error.Text);
    }
}
