#include "skin_commands.h"

#include "cli_error.h"
#include "command_line.h"
#include "dither.h"
#include "file_io.h"
#include "new_skin.h"
#include "pack_watch.h"
#include "skin_folder.h"
#include "skin_json.h"

#include <QHash>

void RunNew(const QStringList& args, TCliOutput& output) {
    const QString preset = QStringLiteral("preset"), size = QStringLiteral("size");
    const TCommandLine cl(QStringLiteral("new"),
                          {{preset, {}, QStringLiteral("N")}, {size, {}, QStringLiteral("WxH")}},
                          {QStringLiteral("OUT.skn")}, args);
    if (cl.IsSet(preset) && cl.IsSet(size))
        FailUsage(QStringLiteral("Give either --preset or --size, not both."));
    // The same ranges as the "New skin" dialog: its six presets or 120..1200.
    QSize screen(ResolutionPresets[0].Width, ResolutionPresets[0].Height);
    if (cl.IsSet(preset)) {
        const auto& p = ResolutionPresets[std::size_t(
            ParseNumber(preset, cl.Value(preset), 0, CustomPreset - 1))];
        screen = QSize(p.Width, p.Height);
    }
    if (cl.IsSet(size)) screen = ParseSize(size, cl.Value(size), 120, 1200);

    TSkinDocument doc;
    NewSkin(doc);
    doc.ScreenWidth = screen.width();
    doc.ScreenHeight = screen.height();
    WriteSkinArgument(doc, cl.File(0), output);
}

void RunInfo(const QStringList& args, TCliOutput& output) {
    const TCommandLine cl(QStringLiteral("info"), {}, {QStringLiteral("SKIN.skn")}, args);
    const TSkinDocument doc = ReadSkinArgument(cl.File(0));
    WriteSkinInfo(doc, [&output](QByteArrayView piece) { output.Print(piece); });
}

void RunUnpack(const QStringList& args, TCliOutput&) {
    const QString png = QStringLiteral("png");
    const TCommandLine cl(QStringLiteral("unpack"), {QCommandLineOption(png)},
                          {QStringLiteral("SKIN.skn"), QStringLiteral("DIR")}, args);
    UnpackSkin(ReadSkinArgument(cl.File(0)), cl.File(1),
               cl.IsSet(png) ? TPictureFiles::Png : TPictureFiles::Bitmaps);
}

void RunPack(const QStringList& args, TCliOutput& output) {
    const QString watch = QStringLiteral("watch");
    const TCommandLine cl(QStringLiteral("pack"), {QCommandLineOption(watch)},
                          {QStringLiteral("DIR"), QStringLiteral("OUT.skn")}, args);
    if (!cl.IsSet(watch)) {
        WriteSkinArgument(PackSkin(cl.File(0)), cl.File(1), output);
        return;
    }
    // A program watching the skin needs a file that is rewritten whole.
    if (cl.File(1) == QLatin1String("-"))
        FailUsage(QStringLiteral("--watch writes a file, not standard output."));
    WatchAndPack(cl.File(0), cl.File(1));
}

void RunDither(const QStringList& args, TCliOutput& output) {
    const TCommandLine cl(QStringLiteral("dither"), {},
                          {QStringLiteral("IN.skn"), QStringLiteral("OUT.skn")}, args);
    TSkinDocument doc = ReadSkinArgument(cl.File(0));
    DitherAllPictures(doc);
    WriteSkinArgument(doc, cl.File(1), output);
}
