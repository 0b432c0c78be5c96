// The number field: text is the value, every text change is one change,
// and the range is enforced only on leaving or stepping.
#include "keystrokes.h"
#include "number_field.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Field {
    TNumberField Widget;
    int Changes = 0;
    Field() {
        QObject::connect(&Widget, &TNumberField::Changed, [this] { ++Changes; });
    }
    void Key(int key, const QString& text = QString()) { ::Key(&Widget, key, text); }
    // Deletes the whole text, then types, one keystroke per character.
    void Type(const QString& text) {
        TypeInto(&Widget, QString());
        TypeInto(&Widget, text);
    }
    void Leave() { ::Leave(&Widget); }
    QString Text() const { return Widget.lineEdit()->text(); }
};

TEST(NumberField, EveryKeystrokeIsOneChangeAndTypedValuesBeyondTheRangeStayUntilLeft) {
    Field f;
    f.Widget.SetRange(15, 100);
    f.Widget.SetValue(30);
    f.Changes = 0;
    f.Type("150");
    // Delete of the selected text, then "1", "15", "150".
    EXPECT_EQ(f.Changes, 4);
    EXPECT_EQ(f.Widget.Value(), 150);
    EXPECT_EQ(f.Text(), "150");

    f.Leave();
    EXPECT_EQ(f.Text(), "100");
    EXPECT_EQ(f.Widget.Value(), 100);
    EXPECT_EQ(f.Changes, 5);

    // Leaving again with an in-range value is no change.
    f.Leave();
    EXPECT_EQ(f.Changes, 5);
}

TEST(NumberField, SteppingBringsAnOutOfRangeValueToTheNearerBound) {
    Field f;
    f.Widget.SetRange(15, 100);
    f.Type("150");
    f.Widget.stepBy(1);
    EXPECT_EQ(f.Widget.Value(), 100);
    f.Type("150");
    f.Widget.stepBy(-1);
    EXPECT_EQ(f.Widget.Value(), 100) << "149 is still beyond the range";
    f.Type("5");
    f.Widget.stepBy(-1);
    EXPECT_EQ(f.Widget.Value(), 15);
    f.Type("5");
    f.Widget.stepBy(1);
    EXPECT_EQ(f.Widget.Value(), 15);
}

TEST(NumberField, ArrowKeysStepByOne) {
    Field f;
    f.Widget.SetValue(7);
    f.Changes = 0;
    f.Key(Qt::Key_Up);
    EXPECT_EQ(f.Widget.Value(), 8);
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.Widget.Value(), 6);
    EXPECT_EQ(f.Changes, 3);
}

TEST(NumberField, TextThatIsNoWholeNumberReadsAsTheMinimumAndIsKeptOnLeaving) {
    Field plain;
    plain.Type("-");
    EXPECT_EQ(plain.Text(), "-");
    EXPECT_EQ(plain.Widget.Value(), 0);
    plain.Type("7");
    EXPECT_EQ(plain.Widget.Value(), 7);
    plain.Type("-7");
    EXPECT_EQ(plain.Widget.Value(), -7);

    Field ranged;
    ranged.Widget.SetRange(8, 100);
    ranged.Type("");
    EXPECT_EQ(ranged.Widget.Value(), 8);
    ranged.Leave();
    EXPECT_EQ(ranged.Text(), "");

    ranged.Type("99999999999");
    EXPECT_EQ(ranged.Text(), "99999999999");
    EXPECT_EQ(ranged.Widget.Value(), 8) << "beyond 32 bits is no whole number";
    ranged.Widget.stepBy(1);
    EXPECT_EQ(ranged.Widget.Value(), 9) << "a step starts from the value read";
}

TEST(NumberField, AnyThirtyTwoBitNumberMayBeTypedWithoutRange) {
    Field f;
    f.Type("-2147483648");
    EXPECT_EQ(f.Widget.Value(), std::numeric_limits<int>::min());
    f.Widget.stepBy(-1);
    EXPECT_EQ(f.Widget.Value(), std::numeric_limits<int>::min()) << "no wrap-around";
    f.Type("2147483647");
    f.Widget.stepBy(1);
    EXPECT_EQ(f.Widget.Value(), std::numeric_limits<int>::max());
    f.Leave();
    EXPECT_EQ(f.Text(), "2147483647");
}

TEST(NumberField, CharactersOtherThanDigitsAndMinusAreRefused) {
    Field f;
    f.Widget.SetValue(12);
    f.Changes = 0;
    f.Widget.lineEdit()->end(false);
    f.Key(Qt::Key_A, "a");
    f.Key(Qt::Key_Space, " ");
    f.Key(Qt::Key_Period, ".");
    EXPECT_EQ(f.Text(), "12");
    EXPECT_EQ(f.Changes, 0);
}

TEST(NumberField, SettingFromTheProgramShowsTheNearerBoundAndChangesOnlyWhenTheTextDoes) {
    Field f;
    f.Widget.SetRange(2, 10);
    f.Widget.SetValue(5);
    EXPECT_EQ(f.Changes, 1);
    f.Widget.SetValue(5);
    EXPECT_EQ(f.Changes, 1) << "same text, no change";
    f.Widget.SetValue(12);
    EXPECT_EQ(f.Text(), "10");
    EXPECT_EQ(f.Changes, 2);
    f.Widget.SetValue(-3);
    EXPECT_EQ(f.Widget.Value(), 2);

    f.Widget.ClearRange();
    f.Widget.SetValue(-3);
    EXPECT_EQ(f.Widget.Value(), -3);
}

} // namespace
