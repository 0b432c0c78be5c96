#include "picture_commands.h"

#include "dither_step.h"
#include "picture_file.h"
#include "record_steps.h"
#include "step_names.h"

#include <memory>
#include <new>

namespace {
const char* const IconWhat[] = {"folder icon", "song icon"};
} // namespace

QString OpenPictureCommand(TOpenSkin& skin, int row, int slot, const QString& path) {
    const TPicture* current = PictureAt(skin.Doc(), row, slot);
    if (!current || (row < 0 && (slot < 0 || slot > 1))) return QString();
    TBitmapReadResult read = ReadSlotPicture(path, current->Transparent);
    if (!read.Error.isEmpty()) return read.Error;
    const QString what =
        row < 0 ? QStringLiteral("Open ") + QLatin1String(IconWhat[slot])
                : QStringLiteral("Open picture into ") + QuotedItemName(skin.Doc(), row);
    skin.Edits().Push(
        std::make_unique<TPictureStep>(skin.Doc(), row, slot, std::move(read.Image), what));
    return QString();
}

QString DitherCommand(TOpenSkin& skin) {
    try {
        // Dithered into copies (pictures are shared until written), so that
        // running out of memory part-way leaves every picture as it was.
        skin.Edits().Push(
            std::make_unique<TDitherStep>(skin.Doc(), QStringLiteral("Dither pictures")));
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory.");
    }
    return QString();
}
