// The "Sample values" panel's sets: a choice fills every field with the
// set's values and repaints once; what is typed stays until the next choice.
#include "sample_sets.h"
#include "sample_values_panel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(SampleValuesPanel, AChosenSetReplacesTheValuesAndTypedOnesStayUntilTheNext) {
    TSampleValuesPanel panel;
    ASSERT_EQ(panel.SetChoice->currentText(), QStringLiteral("Typical"));
    QSignalSpy changed(&panel, &TSampleValuesPanel::Changed);
    QLineEdit* volume = panel.Fields[ttVolume];
    volume->selectAll();
    QTest::keyClicks(volume, QStringLiteral("7%"));
    changed.clear();

    QTest::keyClick(panel.SetChoice, Qt::Key_Down); // a choice by the keyboard: "Longest"
    EXPECT_EQ(panel.SetChoice->currentText(), QStringLiteral("Longest"));
    EXPECT_EQ(panel.Samples(), SampleSetValues(TSampleSet::Longest));
    EXPECT_EQ(changed.count(), 1);

    volume->selectAll();
    QTest::keyClicks(volume, QStringLiteral("42%"));
    std::array<QString, TextTypeCount> typed = SampleSetValues(TSampleSet::Longest);
    typed[ttVolume] = QStringLiteral("42%");
    EXPECT_EQ(panel.Samples(), typed);

    // Choosing the set shown again puts its values back.
    Q_EMIT panel.SetChoice->activated(1);
    EXPECT_EQ(panel.Samples(), SampleSetValues(TSampleSet::Longest));
    QTest::keyClick(panel.SetChoice, Qt::Key_Up);
    EXPECT_EQ(panel.Samples(), TDeviceState::DefaultSamples());
}
