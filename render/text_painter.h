// Texts of one repaint. Texts that draw the same string in the same font and
// colour differ only in where their glyphs land, so they share one layer:
// the glyphs are rendered once over the union of what those texts show, and
// each text copies the ink runs of its own part from it. Many texts moved
// about thus render their glyphs once and copy only ink, not their boxes.
#pragma once

#include "device_state.h"
#include "skin_document.h"

#include <QImage>

#include <memory>
#include <vector>

class TTextPainter {
  public:
    // Looks ahead at the texts of doc that a repaint onto this composition
    // paints (those not flagged in skip) to find the ones worth sharing.
    // Each text draws the string the device state gives it (ShownText); the
    // state must outlive the painter.
    TTextPainter(const TSkinDocument& doc, const std::vector<bool>& skip, const QImage& composition,
                 const TDeviceState& state = PlainDeviceState());
    explicit TTextPainter(const TDeviceState& state = PlainDeviceState());
    ~TTextPainter();
    TTextPainter(const TTextPainter&) = delete;
    TTextPainter& operator=(const TTextPainter&) = delete;

    // The same pixels as PaintText of the text with the state's string in
    // place of PreviewText, from the shared layer where there is one;
    // entry is the text's row in Items (-1 for a text not in the list).
    void Paint(QImage& composition, const TiText& text, bool selected, int entry = -1);

  private:
    struct TImpl;
    std::unique_ptr<TImpl> D;
};
