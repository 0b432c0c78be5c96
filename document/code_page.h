// Item names are bytes of the 8-bit code page; the editor shows them as
// Windows-1252 and every byte 0..255 must survive a round trip.
#pragma once

#include <QByteArray>
#include <QString>

QString DecodeName(const QByteArray& bytes);

// Characters with no byte in the code page become '?', so that what the list
// shows is what the file gets.
QByteArray EncodeName(const QString& text);
