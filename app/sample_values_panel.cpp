#include "sample_values_panel.h"

#include "sample_sets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {
constexpr int Columns = 3; // two lines of three, to fit over the preview
}

TSampleValuesPanel::TSampleValuesPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SampleValues"));
    static const char* const captions[TextTypeCount] = {"Song title", "Artist",    "Volume",
                                                        "Elapsed",    "Remaining", "Clock"};
    static const char* const names[TextTypeCount] = {"SampleTitle",     "SampleArtist",
                                                     "SampleVolume",    "SampleElapsed",
                                                     "SampleRemaining", "SampleClock"};
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 3, 4, 3);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    auto* title = new QLabel(QStringLiteral("Sample values"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 2 * Columns - 1);
    SetChoice = new QComboBox(this);
    SetChoice->setObjectName(QStringLiteral("SampleSet"));
    SetChoice->addItems(SampleSetNames());
    SetChoice->setAccessibleName(QStringLiteral("Sample set"));
    // activated, not currentIndexChanged: choosing the set already shown
    // puts its values back over what was typed.
    connect(SetChoice, &QComboBox::activated, this, &TSampleValuesPanel::ChooseSet);
    grid->addWidget(SetChoice, 0, 2 * Columns - 1);
    const std::array<QString, TextTypeCount> samples = TDeviceState::DefaultSamples();
    for (int t = 0; t < TextTypeCount; ++t) {
        auto* field = new QLineEdit(samples[std::size_t(t)], this);
        field->setObjectName(QString::fromLatin1(names[t]));
        auto* label = new QLabel(QString::fromLatin1(captions[t]), this);
        label->setBuddy(field);
        const int line = 1 + t / Columns, column = 2 * (t % Columns);
        grid->addWidget(label, line, column);
        grid->addWidget(field, line, column + 1);
        grid->setColumnStretch(column + 1, 1);
        connect(field, &QLineEdit::textChanged, this, &TSampleValuesPanel::Changed);
        Fields[std::size_t(t)] = field;
    }
}

void TSampleValuesPanel::ChooseSet(int set) {
    if (set < 0 || set >= SampleSetCount) return;
    if (SetChoice->currentIndex() != set) SetChoice->setCurrentIndex(set);
    const std::array<QString, TextTypeCount> values = SampleSetValues(TSampleSet(set));
    for (int t = 0; t < TextTypeCount; ++t) {
        // One repaint for the whole set, not one per field.
        const QSignalBlocker quiet(Fields[std::size_t(t)]);
        Fields[std::size_t(t)]->setText(values[std::size_t(t)]);
        Fields[std::size_t(t)]->setCursorPosition(0);
    }
    Q_EMIT Changed();
}

std::array<QString, TextTypeCount> TSampleValuesPanel::Samples() const {
    std::array<QString, TextTypeCount> samples;
    for (int t = 0; t < TextTypeCount; ++t)
        samples[std::size_t(t)] = Fields[std::size_t(t)]->text();
    return samples;
}
