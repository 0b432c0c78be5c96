#include "bitmap_rows.h"

#include "whole_file.h"

#include <QHash>
#include <QtEndian>

#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr qint64 FileHeaderSize = 14;
constexpr qint64 InfoHeaderSize = 40;

void Put16(char*& at, quint16 value) {
    qToLittleEndian(value, at);
    at += 2;
}
void Put32(char*& at, quint32 value) {
    qToLittleEndian(value, at);
    at += 4;
}

} // namespace

QImage RgbRow(const QImage& picture, int y) {
    QImage row = picture.copy(0, y, picture.width(), 1).convertToFormat(QImage::Format_RGB888);
    if (row.isNull()) throw std::bad_alloc();
    return row;
}

std::size_t RgbHash(const QImage& picture) {
    std::size_t seed = qHashMulti(0, picture.width(), picture.height());
    const std::size_t rowBytes = std::size_t(picture.width()) * 3;
    for (int y = 0; y < picture.height(); ++y)
        seed = qHashBits(RgbRow(picture, y).constScanLine(0), rowBytes, seed);
    return seed;
}

bool SameRgb(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    const std::size_t rowBytes = std::size_t(a.width()) * 3;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(RgbRow(a, y).constScanLine(0), RgbRow(b, y).constScanLine(0), rowBytes) !=
            0)
            return false;
    return true;
}

QString WriteRgbBitmapFile(const QImage& picture, const QString& path) {
    const qint64 width = picture.width(), height = picture.height();
    const qint64 rowBytes = (width * 3 + 3) & ~qint64(3);
    const qint64 imageBytes = rowBytes * height;
    const qint64 size = FileHeaderSize + InfoHeaderSize + imageBytes;
    // The headers as the toolkit's writer fills them for a 24-bit picture.
    char header[FileHeaderSize + InfoHeaderSize] = {};
    char* at = header;
    *at++ = 'B';
    *at++ = 'M';
    Put32(at, quint32(size));
    Put32(at, 0);
    Put32(at, quint32(FileHeaderSize + InfoHeaderSize));
    Put32(at, quint32(InfoHeaderSize));
    Put32(at, quint32(width));
    Put32(at, quint32(height));
    Put16(at, 1);
    Put16(at, 24);
    Put32(at, 0);
    Put32(at, quint32(imageBytes));
    Put32(at, quint32(picture.dotsPerMeterX() ? picture.dotsPerMeterX() : 2834));
    Put32(at, quint32(picture.dotsPerMeterY() ? picture.dotsPerMeterY() : 2834));
    Put32(at, 0);
    Put32(at, 0);

    QString error;
    try {
        error = WriteWholeFile(path, size, [&](QIODevice& out) {
            out.write(header, sizeof header);
            std::vector<char> line(std::size_t(rowBytes), 0);
            // Bottom row first, each pixel blue, green, red.
            for (qint64 y = height - 1; y >= 0; --y) {
                const QImage row = RgbRow(picture, int(y));
                const uchar* rgb = row.constScanLine(0);
                for (qint64 x = 0; x < width; ++x) {
                    line[std::size_t(x * 3)] = char(rgb[x * 3 + 2]);
                    line[std::size_t(x * 3 + 1)] = char(rgb[x * 3 + 1]);
                    line[std::size_t(x * 3 + 2)] = char(rgb[x * 3]);
                }
                out.write(line.data(), rowBytes);
            }
        });
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("Out of memory");
    }
    return error.isEmpty() ? error
                           : QStringLiteral("Cannot create file \"%1\". %2.").arg(path, error);
}
