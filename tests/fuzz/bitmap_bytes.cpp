#include "bitmap_bytes.h"

#include <QtEndian>

#include <algorithm>

namespace {

void Put16(QByteArray& b, int v) {
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}
void Put32(QByteArray& b, quint32 v) {
    char c[4];
    qToLittleEndian<quint32>(v, c);
    b.append(c, 4);
}

} // namespace

QByteArray BmpFile(const TBmp& b) {
    QByteArray info;
    Put32(info, quint32(b.HeaderSize));
    if (b.HeaderSize == 12) {
        Put16(info, b.Width);
        Put16(info, b.Height);
        Put16(info, 1);
        Put16(info, b.Bpp);
    } else {
        Put32(info, quint32(b.Width));
        Put32(info, quint32(b.Height));
        Put16(info, 1);
        Put16(info, b.Bpp);
        Put32(info, quint32(b.Compression));
        Put32(info, quint32(b.Pixels.size()));
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, quint32(b.Palette.size()));
        Put32(info, 0);
        if (b.HeaderSize > 40) {
            for (int i = 0; i < 4; ++i)
                Put32(info, i < b.Masks.size() ? b.Masks[i] : 0);
            info.append(QByteArray(b.HeaderSize - info.size(), '\0'));
        } else {
            for (quint32 m : b.Masks)
                Put32(info, m); // bit fields follow a 40-byte header
        }
    }
    QByteArray palette;
    for (quint32 c : b.Palette) {
        Put32(palette, c);
        if (b.HeaderSize == 12) palette.chop(1);
    }
    QByteArray file("BM");
    const quint32 offset = quint32(14 + info.size() + palette.size());
    Put32(file, offset + quint32(b.Pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    return file + info + palette + b.Pixels;
}

QByteArray PackRows(int w, int h, int bpp, const std::function<quint32(int, int)>& value) {
    QByteArray out;
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        QByteArray line((w * bpp + 31) / 32 * 4, '\0');
        for (int x = 0; x < w; ++x) {
            const quint32 v = value(x, y);
            if (bpp < 8) {
                const int bit = x * bpp;
                line[bit / 8] = char(quint8(line[bit / 8]) | (v << (8 - bpp - bit % 8)));
            } else {
                for (int i = 0; i < bpp / 8; ++i)
                    line[x * bpp / 8 + i] = char(v >> (8 * i));
            }
        }
        out += line;
    }
    return out;
}

QList<quint32> Palette(int n) {
    QList<quint32> p;
    for (int i = 0; i < n; ++i)
        p << (quint32((i * 37) & 0xFF) << 16 | quint32((i * 91) & 0xFF) << 8 |
              quint32((255 - i * 13) & 0xFF));
    return p;
}

// Encoded runs, then end of line; end of bitmap last.
QByteArray Rle(int w, int h, bool four) {
    QByteArray out;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; x += 2) {
            out.append(char(std::min(2, w - x)));
            out.append(char(four ? ((x + y) % 16) << 4 | ((x + y + 1) % 16) : (x * 7 + y) % 256));
        }
        out.append(2, '\0');
    }
    out.append('\0');
    out.append('\1');
    return out;
}
