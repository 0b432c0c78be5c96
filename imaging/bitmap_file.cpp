#include "bitmap_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

// Placeholder bodies; the checked reader replaces them.
TBitmapReadResult DecodeBitmap(QByteArrayView bytes) {
    QImage img;
    if (!img.loadFromData(bytes, "BMP")) return {QImage(), QStringLiteral("Bitmap image is not valid.")};
    return {img, QString()};
}

TBitmapReadResult ReadBitmapFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {QImage(), QStringLiteral("Cannot open file \"%1\". %2.").arg(path, f.errorString())};
    return DecodeBitmap(f.readAll());
}

QString WriteBitmapFile(const QImage& picture, const QString& path) {
    if (!picture.save(path, "BMP"))
        return QStringLiteral("Cannot create file \"%1\". Cannot write.").arg(path);
    return QString();
}
