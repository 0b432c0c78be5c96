#include "help_texts.h"

#include "check_command.h"
#include "diff_command.h"

#include <QMap>

QString OverviewHelp() {
    return QStringLiteral(
        "Usage: skntool COMMAND ARGUMENTS\n"
        "\n"
        "Lumora skins on the command line, through the editor's own code.\n"
        "\n"
        "Commands:\n"
        "  new [--preset N | --size WxH] OUT.skn   write a new empty skin\n"
        "  info SKIN.skn                           print the whole skin as JSON\n"
        "  unpack [--png] SKIN.skn DIR             write skin.json and one .bmp per picture\n"
        "  pack [--watch] DIR OUT.skn              build a skin from such a folder\n"
        "  render SKIN.skn OUT.png [OPTIONS]       write the editor's preview as a PNG\n"
        "  dither IN.skn OUT.skn                   dither every item picture\n"
        "  check [--json] SKIN.skn                 mistakes the device would show\n"
        "  diff [--json] A.skn B.skn               what differs between two skins\n"
        "  help COMMAND                            describe one command\n"
        "  --version                               print the version\n"
        "\n"
        "\"-\" as a skin or an output is standard input or standard output;\n"
        "\"--\" ends the options, so that a file name may begin with \"-\".\n"
        "Exit status: 0 on success, 1 when a file cannot be read or written or is not\n"
        "a valid skin, 2 for a usage error. A command that fails changes no file\n"
        "(standard output keeps what reached it before the failure).\n"
        "check exits with 3 when it finds something; diff with 0 for equal skins, 1\n"
        "for different ones and 2 for any trouble, as diff(1).\n");
}

QString CommandHelp(const QString& command) {
    static const QMap<QString, QString> texts{
        {QStringLiteral("new"),
         QStringLiteral("Usage: skntool new [--preset N | --size WxH] OUT.skn\n"
                        "\n"
                        "Writes an empty skin: no items and the default playlist look.\n"
                        "\n"
                        "  --preset N   client screen of preset N (default 0):\n"
                        "                 0 Standard QVGA (240x320)            240 x 268\n"
                        "                 1 Standard VGA (480x640)             480 x 536\n"
                        "                 2 Square (240x240)                   240 x 198\n"
                        "                 3 Square VGA (480x480)               480 x 396\n"
                        "                 4 Standard QVGA landscape (320x240)  320 x 198\n"
                        "                 5 Standard VGA landscape (640x480)   640 x 396\n"
                        "  --size WxH   client screen of W x H pixels, each from 120 to 1200\n")},
        {QStringLiteral("info"),
         QStringLiteral("Usage: skntool info SKIN.skn\n"
                        "\n"
                        "Prints the whole skin as JSON: the document's field names as keys,\n"
                        "kinds, enumerations and colours (0x00BBGGRR) as numbers, item names as\n"
                        "text, and each picture as {\"Width\": w, \"Height\": h}.\n")},
        {QStringLiteral("unpack"),
         QStringLiteral("Usage: skntool unpack [--png] SKIN.skn DIR\n"
                        "\n"
                        "Writes DIR/skin.json (the JSON of \"info\", each picture a file name\n"
                        "relative to DIR, null for a picture of 0 x 0 pixels) and one 24-bit .bmp\n"
                        "per distinct picture, named after the first slot skin.json lists it in:\n"
                        "image-0-picture.bmp, button-0-picture-2.bmp, wheel-1-picture-7.bmp,\n"
                        "trackbar-0-picture-1.bmp, playlist-folder-icon.bmp,\n"
                        "playlist-song-icon.bmp. Every slot holding an equal picture names that\n"
                        "one file. DIR is created when missing; other files in it are left\n"
                        "alone. A file already there is written as the editor saves it: its\n"
                        "owner, hard links and extended attributes stay. An unpack that fails\n"
                        "or is interrupted (Ctrl+C) leaves DIR as it was.\n"
                        "\n"
                        "  --png   write .png files instead, for any drawing program: in every\n"
                        "          slot but an image's, magenta (255, 0, 255) pixels are fully\n"
                        "          transparent. Equal pictures share a file only when their slots\n"
                        "          are alike in that. \"pack\" gives the same skin back.\n")},
        {QStringLiteral("pack"),
         QStringLiteral(
             "Usage: skntool pack [--watch] DIR OUT.skn\n"
             "\n"
             "Builds a skin from a folder that \"unpack\" wrote, hand-edited or not.\n"
             "Every key is required, once, and numbers must fit the skin file's\n"
             "fields. Pictures may be any bitmap the editor reads, or PNG, JPEG, GIF\n"
             "(its first frame), WebP or TIFF files, known by their content, each named\n"
             "by a path relative to DIR that stays inside it once symbolic links are\n"
             "followed and ends at a regular file. Image pictures are drawn opaque,\n"
             "all others with magenta (255, 0, 255) transparent. A picture with an\n"
             "alpha channel becomes, in an image, its colours composed over black; in\n"
             "any other slot, magenta where its alpha is below half and its own\n"
             "colour, opaque, elsewhere. A picture without alpha is taken as it is.\n"
             "A skin the editor wrote gives the same bytes after unpack and pack.\n"
             "\n"
             "  --watch   pack, then pack again whenever skin.json or a file it names\n"
             "            changes (a picture saved in a drawing program), DIR removed and\n"
             "            made again included, once they have held still for 150 ms; other\n"
             "            files may change freely. OUT.skn is rewritten whole each time.\n"
             "            A failure is printed as pack prints it and watching goes on.\n"
             "            Ends with status 0 on SIGINT (Ctrl+C) or SIGTERM, with 1 when DIR\n"
             "            cannot be watched.\n")},
        {QStringLiteral("render"),
         QStringLiteral(
             "Usage: skntool render SKIN.skn OUT.png [OPTIONS]\n"
             "\n"
             "Writes a PNG of exactly what the editor's preview area shows.\n"
             "\n"
             "  --zoom 100|200|400|800   zoom of the preview (default 100)\n"
             "  --playlist               the playlist screen instead of the player screen\n"
             "  --select N               mark the item of list row N (from 0)\n"
             "  --area WxH               size of the preview area (default: the screen\n"
             "                           size times the zoom, so no grey shows)\n"
             "  --fit SIZE               the screen scaled down (never up) to fit SIZE x SIZE,\n"
             "                           SIZE from 1 to 4096, instead of --zoom and --area:\n"
             "                           the file managers' thumbnail\n"
             "\n"
             "The device's state, on the player screen (each option repeatable; ROW is\n"
             "the item list's row, from 0):\n"
             "  --pressed ROW            hold a button down, or a wheel on its ring\n"
             "  --pressed ROW:center     hold a wheel on its centre icon\n"
             "  --second-state ROW       a button whose command has two states, or a wheel\n"
             "                           whose centre command has, in its second state\n"
             "  --progress ROW=VALUE     a trackbar's progress ends VALUE pixels from its\n"
             "                           left, 0 to its Width (default Width / 3)\n"
             "  --sample KEY=TEXT        what texts of a type show: KEY is title, artist,\n"
             "                           volume, elapsed, remaining or clock\n"
             "  --sample-set SET         what every text shows, but where --sample gives\n"
             "                           its KEY: typical (the editor's samples, the\n"
             "                           default) or longest (a title and an artist of\n"
             "                           200 Ws, volume \"100%\", elapsed and remaining\n"
             "                           \"W:WW:WW\", clock \"WW:WW\"; in a time, W is the\n"
             "                           face's widest digit at the text's size)\n")},
        {QStringLiteral("dither"),
         QStringLiteral("Usage: skntool dither IN.skn OUT.skn\n"
                        "\n"
                        "Applies the editor's Floyd-Steinberg dithering to every item picture\n"
                        "and writes the result. The playlist icons are left alone. IN and OUT\n"
                        "may be the same file.\n")},
        {QStringLiteral("check"), CheckHelp()},
        {QStringLiteral("diff"), DiffHelp()},
        {QStringLiteral("help"),
         QStringLiteral("Usage: skntool help COMMAND\n"
                        "\n"
                        "Describes one command: new, info, unpack, pack, render, dither,\n"
                        "check or diff.\n")},
    };
    return texts.value(command);
}
