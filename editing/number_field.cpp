#include "number_field.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <limits>

namespace {
bool IsNumberText(const QString& text) {
    const int start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (int i = start; i < text.size(); ++i)
        if (!text[i].isDigit() || text[i].unicode() > 0x7F) return false;
    return true;
}
} // namespace

TNumberField::TNumberField(QWidget* parent) : QAbstractSpinBox(parent) {
    // The text itself is the field's state; QAbstractSpinBox keeps no value
    // of its own for a direct subclass, so nothing second-guesses the text.
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &TNumberField::Changed);
}

void TNumberField::SetRange(int minimum, int maximum) {
    Ranged = true;
    Min = minimum;
    Max = std::max(minimum, maximum);
}

void TNumberField::ClearRange() {
    Ranged = false;
}

int TNumberField::Value() const {
    bool ok = false;
    const int value = lineEdit()->text().toInt(&ok);
    return ok ? value : Minimum();
}

void TNumberField::SetValue(int value) {
    ShowNumber(Clamp(value));
}

int TNumberField::Clamp(qint64 value) const {
    qint64 low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    if (Ranged) low = Min, high = Max;
    return int(std::clamp(value, low, high));
}

void TNumberField::ShowNumber(int value) {
    const QString text = QString::number(value);
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void TNumberField::ReplaceOutOfRange() {
    bool ok = false;
    const int typed = lineEdit()->text().toInt(&ok);
    if (ok && Clamp(typed) != typed) ShowNumber(Clamp(typed));
}

void TNumberField::stepBy(int steps) {
    if (isReadOnly()) return;
    ShowNumber(Clamp(qint64(Value()) + steps));
}

QAbstractSpinBox::StepEnabled TNumberField::stepEnabled() const {
    // Stepping is how an out-of-range value is brought back, so both arrows
    // stay live while the text lies beyond a bound.
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State TNumberField::validate(QString& input, int&) const {
    if (!IsNumberText(input)) return QValidator::Invalid;
    bool ok = false;
    input.toInt(&ok);
    return ok ? QValidator::Acceptable : QValidator::Intermediate;
}

void TNumberField::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    ReplaceOutOfRange();
    Q_EMIT Left();
}

QSize TNumberField::sizeHint() const {
    ensurePolished();
    const QFontMetrics fm(font());
    const int w = fm.horizontalAdvance(QStringLiteral("-00000")) + 4;
    const int h = lineEdit()->sizeHint().height();
    QStyleOptionSpinBox opt;
    initStyleOption(&opt);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &opt, QSize(w, h), this);
}

QSize TNumberField::minimumSizeHint() const {
    return sizeHint();
}
