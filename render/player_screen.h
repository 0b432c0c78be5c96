// The player screen: every entry of the item list in list order on a black
// screen, the selected one marked right after its own pictures. The device
// state (held rows, second states, progress, sample texts, the file's
// colours) changes what rows draw; its default is the editor's preview.
#pragma once

#include "device_state.h"
#include "skin_document.h"

#include <QImage>
#include <QSize>

#include <vector>

// The top-left part (at most part.width() x part.height()) of the 1:1
// composition; its pixels are those of the whole screen's composition.
QImage ComposePlayerScreen(const TSkinDocument& doc, int selected, QSize part,
                           const TDeviceState& state = PlainDeviceState());

// The whole screen.
QImage ComposePlayerScreen(const TSkinDocument& doc, int selected,
                           const TDeviceState& state = PlainDeviceState());

// Fills the composition black and paints every entry onto it; the
// composition is the screen's top-left part of the raster's size.
void PaintPlayerScreen(QImage& composition, const TSkinDocument& doc, int selected,
                       const TDeviceState& state = PlainDeviceState());

// As above, leaving out besides the entries flagged in skip (one flag per
// entry of Items; the selected entry is painted whatever its flag). Whoever
// repaints many parts of one screen works out once what none of them needs.
void PaintPlayerScreen(QImage& composition, const TSkinDocument& doc, int selected,
                       const TDeviceState& state, std::vector<bool> skip);

// The editor's marks on the screen: every selected entry shows its marker,
// the reference entry (the one others are aligned to) a second one just
// inside it, and hidden entries are not drawn at all.
struct TScreenMarks {
    std::vector<bool> Selected; // one flag per entry of Items (fewer: unselected)
    int Reference = -1;
    std::vector<bool> Hidden; // likewise
};

void PaintPlayerScreen(QImage& composition, const TSkinDocument& doc, const TScreenMarks& marks,
                       const TDeviceState& state = PlainDeviceState());

class TTextPainter;

// Paints entry i of Items with its kind's painter (texts with the repaint's
// text painter), as the state shows it; an entry of an unknown kind, or one
// whose Index lies outside its array, draws nothing.
void PaintItem(QImage& composition, const TSkinDocument& doc, int i, bool selected,
               TTextPainter& texts, const TDeviceState& state = PlainDeviceState());
