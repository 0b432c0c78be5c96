#include "check_command.h"

#include "cli_error.h"
#include "code_page.h"
#include "command_line.h"
#include "file_io.h"
#include "finding_text.h"
#include "skin_check.h"
#include "skin_file.h"
#include "skin_fonts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray AsText(const QString& path, const TSkinDocument& doc,
                  const std::vector<TSkinFinding>& findings) {
    QString text;
    for (const TSkinFinding& f : findings)
        text += QStringLiteral("%1: %2\n").arg(path, FindingLine(doc, f));
    return text.toUtf8();
}

QByteArray AsJson(const TSkinDocument& doc, const std::vector<TSkinFinding>& findings) {
    QJsonArray list;
    for (const TSkinFinding& f : findings) {
        const bool item = f.Item >= 0;
        list.append(QJsonObject{
            {"item", item ? QJsonValue(f.Item) : QJsonValue()},
            {"name", item ? QJsonValue(DecodeName(doc.Items[f.Item].Name)) : QJsonValue()},
            {"kind", item ? QJsonValue(doc.Items[f.Item].Kind) : QJsonValue()},
            {"severity", SeverityName(f.Severity)},
            {"code", f.Code},
            {"text", f.Text}});
    }
    return QJsonDocument(list).toJson();
}

} // namespace

void RunCheck(const QStringList& args, TCliOutput& output) {
    const QString json = QStringLiteral("json");
    const TCommandLine cl(QStringLiteral("check"), {QCommandLineOption(json)},
                          {QStringLiteral("SKIN.skn")}, args);
    const QString path = cl.File(0);
    const TSkinDocument doc = ReadSkinArgument(path);

    // The text checks measure with the previews' face; say when it is missing.
    const QString fontNote = SkinFontNote();
    if (!fontNote.isEmpty()) output.Err += QStringLiteral("skntool: %1\n").arg(fontNote).toUtf8();
    const std::vector<TSkinFinding> findings = CheckSkin(doc);
    output.Out += cl.IsSet(json) ? AsJson(doc, findings) : AsText(path, doc, findings);
    output.Status = findings.empty() ? ExitOk : ExitFindings;
}

QString CheckHelp() {
    return QStringLiteral(
        "Usage: skntool check [--json] SKIN.skn\n"
        "\n"
        "Lists the mistakes of a skin that the device would show, judged with the\n"
        "editor's own preview code: one line per finding, errors first, as\n"
        "  SKIN: item N \"NAME\": error: TEXT      (N: the item's row, from 0)\n"
        "  SKIN: playlist: warning: TEXT\n"
        "and nothing else. --json prints them as a JSON array of\n"
        "  {\"item\": N, \"name\": NAME, \"kind\": K, \"severity\": \"error\"|\"warning\",\n"
        "   \"code\": CODE, \"text\": TEXT}\n"
        "with null item, name and kind for the playlist. The checks, by code:\n"
        "\n"
        "Errors:\n"
        "  placeholder     a slot the device shows still holds the placeholder picture\n"
        "                  (compared at the file's 5-bit levels). Shown slots: an\n"
        "                  image's picture; a button's pictures 0 and 1, and 2 and 3\n"
        "                  when its command has two states; a wheel's eight, but\n"
        "                  picture 4 only when its centre command has two states; a\n"
        "                  trackbar's progress, and its scroller when shown; the\n"
        "                  playlist's two icons\n"
        "  off-screen      the item's box (the one the preview marks) lies wholly\n"
        "                  outside the screen\n"
        "  value           a command, text type, alignment, repaint trigger, wheel\n"
        "                  action or track type that the inspector does not offer\n"
        "  text-box        a text whose Width or Height is 0 or less\n"
        "  text-font-size  a text whose FontSize gives no point size (below 2)\n"
        "  trackbar-box    a trackbar whose Width or Height is 0 or less\n"
        "\n"
        "Warnings:\n"
        "  partly-off-screen    the item's box lies partly outside the screen\n"
        "  hidden               the item's box lies wholly inside the box of an\n"
        "                       (opaque) image item later in the list\n"
        "  text-height          a text box lower than its font's cell height\n"
        "  text-width           a text's sample (e.g. \"(song title)\") wider than its box;\n"
        "                       both measured with the preview's font (Tahoma)\n"
        "  text-longest         a volume, time or clock text whose sample fits its box\n"
        "                       but whose longest value does not: \"100%\", \"W:WW:WW\"\n"
        "                       and \"WW:WW\", W the face's widest digit at its size\n"
        "  range                BallCount outside 2..10, playlist TitleHeight or\n"
        "                       ItemHeight outside 15..100, TitleFontSize or\n"
        "                       ItemFontSize outside 8..100\n"
        "  name-empty           an item without a name\n"
        "  name-duplicate       an item named like an earlier one\n"
        "  progress-short       an unstretched trackbar whose progress picture is\n"
        "                       narrower than the bar, so the progress stops short\n"
        "  wheel-button-height  a wheel's left or right button picture taller than\n"
        "                       its body\n"
        "  empty-picture        a slot the device shows holds a picture of no pixels\n"
        "  image-magenta        an image picture with magenta (255, 0, 255) pixels,\n"
        "                       which image items draw as they are, not see-through\n"
        "  picture-size         a button's shown pictures 1 to 3, or a wheel's\n"
        "                       \"Image wheel pressed\", not of the size of picture 0,\n"
        "                       so the swap leaves part of the other showing\n"
        "  colour-depth         a shown item picture with pixels that a save changes by\n"
        "                       more than one step in a channel (the file keeps 5 bits\n"
        "                       per channel); \"Dither pictures (recommended)\" avoids\n"
        "                       it. Only the editor's pictures not yet saved have such\n"
        "                       pixels: never a skin read from a file, never after Dither\n"
        "\n"
        "Exit status: 0 without findings, 3 with findings (warnings included), 1 when\n"
        "the file cannot be read or is not a valid skin, 2 for a usage error.\n");
}
