#include "diff_command.h"

#include "cli_error.h"
#include "command_line.h"
#include "file_io.h"
#include "skin_diff.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int ExitDifferent = 1, ExitTrouble = 2;

const char* const KindNames[ItemKindCount] = {"image", "text", "button", "wheel", "trackbar"};

// As every command reads a skin ("-" too), but any failure is trouble (2),
// as diff(1) has it.
TSkinDocument ReadForDiff(const QString& path) {
    try {
        return ReadSkinArgument(path);
    } catch (TCliError& error) {
        error.Status = ExitTrouble;
        throw;
    }
}

QString ValueText(const QJsonValue& v) {
    if (v.isString()) return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    if (v.isBool()) return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.isObject()) // a picture's size
        return QStringLiteral("%1 x %2")
            .arg(v[QLatin1String("Width")].toInteger())
            .arg(v[QLatin1String("Height")].toInteger());
    if (v.isDouble()) return QString::number(v.toInteger());
    return QStringLiteral("(none)");
}

QString LineOf(const TSkinDifference& d) {
    QString where;
    switch (d.Scope) {
    case TSkinDifference::dsScreen:
        where = QStringLiteral("screen");
        break;
    case TSkinDifference::dsPlaylist:
        where = QStringLiteral("playlist");
        break;
    case TSkinDifference::dsItem:
        where = QStringLiteral("item %1 \"%2\"").arg(d.Item).arg(d.Name);
        break;
    }
    QString what;
    if (d.Change == QLatin1String("added") || d.Change == QLatin1String("removed"))
        what = QStringLiteral("%1 (%2)").arg(d.Change, QLatin1String(KindNames[d.Kind]));
    else if (d.Change == QLatin1String("moved"))
        what = QStringLiteral("moved from row %1").arg(d.Old.toInteger());
    else
        what = QStringLiteral("%1: %2 -> %3").arg(d.Field, ValueText(d.Old), ValueText(d.New));
    if (d.Pixels >= 0)
        what += d.Pixels == 1 ? QStringLiteral(", 1 pixel differs")
                              : QStringLiteral(", %1 pixels differ").arg(d.Pixels);
    return QStringLiteral("%1: %2\n").arg(where, what);
}

QJsonValue OrNull(bool set, const QJsonValue& v) {
    return set ? v : QJsonValue();
}

QJsonObject JsonOf(const TSkinDifference& d) {
    static const char* const scopes[] = {"screen", "item", "playlist"};
    const bool item = d.Scope == TSkinDifference::dsItem;
    QJsonObject o{{"scope", QLatin1String(scopes[d.Scope])},
                  {"change", d.Change},
                  {"item", OrNull(item, d.Item)},
                  {"name", OrNull(item, d.Name)},
                  {"kind", OrNull(item, d.Kind)},
                  {"field", OrNull(!d.Field.isEmpty(), d.Field)},
                  {"old", d.Old},
                  {"new", d.New}};
    if (d.Pixels >= 0) o.insert(QStringLiteral("pixels"), d.Pixels);
    return o;
}

} // namespace

void RunDiff(const QStringList& args, TCliOutput& output) {
    const QString json = QStringLiteral("json");
    const TCommandLine cl(QStringLiteral("diff"), {QCommandLineOption(json)},
                          {QStringLiteral("A.skn"), QStringLiteral("B.skn")}, args);
    // Standard input holds one skin.
    if (cl.File(0) == QLatin1String("-") && cl.File(1) == QLatin1String("-"))
        FailUsage(QStringLiteral("Only one of the two skins can be standard input."));
    const TSkinDocument a = ReadForDiff(cl.File(0));
    const TSkinDocument b = ReadForDiff(cl.File(1));
    const std::vector<TSkinDifference> differences = DiffSkins(a, b);
    if (cl.IsSet(json)) {
        QJsonArray list;
        for (const TSkinDifference& d : differences)
            list.append(JsonOf(d));
        output.Out += QJsonDocument(list).toJson();
    } else {
        QString text;
        for (const TSkinDifference& d : differences)
            text += LineOf(d);
        output.Out += text.toUtf8();
    }
    output.Status = differences.empty() ? ExitOk : ExitDifferent;
}

QString DiffHelp() {
    return QStringLiteral(
        "Usage: skntool diff [--json] A.skn B.skn\n"
        "\n"
        "Compares two skins as documents, not bytes, and prints one line per\n"
        "difference:\n"
        "  screen: ScreenWidth: 240 -> 480\n"
        "  item 3 \"clock\": removed (text)            N: the item's row in A\n"
        "  item 5 \"cover\": added (image)             N: its row in B, as below\n"
        "  item 7 \"wheel\": moved from row 9\n"
        "  item 2 \"title\": X: 72 -> 80\n"
        "  item 4 \"artist\": Name: \"artst\" -> \"artist\"\n"
        "  item 6 \"play\": Pictures[0]: 26 x 26 -> 26 x 26, 40 pixels differ\n"
        "  playlist: Colors[2]: 8049407 -> 0\n"
        "  playlist: FolderIcon: 16 x 16 -> 15 x 15, 256 pixels differ\n"
        "Items are matched by kind and name (the first of a name in A with the\n"
        "first in B, and so on), an unmatched item of the same kind on the same row\n"
        "counts as renamed; an item is moved when it left the order of the others.\n"
        "Fields carry the names and values \"skntool info\" prints. Pictures are\n"
        "compared pixel by pixel, laid over each other at their top-left corners; a\n"
        "pixel only one of them has differs. The order of the records inside the\n"
        "file (the entries' Index) is storage, not document, and is not compared.\n"
        "\n"
        "  --json   the differences as a JSON array of {\"scope\": \"screen\"|\"item\"|\n"
        "           \"playlist\", \"change\": \"added\"|\"removed\"|\"moved\"|\"changed\",\n"
        "           \"item\": N, \"name\": NAME, \"kind\": K, \"field\": FIELD, \"old\": V,\n"
        "           \"new\": V} with \"pixels\": N for a picture; rows as old and new\n"
        "           for a moved item\n"
        "\n"
        "Exit status as diff(1): 0 when the documents are equal, 1 when they differ,\n"
        "2 when a file cannot be read or is not a valid skin, or for a usage error.\n");
}
