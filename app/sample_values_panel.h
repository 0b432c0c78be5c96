// The "Sample values" panel of try mode: what the player fills its texts
// with (song title, artist, volume, elapsed, remaining, clock), one field per
// text type, starting from the preview's own samples.
#pragma once

#include "device_state.h"

#include <QWidget>

#include <array>

class QLineEdit;

class TSampleValuesPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TSampleValuesPanel(QWidget* parent = nullptr);

    std::array<QString, TextTypeCount> Samples() const;

    // Indexed by text type.
    std::array<QLineEdit*, TextTypeCount> Fields{};

  Q_SIGNALS:
    // Every keystroke: the texts show the new values at once.
    void Changed();
};
