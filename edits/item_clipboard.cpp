#include "item_clipboard.h"

#include "new_skin.h"
#include "skin_file.h"

QByteArray OneItemSkin(const TSkinDocument& doc, int row) {
    const std::optional<TLooseItem> item = LooseItemAt(doc, row);
    if (!item) return QByteArray();
    TSkinDocument one;
    NewSkin(one);
    one.ScreenWidth = doc.ScreenWidth;
    one.ScreenHeight = doc.ScreenHeight;
    AppendItem(one, *item);
    return EncodeSkin(one);
}

TClipboardItems ReadClipboardSkin(QByteArrayView bytes) {
    TClipboardItems result;
    const TSkinReadResult read = DecodeSkin(bytes);
    if (read.WrongVersion) {
        result.Error = VersionMismatchText;
        return result;
    }
    if (!read.Document) {
        result.Error = read.Error;
        return result;
    }
    for (int row = 0; row < read.Document->Items.size(); ++row)
        if (std::optional<TLooseItem> item = LooseItemAt(*read.Document, row))
            result.Items.push_back(std::move(*item));
    if (result.Items.empty())
        result.Error = QStringLiteral("The skin on the clipboard holds no item.");
    return result;
}
