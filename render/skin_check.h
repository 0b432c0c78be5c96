// The mistakes of a skin that the device would show: a placeholder left in a
// slot, an item off the screen or under an opaque image, a text box too small
// for its font, values the inspector does not offer, unnamed or twice-named
// items, pictures that do not fit their item. Judged with the previews' own
// marker boxes and font code, so the editor could list them as well.
#pragma once

#include "skin_document.h"

#include <QStringList>

#include <vector>

enum class TFindingSeverity { Error, Warning };

struct TSkinFinding {
    int Item = -1; // position in Items; -1 for the playlist look
    TFindingSeverity Severity = TFindingSeverity::Warning;
    QString Code; // stable short name of the check, e.g. "placeholder"
    QString Text; // one line, no full stop
    bool operator==(const TSkinFinding&) const = default;
};

// Errors first, then warnings; each in list order, the playlist last.
std::vector<TSkinFinding> CheckSkin(const TSkinDocument& doc);

// The code of every check, errors first.
const QStringList& SkinCheckCodes();

// True when the picture is the placeholder as a skin file keeps it: equal to
// PlaceholderPicture() once every channel is cut to its top five bits.
bool IsPlaceholder(const TPicture& picture);
