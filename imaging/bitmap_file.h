// Windows bitmap files read into and written from picture slots, with the
// editor's messages for every failure.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

struct TBitmapReadResult {
    QImage Image;  // valid only when Error is empty
    QString Error; // the message to show, full stop included
};

// "Cannot open file "%s". %s.", "Bitmap image is not valid.", "Stream read error."
TBitmapReadResult ReadBitmapFile(const QString& path);
TBitmapReadResult DecodeBitmap(QByteArrayView bytes);

// Writes the picture in the format it holds; returns the message to show
// ("Cannot create file "%s". %s.") or an empty string.
QString WriteBitmapFile(const QImage& picture, const QString& path);
