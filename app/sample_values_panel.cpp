#include "sample_values_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

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
    grid->addWidget(title, 0, 0, 1, 2 * Columns);
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

std::array<QString, TextTypeCount> TSampleValuesPanel::Samples() const {
    std::array<QString, TextTypeCount> samples;
    for (int t = 0; t < TextTypeCount; ++t)
        samples[std::size_t(t)] = Fields[std::size_t(t)]->text();
    return samples;
}
