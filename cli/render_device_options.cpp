#include "render_device_options.h"

#include "cli_error.h"
#include "sample_sets.h"

#include <QRegularExpression>

namespace {

const QString PressedOption = QStringLiteral("pressed"),
              SecondStateOption = QStringLiteral("second-state"),
              ProgressOption = QStringLiteral("progress"), SampleOption = QStringLiteral("sample"),
              SampleSetOption = QStringLiteral("sample-set");

// The keys of --sample, for the text types 0..5.
const QStringList& SampleKeys() {
    static const QStringList keys{"title", "artist", "volume", "elapsed", "remaining", "clock"};
    return keys;
}

QString KindName(int kind) {
    static const char* const names[] = {"an image", "a text", "a button", "a wheel", "a trackbar"};
    return kind >= 0 && kind < ItemKindCount ? QLatin1String(names[kind])
                                             : QStringLiteral("of unknown kind %1").arg(kind);
}

// The captured numbers of pattern in given, each from 0 to 65535; empty when
// given does not match.
std::vector<int> Numbers(const QRegularExpression& pattern, const QString& given) {
    const QRegularExpressionMatch match = pattern.match(given);
    if (!match.hasMatch()) return {};
    std::vector<int> numbers;
    for (int i = 1; i <= pattern.captureCount(); ++i) {
        const qint64 n = match.captured(i).toLongLong();
        if (n > 0xFFFF) return {};
        numbers.push_back(int(n));
    }
    return numbers;
}

[[noreturn]] void WrongKind(const QString& option, const QString& given, int row, int kind,
                            const char* wanted) {
    FailUsage(QStringLiteral("--%1 %2: item %3 is %4; %5.")
                  .arg(option, given)
                  .arg(row)
                  .arg(KindName(kind))
                  .arg(QLatin1String(wanted)));
}

} // namespace

QList<QCommandLineOption> DeviceStateOptions() {
    return {{PressedOption, {}, QStringLiteral("ROW[:center]")},
            {SecondStateOption, {}, QStringLiteral("ROW")},
            {ProgressOption, {}, QStringLiteral("ROW=VALUE")},
            {SampleOption, {}, QStringLiteral("KEY=TEXT")},
            {SampleSetOption, {}, QStringLiteral("SET")}};
}

TDeviceOptions::TDeviceOptions(const TCommandLine& cl) {
    static const QRegularExpression pressed(QStringLiteral("^(\\d{1,9})(?::(center))?$"));
    for (const QString& given : cl.Values(PressedOption)) {
        const std::vector<int> n = Numbers(pressed, given);
        if (n.empty())
            FailUsage(QStringLiteral("--pressed must be ROW or ROW:center with ROW from 0 to "
                                     "65535, not \"%1\".")
                          .arg(given));
        Pressed.push_back({PressedOption, given, n[0], given.endsWith(QLatin1String(":center"))});
    }
    static const QRegularExpression row(QStringLiteral("^(\\d{1,9})$"));
    for (const QString& given : cl.Values(SecondStateOption)) {
        const std::vector<int> n = Numbers(row, given);
        if (n.empty())
            FailUsage(QStringLiteral("--second-state must be a ROW from 0 to 65535, not \"%1\".")
                          .arg(given));
        SecondState.push_back({SecondStateOption, given, n[0], 0});
    }
    static const QRegularExpression progress(QStringLiteral("^(\\d{1,9})=(\\d{1,9})$"));
    for (const QString& given : cl.Values(ProgressOption)) {
        const std::vector<int> n = Numbers(progress, given);
        if (n.empty())
            FailUsage(QStringLiteral("--progress must be ROW=VALUE with each from 0 to 65535, "
                                     "not \"%1\".")
                          .arg(given));
        Progress.push_back({ProgressOption, given, n[0], n[1]});
    }
    if (cl.IsSet(SampleSetOption)) {
        // The sets' captions in lower case: typical, longest.
        QStringList keys;
        for (const QString& name : SampleSetNames())
            keys << name.toLower();
        const QString given = cl.Value(SampleSetOption);
        const int set = int(keys.indexOf(given));
        if (set < 0)
            FailUsage(QStringLiteral("--sample-set must be %1, not \"%2\".")
                          .arg(keys.join(QStringLiteral(" or ")), given));
        Samples.Samples = SampleSetValues(TSampleSet(set));
        SamplesGiven = true;
    }
    // Each --sample overrides the set for its own key.
    for (const QString& given : cl.Values(SampleOption)) {
        const qsizetype equals = given.indexOf(QLatin1Char('='));
        const int type = equals < 0 ? -1 : int(SampleKeys().indexOf(given.left(equals)));
        if (type < 0)
            FailUsage(QStringLiteral("--sample must be KEY=TEXT with KEY one of %1, not \"%2\".")
                          .arg(SampleKeys().join(QStringLiteral(", ")), given));
        Samples.Samples[std::size_t(type)] = given.mid(equals + 1);
        SamplesGiven = true;
    }
}

bool TDeviceOptions::IsEmpty() const {
    return Pressed.empty() && SecondState.empty() && Progress.empty() && !SamplesGiven;
}

TDeviceState TDeviceOptions::StateFor(const TSkinDocument& doc) const {
    TDeviceState state = Samples;
    const auto entry = [&](const TRowValue& r) -> const TDocItem& {
        if (r.Row >= doc.Items.size())
            FailUsage(QStringLiteral("--%1 %2: the skin has %3 items.")
                          .arg(r.Option, r.Given)
                          .arg(doc.Items.size()));
        return doc.Items[r.Row];
    };
    for (const TRowValue& r : Pressed) {
        const TDocItem& item = entry(r);
        if (r.Value && !RecordOf<TiWheel>(doc, item))
            WrongKind(r.Option, r.Given, r.Row, item.Kind, "only a wheel has a centre");
        if (!RecordOf<TiButton>(doc, item) && !RecordOf<TiWheel>(doc, item))
            WrongKind(r.Option, r.Given, r.Row, item.Kind,
                      "only a button or a wheel can be pressed");
        state.Held[r.Row] = r.Value ? THeldPart::Center : THeldPart::Body;
    }
    for (const TRowValue& r : SecondState) {
        const TDocItem& item = entry(r);
        const auto* button = RecordOf<TiButton>(doc, item);
        const auto* wheel = RecordOf<TiWheel>(doc, item);
        if (!button && !wheel)
            WrongKind(r.Option, r.Given, r.Row, item.Kind,
                      "only a button or a wheel has a second state");
        const int command = button ? button->Command : wheel->CenterCommand;
        if (!HasTwoStates(command))
            FailUsage(QStringLiteral("--second-state %1: %2 %3 of item %4 has one state.")
                          .arg(r.Given)
                          .arg(QLatin1String(button ? "Command" : "CenterCommand"))
                          .arg(command)
                          .arg(r.Row));
        state.SecondState.insert(r.Row);
    }
    for (const TRowValue& r : Progress) {
        const TDocItem& item = entry(r);
        const auto* bar = RecordOf<TiTrackbar>(doc, item);
        if (!bar) WrongKind(r.Option, r.Given, r.Row, item.Kind, "only a trackbar has a progress");
        if (r.Value > bar->Width)
            FailUsage(QStringLiteral("--progress %1: VALUE goes from 0 to the trackbar's Width, "
                                     "%2.")
                          .arg(r.Given)
                          .arg(bar->Width));
        state.Progress[r.Row] = r.Value;
    }
    return state;
}
