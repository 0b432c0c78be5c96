#include "code_page.h"

#include <array>

namespace {
// 0x80..0x9F; the five unassigned bytes map to the C1 controls of the same
// value so that they too round-trip.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ToUnicode(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) ? HighControls[b - 0x80] : char16_t(b);
}
} // namespace

QString DecodeName(const QByteArray& bytes) {
    QString s(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        s[i] = QChar(ToUnicode(static_cast<unsigned char>(bytes[i])));
    return s;
}

QByteArray EncodeName(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        // One character outside the BMP is one '?', not two.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        int byte = -1;
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = u;
        } else {
            for (int c = 0; c < 32; ++c)
                if (HighControls[c] == u) byte = 0x80 + c;
        }
        out.append(byte < 0 ? '?' : char(byte));
    }
    return out;
}
