// Drives inspector controls the way a user does: keystrokes into number
// fields, choices that only a user makes, clicks on check boxes.
#pragma once

#include "number_field.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>

inline void Key(QWidget* w, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Selects the whole text and types over it, one keystroke per character.
inline void TypeInto(TNumberField* field, const QString& text) {
    field->selectAll();
    for (QChar c : text)
        Key(field, c == '-' ? Qt::Key_Minus : Qt::Key_0 + (c.unicode() - '0'), c);
}

inline void Leave(TNumberField* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

// The user picks entry `index` of the list.
inline void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}
