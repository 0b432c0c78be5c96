// Small builders for render tests: solid pictures and one-item skins.
#pragma once

#include "skin_document.h"

#include <QImage>

inline QImage Solid(int w, int h, QRgb color) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

inline TPicture Pic(int w, int h, QRgb color, bool transparent = true) {
    return {Solid(w, h, color), transparent};
}

inline QImage Black(int w, int h) {
    return Solid(w, h, qRgb(0, 0, 0));
}

// A skin of the given size whose item list holds the given records, in order.
struct TSkinBuilder {
    TSkinDocument Doc;
    TSkinBuilder(int w, int h) {
        Doc.ScreenWidth = w;
        Doc.ScreenHeight = h;
    }
    template <class T> TSkinBuilder& Add(const T& record) {
        auto& records = RecordsOf<T>(Doc);
        records.push_back(record);
        Doc.Items.push_back({TRecordKind<T>::Kind, qint32(records.size() - 1), "item"});
        return *this;
    }
};

// Counts the pixels of a rectangle that have the given colour.
inline int CountColor(const QImage& img, const QRect& r, QRgb color) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) == color;
    return n;
}
