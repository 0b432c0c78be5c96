// The "Sample values" panel of try mode: what the player fills its texts
// with (song title, artist, volume, elapsed, remaining, clock), one field per
// text type, starting from the preview's own samples. A choice of sets,
// "Typical" and "Longest", fills every field with the set's values; what is
// typed afterwards stays until the next choice.
#pragma once

#include "device_state.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLineEdit;

class TSampleValuesPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TSampleValuesPanel(QWidget* parent = nullptr);

    std::array<QString, TextTypeCount> Samples() const;

    // Fills the fields with the set's values (a TSampleSet), as choosing it
    // in SetChoice does; Changed follows once.
    void ChooseSet(int set);

    // Indexed by text type.
    std::array<QLineEdit*, TextTypeCount> Fields{};
    QComboBox* SetChoice = nullptr;

  Q_SIGNALS:
    // Every keystroke and every choice of a set: the texts show the new
    // values at once.
    void Changed();
};
