#include "finding_field.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// The Open buttons of each kind's picture slots, by slot.
const char* const ButtonOpens[] = {"BitBtn4", "BitBtn7", "BitBtn64", "BitBtn61"};
const char* const WheelOpens[] = {"BitBtn8",  "BitBtn11", "BitBtn14", "BitBtn17",
                                  "BitBtn20", "BitBtn23", "BitBtn35", "BitBtn38"};
const char* const TrackbarOpens[] = {"BitBtn47", "BitBtn50"};

// The X field of each kind: a finding about where the item lies.
const char* const PositionFields[ItemKindCount] = {"SpinEdit1", "SpinEdit3", "SpinEdit8",
                                                   "SpinEdit10", "SpinEdit17"};

// The record fields the check names, as the inspector shows them.
const QHash<QString, QString>& NamedFields() {
    static const QHash<QString, QString> fields{
        {"RepaintWhen", "ComboBox7"},    {"TextType", "ComboBox4"},
        {"HAlign", "ComboBox2"},         {"VAlign", "ComboBox3"},
        {"Command", "ComboBox5"},        {"CenterCommand", "ComboBox8"},
        {"LeftCommand", "ComboBox9"},    {"RightCommand", "ComboBox10"},
        {"TopHalfAction", "ComboBox11"}, {"BottomHalfAction", "ComboBox12"},
        {"TrackType", "ComboBox6"},      {"BallCount", "SpinEdit13"},
        {"TitleHeight", "SpinEdit20"},   {"ItemHeight", "SpinEdit21"},
        {"TitleFontSize", "SpinEdit22"}, {"ItemFontSize", "SpinEdit23"},
        {"FolderIcon", "BitBtn53"},      {"SongIcon", "BitBtn56"},
        {"Picture", "BitBtn1"}};
    return fields;
}

// The first word of the finding's text ("TextType 9 is none of ...",
// "Pictures[2] (...) is ...") and its slot number when it is a slot.
QString FirstWord(const QString& text, int& slot) {
    static const QRegularExpression word(QStringLiteral("^(\\w+)(?:\\[(\\d+)\\])?"));
    const QRegularExpressionMatch match = word.match(text);
    slot = match.hasCaptured(2) ? match.captured(2).toInt() : -1;
    return match.captured(1);
}

QString SlotOpen(int kind, int slot) {
    const auto pick = [slot](const auto& names) {
        return slot >= 0 && slot < int(std::size(names)) ? QLatin1String(names[slot])
                                                         : QLatin1String();
    };
    switch (kind) {
    case ikImage:
        return QStringLiteral("BitBtn1");
    case ikButton:
        return pick(ButtonOpens);
    case ikWheel:
        return pick(WheelOpens);
    case ikTrackbar:
        return pick(TrackbarOpens);
    default:
        return {};
    }
}

} // namespace

QString FindingFieldName(const TSkinDocument& doc, const TSkinFinding& finding) {
    const QString& code = finding.Code;
    int slot = -1;
    const QString first = FirstWord(finding.Text, slot);
    if (finding.Item < 0 || finding.Item >= doc.Items.size()) return NamedFields().value(first);

    const TDocItem& item = doc.Items[finding.Item];
    if (code == QLatin1String("name-empty") || code == QLatin1String("name-duplicate"))
        return QStringLiteral("lbItems");
    if (code == QLatin1String("off-screen") || code == QLatin1String("partly-off-screen") ||
        code == QLatin1String("hidden"))
        return item.Kind < ItemKindCount ? QLatin1String(PositionFields[item.Kind]) : QString();
    if (code == QLatin1String("text-box") || code == QLatin1String("trackbar-box")) {
        const bool text = item.Kind == ikText;
        const auto* t = RecordOf<TiText>(doc, item);
        const auto* b = RecordOf<TiTrackbar>(doc, item);
        const int width = t ? t->Width : b ? b->Width : 0;
        // The empty side: Width when it is, else Height.
        if (width <= 0) return QLatin1String(text ? "SpinEdit5" : "SpinEdit16");
        return QLatin1String(text ? "SpinEdit6" : "SpinEdit14");
    }
    if (code == QLatin1String("text-font-size")) return QStringLiteral("SpinEdit7");
    if (code == QLatin1String("text-height")) return QStringLiteral("SpinEdit6");
    if (code == QLatin1String("text-width") || code == QLatin1String("text-longest"))
        return QStringLiteral("SpinEdit5");
    // Ticking "Progress stretch" mends it without a new picture.
    if (code == QLatin1String("progress-short")) return QStringLiteral("CheckBox4");
    if (slot >= 0 || first == QLatin1String("Picture")) return SlotOpen(item.Kind, slot);
    return NamedFields().value(first);
}
