// Drives widgets the way a user does: keystrokes into number fields, leaving
// a field, choices that only a user makes. Every widget test types through
// these.
#pragma once

#include "number_field.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>

// One press and release of key, typing text.
inline void Key(QWidget* w, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Selects the whole text and types over it, one keystroke per digit or minus
// sign; an empty text deletes the selection.
inline void TypeInto(TNumberField* field, const QString& text) {
    field->selectAll();
    if (text.isEmpty()) Key(field, Qt::Key_Delete);
    for (QChar c : text)
        Key(field, c == '-' ? Qt::Key_Minus : Qt::Key_0 + (c.unicode() - '0'), c);
}

inline void Leave(QWidget* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

// The user picks entry `index` of the list.
inline void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}
