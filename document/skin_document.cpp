#include "skin_document.h"

bool HasTwoStates(int command) {
    return command >= 0 && command < PlayerCommandCount && CommandHasTwoStates[command] == '1';
}

QString PreviewTextFor(int textType) {
    static const char* const samples[] = {"(song title)", "(song artist)", "50%",
                                          "00:25",        "00:35",         "17:43"};
    if (textType < 0 || textType > 5) return QString();
    return QString::fromLatin1(samples[textType]);
}

int RecordCount(const TSkinDocument& doc, int kind) {
    switch (kind) {
    case ikImage:
        return int(doc.Images.size());
    case ikText:
        return int(doc.Texts.size());
    case ikButton:
        return int(doc.Buttons.size());
    case ikWheel:
        return int(doc.Wheels.size());
    case ikTrackbar:
        return int(doc.Trackbars.size());
    default:
        return 0;
    }
}
