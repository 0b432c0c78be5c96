#include "skin_folder.h"

#include "bitmap_file.h"
#include "bitmap_rows.h"
#include "cli_error.h"
#include "file_errors.h"
#include "folder_file.h"
#include "json_keys.h"
#include "picture_file.h"
#include "skin_json.h"
#include "staged_files.h"
#include "staging_folder.h"
#include "whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>

#include <cerrno>
#include <cstdio>
#include <map>
#include <new>
#include <unordered_map>

namespace {

[[noreturn]] void FailErrno(const QString& path, int error) {
    FailFile(path, FileErrorText(error != 0 ? error : EIO) + QLatin1Char('.'));
}

// The pictures unpack has written, found again by their 24-bit pixels and,
// for PNG files, by whether their key pixels are transparent. Only the slot's
// own (shared) picture is kept, compared a row at a time.
class TWrittenPictures {
  public:
    const QString* Find(const QImage& picture, size_t hash, bool keyed) const {
        const auto range = Names.equal_range(hash);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second.Keyed == keyed &&
                (it->second.Picture == picture || SameRgb(it->second.Picture, picture)))
                return &it->second.Name;
        return nullptr;
    }
    void Add(const QImage& picture, size_t hash, bool keyed, const QString& name) {
        Names.emplace(hash, TEntry{picture, keyed, name});
    }

  private:
    struct TEntry {
        QImage Picture;
        bool Keyed;
        QString Name;
    };
    std::unordered_multimap<size_t, TEntry> Names;
};

// Writes every file into a hidden folder inside dir, then moves them in all
// or none, so that a failure part-way leaves the folder as it was.
void StageFolder(const TSkinDocument& doc, const QString& dir, TPictureFiles files, bool created) {
    TStagingFolder staging(dir, created);

    QStringList names;
    // Each distinct picture is written once, under the name of the first
    // slot that holds it; every other slot holding it names that file.
    TWrittenPictures written;
    // A picture the skin shares between slots is known by its key alone.
    QHash<std::pair<qint64, bool>, QString> shared;
    const bool png = files == TPictureFiles::Png;
    const auto writePicture = [&](const TPicture& picture, const QString& place) -> QJsonValue {
        if (picture.Image.isNull()) return QJsonValue::Null; // a bitmap cannot be 0 x 0
        // A PNG of a keyed slot differs from one of an opaque slot: they share no file.
        const bool keyed = png && picture.Transparent;
        const std::pair<qint64, bool> key(picture.Image.cacheKey(), keyed);
        if (const auto it = shared.constFind(key); it != shared.constEnd()) return *it;
        // The skin keeps 5 bits per channel, so 24 bits lose nothing.
        const size_t hash = RgbHash(picture.Image);
        if (const QString* name = written.Find(picture.Image, hash, keyed))
            return *shared.insert(key, *name);
        const QString name = place + (png ? QStringLiteral(".png") : QStringLiteral(".bmp"));
        const QString staged = staging.FilePath(name);
        // A bitmap is converted a row at a time as it is written; only the
        // PNG writer takes a whole 24-bit copy.
        QString error;
        if (png) {
            const QImage rgb = picture.Image.convertToFormat(QImage::Format_RGB888);
            if (rgb.isNull()) throw std::bad_alloc();
            error = WritePictureFile(rgb, keyed, staged);
        } else {
            error = WriteRgbBitmapFile(picture.Image, staged);
        }
        // The user's path, not the hidden one.
        const QString path = QDir(dir).filePath(name);
        if (!error.isEmpty()) FailFile(path, error.replace(staged, path));
        written.Add(picture.Image, hash, keyed, name);
        names.append(name);
        return *shared.insert(key, name);
    };
    // The bitmaps are written as the JSON text names them; its failures
    // name the user's path, not the hidden one.
    const QString error = WriteWholeFile(staging.FilePath(SkinJsonName), -1, [&](QIODevice& out) {
        WriteSkinJson(doc, writePicture,
                      [&out](QByteArrayView piece) { out.write(piece.data(), piece.size()); });
    });
    if (!error.isEmpty()) FailFile(QDir(dir).filePath(SkinJsonName), error + QLatin1Char('.'));
    names.append(SkinJsonName);

    staging.HoldSignals();
    // The one obstacle rename(2) meets in a folder we may write: a folder in the way.
    for (const QString& name : names)
        if (QFileInfo(QDir(dir).filePath(name)).isDir())
            FailFile(QDir(dir).filePath(name), QStringLiteral("Is a folder."));
    MoveStagedFiles(staging.FolderPath(), dir, names);
}

// Qt's own words where RapidJSON reads what Qt refuses (nesting beyond Qt's
// limit, a number beyond a double); where Qt reads what RapidJSON refuses
// (an unpaired surrogate), Qt's reading holds.
QString JsonErrorText(const QByteArray& bytes, const QJsonParseError& error) {
    return JsonSyntaxText(bytes, error.offset, error.errorString());
}

} // namespace

void UnpackSkin(const TSkinDocument& doc, const QString& dir, TPictureFiles files) {
    const QFileInfo info(dir);
    bool created = false;
    if (info.exists() && !info.isDir()) FailFile(dir, QStringLiteral("Not a folder."));
    if (!info.exists()) {
        errno = 0;
        if (!QDir().mkpath(dir)) FailErrno(dir, errno);
        created = true;
    }
    try {
        StageFolder(doc, dir, files, created);
    } catch (...) {
        if (created) QDir(dir).removeRecursively();
        RaiseHeldSignal();
        throw;
    }
    RaiseHeldSignal();
}

namespace {

// The folder's skin, each picture as its file holds it, alpha kept.
TSkinDocument ReadFolder(const QString& dir, QSet<QString>* named) {
    const QString jsonPath = QDir(dir).filePath(SkinJsonName);
    // Found as the pictures are: a FIFO is never opened, a link never leaves.
    QByteArray bytes;
    {
        const TFolderFile file(dir, SkinJsonName, "a JSON file");
        if (!file.Refusal().isEmpty())
            FailFile(dir, QLatin1Char('"') + SkinJsonName + QLatin1Char('"') + file.Refusal());
        if (file.OpenError() != 0) FailErrno(jsonPath, file.OpenError());
        if (const QString refused = InterruptedSaveError(jsonPath); !refused.isEmpty())
            FailFile(jsonPath, refused + QLatin1Char('.'));
        TFileRead read = ReadWholeDescriptor(file.Descriptor());
        if (!read.Error.isEmpty()) FailFile(jsonPath, read.Error + QLatin1Char('.'));
        bytes = std::move(read.Bytes);
    }

    // Each file is decoded once; the slots naming it share the picture.
    // Found by the name as written first, then by the file it leads to.
    QHash<QString, QImage> pictures;
    std::map<std::pair<dev_t, ino_t>, QImage> decoded;
    const auto readPicture = [&](const QJsonValue& value, const TJsonKey& key) -> QImage {
        if (value.isNull()) return QImage();
        const QString name = value.toString();
        if (!value.isString() || name.isEmpty())
            throw TSchemaError{
                QStringLiteral("\"%1\" must be a bitmap file name or null.").arg(QString(key))};
        if (const auto it = pictures.constFind(name); it != pictures.constEnd()) return *it;
        const TFolderFile file(dir, name);
        if (!file.Refusal().isEmpty())
            throw TSchemaError{QLatin1Char('"') + QString(key) + QLatin1Char('"') + file.Refusal()};
        if (named) named->insert(name);
        const QString path = QDir(dir).filePath(name);
        if (file.OpenError() != 0) FailErrno(path, file.OpenError());
        auto it = decoded.find({file.Device(), file.Inode()});
        if (it == decoded.end()) {
            TBitmapReadResult bitmap = ReadPictureDescriptor(file.Descriptor(), path);
            if (!bitmap.Error.isEmpty()) FailFile(path, bitmap.Error);
            it = decoded.emplace(std::pair(file.Device(), file.Inode()), bitmap.Image).first;
        }
        pictures.insert(name, it->second);
        return it->second;
    };

    // A record at a time, the text held but never its whole parsed tree.
    // Whatever goes wrong there, the whole parse below meets again and names
    // as ever: a JSON error before the first problem of the skin.
    try {
        return SkinFromJsonText(bytes, readPicture);
    } catch (...) {
        pictures.clear();
        decoded.clear();
    }
    // A syntax error is named first; then a key given twice, which the split
    // never passes and Qt's parse would hide (it keeps the last).
    QJsonParseError parseError{};
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        FailFile(jsonPath, FindJsonSyntaxError(bytes).value_or(JsonErrorText(bytes, parseError)));
    if (const std::optional<QString> problem = FindRepeatedKey(bytes)) FailFile(jsonPath, *problem);
    bytes = QByteArray(); // the parsed document is several times larger: hold one, not both
    if (!json.isObject()) FailFile(jsonPath, QStringLiteral("The file must hold one JSON object."));
    try {
        return SkinFromJson(json.object(), readPicture);
    } catch (const TSchemaError& error) {
        FailFile(jsonPath, error.Text);
    }
}

} // namespace

TSkinDocument PackSkin(const QString& dir, QSet<QString>* named) {
    // Each slot's rule once the folder's files are let go, so that a picture
    // only one slot names is converted where it lies.
    TSkinDocument doc = ReadFolder(dir, named);
    ApplyAlphaRuleToSlots(doc);
    return doc;
}
