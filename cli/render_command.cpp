#include "render_command.h"

#include "cli_error.h"
#include "command_line.h"
#include "file_io.h"
#include "playlist_screen.h"
#include "preview.h"
#include "render_device_options.h"
#include "screen_thumbnail.h"
#include "skin_file.h"
#include "skin_fonts.h"

#include <QBuffer>
#include <QImageWriter>

#include <new>

namespace {

// Largest picture rendered: a 1200 x 1200 screen at 800 % fits, a runaway
// size from a damaged file or a typo does not exhaust the memory.
constexpr qint64 MaxAreaPixels = qint64(1) << 27;
constexpr int MaxAreaSide = 32767;
// Largest --fit: beyond the largest thumbnails file managers ask for (1024).
constexpr int MaxFitSide = 4096;

int ZoomIndexFor(const QString& text) {
    const QStringList zooms{QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("400"),
                            QStringLiteral("800")};
    const int index = int(zooms.indexOf(text));
    if (index < 0)
        FailUsage(QStringLiteral("--zoom must be 100, 200, 400 or 800, not \"%1\".").arg(text));
    return index;
}

QByteArray EncodePng(const QImage& image, const QString& path) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) FailFile(path, writer.errorString() + QLatin1Char('.'));
    return png;
}

} // namespace

void RunRender(const QStringList& args, TCliOutput& output) {
    const QString zoom = QStringLiteral("zoom"), playlist = QStringLiteral("playlist"),
                  select = QStringLiteral("select"), area = QStringLiteral("area"),
                  fit = QStringLiteral("fit");
    const TCommandLine cl(
        QStringLiteral("render"),
        QList<QCommandLineOption>{{zoom, {}, QStringLiteral("PERCENT"), QStringLiteral("100")},
                                  QCommandLineOption(playlist),
                                  {select, {}, QStringLiteral("N")},
                                  {area, {}, QStringLiteral("WxH")},
                                  {fit, {}, QStringLiteral("SIZE")}} +
            DeviceStateOptions(),
        {QStringLiteral("SKIN.skn"), QStringLiteral("OUT.png")}, args);
    TPreviewView view;
    view.ZoomIndex = ZoomIndexFor(cl.Value(zoom));
    if (cl.IsSet(select) && cl.IsSet(playlist))
        FailUsage(QStringLiteral("--select marks an item of the player screen; the playlist "
                                 "screen has none."));
    const int selected = cl.IsSet(select) ? ParseNumber(select, cl.Value(select), 0, 0xFFFF) : -1;
    if (cl.IsSet(area)) view.Area = ParseSize(area, cl.Value(area), 1, MaxAreaSide);
    const int fitSize = cl.IsSet(fit) ? ParseNumber(fit, cl.Value(fit), 1, MaxFitSide) : 0;
    if (cl.IsSet(fit) && (cl.IsSet(zoom) || cl.IsSet(area)))
        FailUsage(QStringLiteral("--fit sets the picture's size; give it without --zoom and "
                                 "--area."));
    const TDeviceOptions device(cl);
    if (!device.IsEmpty() && cl.IsSet(playlist))
        FailUsage(QStringLiteral("--pressed, --second-state, --progress, --sample and "
                                 "--sample-set change the player screen; the playlist screen "
                                 "has none of its items."));

    const QString skinPath = cl.File(0), pngPath = cl.File(1);
    const TSkinDocument doc = ReadSkinArgument(skinPath);
    if (selected >= doc.Items.size())
        FailUsage(QStringLiteral("--select %1: the skin has %2 items.")
                      .arg(selected)
                      .arg(doc.Items.size()));
    const TDeviceState state = device.StateFor(doc);

    if (cl.IsSet(fit)) {
        if (doc.ScreenWidth < 1 || doc.ScreenHeight < 1)
            FailFile(skinPath, QStringLiteral("The screen of this skin is %1 x %2 pixels, so "
                                              "there is nothing to fit.")
                                   .arg(doc.ScreenWidth)
                                   .arg(doc.ScreenHeight));
    } else if (!cl.IsSet(area)) {
        // The whole screen and nothing else, so no grey shows.
        const qint64 factor = qint64(1) << view.ZoomIndex;
        const qint64 w = doc.ScreenWidth * factor, h = doc.ScreenHeight * factor;
        if (w < 1 || h < 1)
            FailFile(skinPath, QStringLiteral("The screen of this skin is %1 x %2 pixels; give "
                                              "--area WxH.")
                                   .arg(doc.ScreenWidth)
                                   .arg(doc.ScreenHeight));
        if (w > MaxAreaSide || h > MaxAreaSide || w * h > MaxAreaPixels)
            FailFile(skinPath, QStringLiteral("A picture of %1 x %2 pixels is too large to render; "
                                              "give a smaller --zoom or --area.")
                                   .arg(w)
                                   .arg(h));
        view.Area = QSize(int(w), int(h));
    } else if (qint64(view.Area.width()) * view.Area.height() > MaxAreaPixels) {
        FailUsage(QStringLiteral("--area %1 x %2 is too large to render.")
                      .arg(view.Area.width())
                      .arg(view.Area.height()));
    }

    const QString fontNote = SkinFontNote(); // registers the faces as well
    if (!fontNote.isEmpty()) output.Err += QStringLiteral("skntool: %1\n").arg(fontNote).toUtf8();
    QImage image;
    if (cl.IsSet(fit) && cl.IsSet(playlist))
        image = FitScreen(doc.ScreenWidth, doc.ScreenHeight, fitSize,
                          [&](QImage& composition) { PaintPlaylistScreen(composition, doc); });
    else if (cl.IsSet(fit))
        image = FitPlayerScreen(doc, selected, fitSize, state);
    else if (cl.IsSet(playlist))
        image = RenderPlaylistPreview(doc, view);
    else
        image = RenderPlayerPreview(doc, selected, view, state);
    if (image.isNull()) throw std::bad_alloc(); // the area is never empty
    WriteOutputBytes(pngPath, EncodePng(image, pngPath), output);
}
