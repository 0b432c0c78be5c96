#include "user_commands.h"

#include "code_page.h"
#include "item_clipboard.h"
#include "item_list.h"
#include "item_steps.h"
#include "selection_commands.h"
#include "skin_file.h"
#include "step_names.h"

namespace {

// The new record made as Add makes it, in a skin of its own, then pushed as
// one step, picture and place included.
QString PushNewItem(TOpenSkin& skin, TSkinDocument made) {
    skin.Edits().Push(std::make_unique<TAddItemStep>(
        skin.Doc(), *LooseItemAt(made, 0),
        AddStepName(made.Items[0].Kind) + QLatin1Char(' ') + QuotedItemName(made, 0)));
    return {};
}

} // namespace

QString AddItemCommand(TOpenSkin& skin, int kind, const QByteArray& name) {
    if (!HasRoomForItems(skin.Doc(), 1)) return TooManyItemsText;
    TSkinDocument made;
    if (AddItem(made, kind, name) < 0) return {};
    return PushNewItem(skin, std::move(made));
}

QString AddPictureItemCommand(TOpenSkin& skin, const QByteArray& name, QImage picture,
                              QPoint pixel) {
    if (!HasRoomForItems(skin.Doc(), 1)) return TooManyItemsText;
    TSkinDocument made;
    AddItem(made, ikImage, name);
    TiImage& image = made.Images.front();
    image.Picture.Image = std::move(picture);
    image.X = pixel.x();
    image.Y = pixel.y();
    return PushNewItem(skin, std::move(made));
}

void DeleteItemCommand(TOpenSkin& skin, int row, const QString& verb) {
    if (row < 0 || row >= skin.Doc().Items.size()) return;
    skin.Edits().Push(std::make_unique<TDeleteItemStep>(
        skin.Doc(), row, verb + QLatin1Char(' ') + QuotedItemName(skin.Doc(), row)));
}

QString PasteItemsCommand(TOpenSkin& skin, QByteArrayView clipboardSkin, const QString& verb) {
    TClipboardItems read = ReadClipboardSkin(clipboardSkin);
    if (!read.Error.isEmpty()) return read.Error;
    if (!HasRoomForItems(skin.Doc(), qsizetype(read.Items.size()))) return TooManyItemsText;
    // Each new item gets a name no other item has.
    QSet<QByteArray> taken;
    for (const TDocItem& item : skin.Doc().Items)
        taken.insert(item.Name);
    for (TLooseItem& item : read.Items) {
        item.Name = UniqueItemName(item.Name, taken);
        taken.insert(item.Name);
    }
    const QString name =
        read.Items.size() == 1
            ? QLatin1Char('"') + DecodeName(read.Items.front().Name) + QLatin1Char('"')
            : QStringLiteral("%1 items").arg(read.Items.size());
    skin.Edits().Push(std::make_unique<TPasteItemsStep>(skin.Doc(), std::move(read.Items),
                                                        verb + QLatin1Char(' ') + name));
    return {};
}

void MoveItemCommand(TOpenSkin& skin, int row, bool up) {
    const int to = up ? row - 1 : row + 1;
    if (row < 0 || to < 0 || row >= skin.Doc().Items.size() || to >= skin.Doc().Items.size())
        return;
    const QString what = up ? QStringLiteral("Move up ") : QStringLiteral("Move down ");
    skin.Edits().Push(std::make_unique<TMoveItemStep>(skin.Doc(), row, to,
                                                      what + QuotedItemName(skin.Doc(), row)));
}

void RenameItemCommand(TOpenSkin& skin, int row, const QByteArray& name) {
    if (row < 0 || row >= skin.Doc().Items.size()) return;
    skin.Edits().Push(std::make_unique<TRenameItemStep>(
        skin.Doc(), row, name, QStringLiteral("Rename ") + QuotedItemName(skin.Doc(), row)));
}
