#include "skin_check.h"

#include "code_page.h"
#include "file_colours.h"
#include "marker_box.h"
#include "sample_sets.h"
#include "skin_text.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>
#include <unordered_map>

namespace {

// What a skin file keeps of a colour: the top five bits of each channel.
constexpr QRgb FiveBits = 0xF8F8F8;
constexpr QRgb FiveBitMagenta = 0xF800F8;

const char* const ButtonSlots[4] = {"Image (1) normal", "Image (1) pressed", "Image (2) normal",
                                    "Image (2) pressed"};
const char* const WheelSlots[8] = {
    "Image normal",          "Image wheel pressed", "Image center pressed", "Image button icon",
    "Image button (1) icon", "Image button left",   "Image button right",   "Image ball"};
const char* const TrackbarSlots[2] = {"Image progress", "Image scroller"};

// The inspector's choice lists and number ranges.
struct TRange {
    int Min, Max;
};
constexpr TRange Commands{0, PlayerCommandCount - 1};
constexpr TRange RepaintTriggers{rtNone, rtSystemTimeChanges};
constexpr TRange TextTypes{ttSongTitle, ttSystemTime};
constexpr TRange Alignments{0, 2};
constexpr TRange WheelActions{waChangeMusic, waSeekTime};
constexpr TRange TrackTypes{tkPlaybackPosition, tkVolume};
constexpr TRange BallCounts{2, 10};
constexpr TRange PlaylistHeights{15, 100};
constexpr TRange PlaylistFontSizes{8, 100};

QString Slot(int slot, const char* caption) {
    return QStringLiteral("Pictures[%1] (\"%2\")").arg(slot).arg(QLatin1String(caption));
}

QString BoxText(const TBox& b) {
    return QStringLiteral("%1 x %2 at (%3, %4)")
        .arg(b.Right - b.Left)
        .arg(b.Bottom - b.Top)
        .arg(b.Left)
        .arg(b.Top);
}

qint64 MagentaPixels(const QImage& image) {
    const QImage rgb =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
            ? image
            : image.convertToFormat(QImage::Format_RGB32);
    // QImage's accessors are out of line: ask once, not per pixel.
    const int w = rgb.width(), h = rgb.height();
    qint64 count = 0;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x)
            count += (line[x] & FiveBits) == FiveBitMagenta;
    }
    return count;
}

// Pixels that a save changes by more than one step in some channel: the file
// keeps 5 bits of each, which read back a little off any other value.
qint64 PixelsASaveChanges(const QImage& image) {
    if (image.format() == QImage::Format_RGB555) return 0; // the file's own levels
    const QImage rgb =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
            ? image
            : image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width(), h = rgb.height();
    qint64 count = 0;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x)
            count += SaveChangesVisibly(line[x]);
    }
    return count;
}

class TChecker {
  public:
    explicit TChecker(const TSkinDocument& doc) : Doc(doc) {}

    std::vector<TSkinFinding> Run() {
        FindCoveringImages();
        for (int i = 0; i < Doc.Items.size(); ++i) {
            Current = i;
            CheckItem(Doc.Items[i]);
        }
        Current = -1;
        CheckPlaylist();
        std::stable_partition(Findings.begin(), Findings.end(), [](const TSkinFinding& f) {
            return f.Severity == TFindingSeverity::Error;
        });
        return std::move(Findings);
    }

  private:
    void Error(const char* code, const QString& text) {
        Findings.push_back({Current, TFindingSeverity::Error, QLatin1String(code), text});
    }
    void Warning(const char* code, const QString& text) {
        Findings.push_back({Current, TFindingSeverity::Warning, QLatin1String(code), text});
    }

    void Choice(const char* field, int value, TRange list) {
        if (value < list.Min || value > list.Max)
            Error("value", QStringLiteral("%1 %2 is none of the inspector's values %3 to %4")
                               .arg(QLatin1String(field))
                               .arg(value)
                               .arg(list.Min)
                               .arg(list.Max));
    }
    void Range(const char* field, int value, TRange range) {
        if (value < range.Min || value > range.Max)
            Warning("range", QStringLiteral("%1 %2 lies outside the inspector's range %3 to %4")
                                 .arg(QLatin1String(field))
                                 .arg(value)
                                 .arg(range.Min)
                                 .arg(range.Max));
    }
    // A slot the device shows: not the placeholder, and something to draw.
    void Shown(const TPicture& picture, const QString& slot) {
        if (IsPlaceholder(picture))
            Error("placeholder", QStringLiteral("%1 is still the placeholder picture").arg(slot));
        else if (picture.Image.isNull())
            Warning("empty-picture",
                    QStringLiteral("%1 has no pixels, so nothing is drawn").arg(slot));
        else
            ShownSlots.push_back({&picture, slot});
    }

    // After an item's other findings: its shown pictures that a save would
    // change visibly. Dither leaves only the file's levels, and a skin read
    // from a file has nothing else, so neither ever shows this.
    void CheckColourDepth() {
        for (const auto& [picture, slot] : ShownSlots) {
            const qint64 key = picture->Image.cacheKey();
            auto it = Changed.find(key);
            if (it == Changed.end())
                it = Changed.emplace(key, PixelsASaveChanges(picture->Image)).first;
            if (it->second > 0)
                Warning("colour-depth",
                        QStringLiteral("%1 has %2 pixels that a save changes by more than one "
                                       "step, as the file keeps 5 bits per channel; use "
                                       "\"Dither pictures (recommended)\" before saving")
                            .arg(slot)
                            .arg(it->second));
        }
        ShownSlots.clear();
    }

    // The device swaps a state's picture in at the same place: one of
    // another size leaves part of the other showing, or overhangs it.
    void SameSize(const TPicture& normal, const TPicture& other, const QString& otherSlot,
                  const QString& normalSlot) {
        const bool reported = IsPlaceholder(other) || IsPlaceholder(normal) ||
                              other.Image.isNull() || normal.Image.isNull();
        if (!reported && other.Image.size() != normal.Image.size())
            Warning("picture-size", QStringLiteral("%1 is %2 x %3, %4 %5 x %6")
                                        .arg(otherSlot)
                                        .arg(other.Width())
                                        .arg(other.Height())
                                        .arg(normalSlot)
                                        .arg(normal.Width())
                                        .arg(normal.Height()));
    }

    // For every entry, the first later image item whose box holds the
    // entry's box (-1 for none). Walked from the end: an image drops every
    // later one whose box lies within its own, since it is found first and
    // holds all that they hold; so many alike images cost no more than one.
    void FindCoveringImages() {
        CoveringImage.assign(std::size_t(Doc.Items.size()), -1);
        std::vector<TImageBox> later; // the earliest last
        for (int i = int(Doc.Items.size()) - 1; i >= 0; --i) {
            const TDocItem& item = Doc.Items[i];
            if (const std::optional<TBox> box = MarkerBoxOf(Doc, item); box && !box->IsEmpty())
                for (auto it = later.rbegin(); it != later.rend(); ++it)
                    if (Holds(it->Box, *box)) {
                        CoveringImage[std::size_t(i)] = it->Position;
                        break;
                    }
            if (const auto* image = RecordOf<TiImage>(Doc, item)) {
                const TBox box = MarkerBox(*image);
                if (box.IsEmpty()) continue;
                std::erase_if(later, [&](const TImageBox& l) { return Holds(box, l.Box); });
                later.push_back({i, box});
            }
        }
    }

    void CheckItem(const TDocItem& item) {
        CheckName(item);
        if (const std::optional<TBox> box = MarkerBoxOf(Doc, item); box && !box->IsEmpty())
            CheckPlace(*box);
        if (const auto* r = RecordOf<TiImage>(Doc, item)) CheckImage(*r);
        if (const auto* r = RecordOf<TiText>(Doc, item)) CheckText(*r);
        if (const auto* r = RecordOf<TiButton>(Doc, item)) CheckButton(*r);
        if (const auto* r = RecordOf<TiWheel>(Doc, item)) CheckWheel(*r);
        if (const auto* r = RecordOf<TiTrackbar>(Doc, item)) CheckTrackbar(*r);
        CheckColourDepth();
    }

    void CheckName(const TDocItem& item) {
        if (item.Name.isEmpty()) {
            Warning("name-empty", QStringLiteral("has no name"));
            return;
        }
        const auto first = FirstUse.constFind(item.Name);
        if (first == FirstUse.constEnd())
            FirstUse.insert(item.Name, Current);
        else
            Warning("name-duplicate", QStringLiteral("has the same name as item %1").arg(*first));
    }

    void CheckPlace(const TBox& box) {
        const TBox screen{0, 0, Doc.ScreenWidth, Doc.ScreenHeight};
        const QString where = QStringLiteral("its box %1 lies %2 outside the %3 x %4 screen");
        if (box.Right <= screen.Left || box.Bottom <= screen.Top || box.Left >= screen.Right ||
            box.Top >= screen.Bottom)
            Error("off-screen", where.arg(BoxText(box), QStringLiteral("wholly"))
                                    .arg(Doc.ScreenWidth)
                                    .arg(Doc.ScreenHeight));
        else if (!Holds(screen, box))
            Warning("partly-off-screen", where.arg(BoxText(box), QStringLiteral("partly"))
                                             .arg(Doc.ScreenWidth)
                                             .arg(Doc.ScreenHeight));
        // Later entries paint over earlier ones; image items are opaque.
        if (const int image = CoveringImage[std::size_t(Current)]; image >= 0)
            Warning("hidden", QStringLiteral("lies wholly under the opaque image item %1 \"%2\"")
                                  .arg(image)
                                  .arg(DecodeName(Doc.Items[image].Name)));
    }

    void CheckImage(const TiImage& r) {
        Choice("RepaintWhen", r.RepaintWhen, RepaintTriggers);
        Shown(r.Picture, QStringLiteral("Picture"));
        if (const qint64 magenta = MagentaPixels(r.Picture.Image); magenta > 0)
            Warning("image-magenta",
                    QStringLiteral("Picture has %1 magenta (255, 0, 255) pixels, which an image "
                                   "item draws as they are, not see-through")
                        .arg(magenta));
    }

    void CheckText(const TiText& r) {
        Choice("TextType", r.TextType, TextTypes);
        Choice("HAlign", r.HAlign, Alignments);
        Choice("VAlign", r.VAlign, Alignments);
        if (r.Width <= 0 || r.Height <= 0) {
            Error("text-box",
                  QStringLiteral("its box of Width %1 and Height %2 has no room for text")
                      .arg(r.Width)
                      .arg(r.Height));
            return;
        }
        const int points = PointSizeFor(r.FontSize);
        if (points <= 0) {
            Error("text-font-size",
                  QStringLiteral("FontSize %1 gives %2 points, so no text is drawn")
                      .arg(r.FontSize)
                      .arg(points));
            return;
        }
        const TTextExtent extent = Extent(points, r.Bold, r.PreviewText);
        if (extent.CellHeight > r.Height)
            Warning("text-height", QStringLiteral("Height %1 is less than the %2-pixel cell of its "
                                                  "%3-point font (FontSize %4)")
                                       .arg(r.Height)
                                       .arg(extent.CellHeight)
                                       .arg(points)
                                       .arg(r.FontSize));
        if (!r.PreviewText.isEmpty() && extent.Width > r.Width)
            Warning("text-width",
                    QStringLiteral("the sample \"%1\" is %2 pixels wide, Width only %3")
                        .arg(r.PreviewText)
                        .arg(extent.Width)
                        .arg(r.Width));
        else if (IsTimeType(r.TextType) || r.TextType == ttVolume)
            CheckLongest(r, points);
    }

    // A value the player fills in that today's sample understates: "50%"
    // fits where "100%" does not, "00:25" where an hour's "0:00:00" does not.
    void CheckLongest(const TiText& r, int points) {
        // Alike texts are many in a large skin: each type, size and weight's
        // longest value is worked out once.
        const std::tuple key(r.TextType, points, r.Bold);
        auto it = Longest.find(key);
        if (it == Longest.end())
            it = Longest.emplace(key, LongestValue(r.TextType, points, r.Bold)).first;
        const QString& longest = it->second;
        const int width = Extent(points, r.Bold, longest).Width;
        if (width > r.Width)
            Warning("text-longest",
                    QStringLiteral("the longest value \"%1\" is %2 pixels wide, Width only %3")
                        .arg(longest)
                        .arg(width)
                        .arg(r.Width));
    }

    TTextExtent Extent(int points, bool bold, const QString& text) {
        const std::tuple key(points, bold, text);
        if (const auto it = Extents.find(key); it != Extents.end()) return it->second;
        return Extents.emplace(key, MeasureText(SkinFont(points, bold), text)).first->second;
    }

    void CheckButton(const TiButton& r) {
        Choice("Command", r.Command, Commands);
        const int shown = HasTwoStates(r.Command) ? 4 : 2;
        for (int s = 0; s < shown; ++s)
            Shown(r.Pictures[std::size_t(s)], Slot(s, ButtonSlots[s]));
        for (int s = 1; s < shown; ++s)
            SameSize(r.Pictures[0], r.Pictures[std::size_t(s)], Slot(s, ButtonSlots[s]),
                     Slot(0, ButtonSlots[0]));
    }

    void CheckWheel(const TiWheel& r) {
        Choice("CenterCommand", r.CenterCommand, Commands);
        Choice("LeftCommand", r.LeftCommand, Commands);
        Choice("RightCommand", r.RightCommand, Commands);
        Choice("TopHalfAction", r.TopHalfAction, WheelActions);
        Choice("BottomHalfAction", r.BottomHalfAction, WheelActions);
        Range("BallCount", r.BallCount, BallCounts);
        for (int s = 0; s < 8; ++s)
            if (s != 4 || HasTwoStates(r.CenterCommand))
                Shown(r.Pictures[std::size_t(s)], Slot(s, WheelSlots[s]));
        SameSize(r.Pictures[0], r.Pictures[1], Slot(1, WheelSlots[1]), Slot(0, WheelSlots[0]));
        const int body = r.Pictures[0].Height();
        for (int s : {5, 6})
            if (const int h = r.Pictures[std::size_t(s)].Height(); h > body)
                Warning("wheel-button-height",
                        QStringLiteral("%1 is %2 pixels high, the wheel's body only %3")
                            .arg(Slot(s, WheelSlots[s]))
                            .arg(h)
                            .arg(body));
    }

    void CheckTrackbar(const TiTrackbar& r) {
        Choice("TrackType", r.TrackType, TrackTypes);
        if (r.Width <= 0 || r.Height <= 0)
            Error("trackbar-box", QStringLiteral("its box of Width %1 and Height %2 is empty")
                                      .arg(r.Width)
                                      .arg(r.Height));
        Shown(r.Pictures[0], Slot(0, TrackbarSlots[0]));
        if (r.ShowScroller) Shown(r.Pictures[1], Slot(1, TrackbarSlots[1]));
        const int progress = r.Pictures[0].Width();
        if (!r.ProgressStretch && progress > 0 && progress < r.Width)
            Warning("progress-short",
                    QStringLiteral("%1 is %2 pixels wide, Width %3: without ProgressStretch the "
                                   "progress stops short of the bar's end")
                        .arg(Slot(0, TrackbarSlots[0]))
                        .arg(progress)
                        .arg(r.Width));
    }

    void CheckPlaylist() {
        const TPlaylistSettings& p = Doc.Playlist;
        Range("TitleHeight", p.TitleHeight, PlaylistHeights);
        Range("ItemHeight", p.ItemHeight, PlaylistHeights);
        Range("TitleFontSize", p.TitleFontSize, PlaylistFontSizes);
        Range("ItemFontSize", p.ItemFontSize, PlaylistFontSizes);
        Shown(p.FolderIcon, QStringLiteral("FolderIcon (\"Folder icon\")"));
        Shown(p.SongIcon, QStringLiteral("SongIcon (\"Song icon\")"));
        // Dither leaves the playlist's icons alone, so it is not suggested for them.
        ShownSlots.clear();
    }

    struct TImageBox {
        int Position;
        TBox Box;
    };

    const TSkinDocument& Doc;
    int Current = -1;
    std::vector<int> CoveringImage; // per entry
    // Texts of one font and sample are measured once: a font is costly to
    // set up, the more so the larger it is.
    std::map<std::tuple<int, bool, QString>, TTextExtent> Extents;
    std::map<std::tuple<int, int, bool>, QString> Longest;
    QHash<QByteArray, int> FirstUse;
    std::vector<TSkinFinding> Findings;
    std::vector<std::pair<const TPicture*, QString>> ShownSlots; // of the current item
    // Pictures shared between slots (a file's alike pictures are one image)
    // are judged once.
    std::unordered_map<qint64, qint64> Changed;
};

} // namespace

bool IsPlaceholder(const TPicture& picture) {
    static const QImage master = PlaceholderPicture().convertToFormat(QImage::Format_RGB32);
    const QImage& image = picture.Image;
    if (image.size() != master.size()) return false;
    for (int y = 0; y < master.height(); ++y)
        for (int x = 0; x < master.width(); ++x)
            if ((image.pixel(x, y) & FiveBits) != (master.pixel(x, y) & FiveBits)) return false;
    return true;
}

const QStringList& SkinCheckCodes() {
    static const QStringList codes{"placeholder",
                                   "off-screen",
                                   "value",
                                   "text-box",
                                   "text-font-size",
                                   "trackbar-box",
                                   "partly-off-screen",
                                   "hidden",
                                   "text-height",
                                   "text-width",
                                   "text-longest",
                                   "range",
                                   "name-empty",
                                   "name-duplicate",
                                   "progress-short",
                                   "wheel-button-height",
                                   "empty-picture",
                                   "image-magenta",
                                   "picture-size",
                                   "colour-depth"};
    return codes;
}

std::vector<TSkinFinding> CheckSkin(const TSkinDocument& doc) {
    return TChecker(doc).Run();
}
