// A whole-number field with arrows, as the inspector and the "New skin"
// dialog need it: the text is the value, every change of the text is a
// change, and a range only bites when the field is left or stepped.
#pragma once

#include "record_steps.h"

#include <QAbstractSpinBox>

class TNumberField : public QAbstractSpinBox {
    Q_OBJECT

  public:
    explicit TNumberField(QWidget* parent = nullptr);

    // What the field's typing changes, so that its keystrokes merge into
    // one step of the history.
    TMergeField MergeField = TMergeField::None;

    // A field without range (the default) takes any 32-bit value; its
    // minimum, for text that is no number, is 0.
    void SetRange(int minimum, int maximum);
    void ClearRange();
    bool HasRange() const { return Ranged; }
    int Minimum() const { return Ranged ? Min : 0; }
    int Maximum() const { return Ranged ? Max : 0; }

    // The number the text spells, as typed even beyond the range; the
    // minimum when the text is not a whole 32-bit number.
    int Value() const;

    // Shows the value, or the nearer bound when it lies outside the range.
    void SetValue(int value);

    // The text field, for selecting and for tests that type into it.
    using QAbstractSpinBox::lineEdit;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    // Each change of the text: a keystroke, an arrow step, a setting from
    // the program or the bound replacing an out-of-range value.
    void Changed();
    // The field lost the focus (after any out-of-range value was replaced).
    void Left();

  protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int Clamp(qint64 value) const;
    void ShowNumber(int value);
    void ReplaceOutOfRange();

    bool Ranged = false;
    int Min = 0, Max = 0;
};
