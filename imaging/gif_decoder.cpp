#include "picture_decoders.h"

#include <gif_lib.h>

#include <algorithm>

// giflib reads the records one by one from the input: the extensions before
// the first image (for its transparent index), then that image's rows, and
// nothing after them. The picture is the logical screen with the first
// image on it, its colours a palette.

namespace {

int ReadFromInput(GifFileType* gif, GifByteType* into, int count) {
    auto* input = static_cast<TPictureInput*>(gif->UserData);
    return int(input->Read(into, count));
}

struct TGifClose {
    GifFileType* Gif;
    ~TGifClose() {
        int error = 0;
        if (Gif) DGifCloseFile(Gif, &error);
    }
};

TBitmapReadResult Refused(int error) {
    return {QImage(),
            error == D_GIF_ERR_NOT_ENOUGH_MEM ? PictureOutOfMemoryText() : DamagedPictureText()};
}

} // namespace

TBitmapReadResult DecodeGif(TPictureInput& input, TAlphaRule rule) {
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadFromInput, &error);
    if (!gif) return Refused(error);
    const TGifClose closing{gif};

    int transparent = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) return Refused(gif->Error);
        if (record == IMAGE_DESC_RECORD_TYPE) break;
        if (record != EXTENSION_RECORD_TYPE) return Refused(D_GIF_ERR_NO_IMAG_DSCR);
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return Refused(gif->Error);
        while (block) {
            GraphicsControlBlock control;
            if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4 &&
                DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                transparent = control.TransparentColor;
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return Refused(gif->Error);
        }
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR) return Refused(gif->Error);
    const GifImageDesc& image = gif->Image;
    const ColorMapObject* colours = image.ColorMap ? image.ColorMap : gif->SColorMap;
    if (!colours || image.Width <= 0 || image.Height <= 0) return Refused(D_GIF_ERR_WRONG_RECORD);
    // The screen, grown where the image reaches beyond it.
    const qint64 width = std::max<qint64>(gif->SWidth, qint64(image.Left) + image.Width);
    const qint64 height = std::max<qint64>(gif->SHeight, qint64(image.Top) + image.Height);
    if (const QString refusal = RefusedPictureSize(width, height); !refusal.isEmpty())
        return {QImage(), refusal};

    QImage picture(int(width), int(height), QImage::Format_Indexed8);
    if (picture.isNull()) return {QImage(), PictureOutOfMemoryText()};
    // Indices beyond the palette show opaque black, as in a bitmap.
    QList<QRgb> table(256, qRgb(0, 0, 0));
    for (int i = 0; i < colours->ColorCount && i < 256; ++i) {
        const GifColorType& c = colours->Colors[i];
        table[i] = qRgb(c.Red, c.Green, c.Blue);
    }
    if (transparent >= 0 && transparent < 256) table[transparent] &= 0x00FFFFFFu;
    picture.setColorTable(table);
    // Around the image: the transparent index, or the background colour.
    if (image.Width != width || image.Height != height)
        picture.fill(uint(transparent >= 0 && transparent < 256 ? transparent
                                                                : gif->SBackGroundColor & 0xFF));

    // Interlaced rows come every 8th from 0, every 8th from 4, every 4th
    // from 2, then every 2nd from 1.
    static const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    const int passes = image.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (int row = image.Interlace ? starts[pass] : 0; row < image.Height;
             row += image.Interlace ? steps[pass] : 1) {
            uchar* line = picture.scanLine(image.Top + row) + image.Left;
            if (DGifGetLine(gif, line, image.Width) == GIF_ERROR) return Refused(gif->Error);
        }
    ApplyRuleToTable(picture, rule);
    return {picture, QString()};
}
