// Each part of a skin file described once: its fields in file order, each
// with its width in the file and its key in skntool's JSON (the model's field
// name). The binary reader and writer, the file size and skntool's JSON in
// both directions all walk these descriptions, so they cannot disagree.
#pragma once

#include "skin_document.h"

#include <concepts>
#include <type_traits>

// Every field of the file is unsigned; Max narrows what JSON may give where
// the model allows less than the field holds.
struct TNumberField {
    const char* Key;
    int Bytes;
    qint64 Max;
};
constexpr TNumberField U8(const char* key, qint64 max = 0xFF) {
    return {key, 1, max};
}
constexpr TNumberField U16(const char* key) {
    return {key, 2, 0xFFFF};
}
constexpr TNumberField U32(const char* key) {
    return {key, 4, 0xFFFFFFFF};
}

// A flag byte other than 0 and 1 reads as true, except where the flag decides
// whether a picture follows: the file holds that picture only after a 1.
enum class TFlagRead { NotZero, OnlyOne };

inline constexpr bool Opaque = false, Keyed = true;

// A list of records: its JSON key and the name its pictures are placed under.
struct TListNames {
    const char* Key;
    const char* Place;
};
inline constexpr TListNames ItemListNames{"Items", "item"};
inline constexpr TListNames RecordListNames[ItemKindCount] = {{"Images", "image"},
                                                              {"Texts", "text"},
                                                              {"Buttons", "button"},
                                                              {"Wheels", "wheel"},
                                                              {"Trackbars", "trackbar"}};

template <class R, class T>
concept RecordOfType = std::same_as<std::remove_const_t<R>, T>;

// A visitor V walks a description with:
//   Number(TNumberField, value)
//   Flag(key, value, TFlagRead)
//   Name(key, bytes)                   a u16 length and the bytes
//   Colors(key, colours)               a u32 each
//   Picture(key, picture, transparent) one picture record
//   Pictures(key, pictures, stored)    the keyed slots for which stored(s) holds
//   Records(TListNames, records)       a u16 count and each record
//   Block(TListNames, record)          one record in place
// The record is const for visitors that only look, so the descriptions
// serve readers and writers alike.

template <class V> void VisitFields(V& v, RecordOfType<TDocItem> auto& r) {
    v.Number(U8("Kind", ItemKindCount - 1), r.Kind);
    v.Number(U16("Index"), r.Index);
    v.Name("Name", r.Name);
}

template <class V> void VisitFields(V& v, RecordOfType<TiImage> auto& r) {
    v.Number(U16("X"), r.X);
    v.Number(U16("Y"), r.Y);
    v.Number(U8("RepaintWhen"), r.RepaintWhen);
    v.Picture("Picture", r.Picture, Opaque);
}

template <class V> void VisitFields(V& v, RecordOfType<TiText> auto& r) {
    v.Number(U16("X"), r.X);
    v.Number(U16("Y"), r.Y);
    v.Number(U16("Width"), r.Width);
    v.Number(U16("Height"), r.Height);
    v.Number(U8("VAlign"), r.VAlign);
    v.Number(U8("HAlign"), r.HAlign);
    v.Number(U16("FontSize"), r.FontSize);
    v.Number(U32("Color"), r.Color);
    v.Flag("Bold", r.Bold, TFlagRead::NotZero);
    v.Number(U8("TextType"), r.TextType); // after Bold
    // Not stored: a text read gets the sample of its type.
    if constexpr (!std::is_const_v<std::remove_reference_t<decltype(r)>>)
        r.PreviewText = PreviewTextFor(r.TextType);
}

// Which conditional pictures are stored is decided by the narrowed command,
// the one a reader sees; a command such as 65542 (read back as 6) would
// otherwise leave the file unreadable.
template <class V> void VisitFields(V& v, RecordOfType<TiButton> auto& r) {
    v.Number(U16("X"), r.X);
    v.Number(U16("Y"), r.Y);
    v.Number(U16("Command"), r.Command);
    const auto stored = [&r](std::size_t s) { return s < 2 || HasTwoStates(quint16(r.Command)); };
    v.Pictures("Pictures", r.Pictures, stored);
}

template <class V> void VisitFields(V& v, RecordOfType<TiWheel> auto& r) {
    v.Number(U16("X"), r.X);
    v.Number(U16("Y"), r.Y);
    v.Number(U16("BallDist"), r.BallDist);
    v.Number(U8("BallCount"), r.BallCount);
    v.Number(U16("CenterCommand"), r.CenterCommand);
    v.Number(U16("LeftCommand"), r.LeftCommand);
    v.Number(U16("RightCommand"), r.RightCommand);
    v.Number(U16("TopHalfAction"), r.TopHalfAction);
    v.Number(U16("BottomHalfAction"), r.BottomHalfAction);
    const auto stored = [&r](std::size_t s) {
        return s != 4 || HasTwoStates(quint16(r.CenterCommand));
    };
    v.Pictures("Pictures", r.Pictures, stored);
}

template <class V> void VisitFields(V& v, RecordOfType<TiTrackbar> auto& r) {
    v.Number(U16("X"), r.X);
    v.Number(U16("Y"), r.Y);
    v.Number(U16("Width"), r.Width);
    v.Number(U16("Height"), r.Height);
    v.Flag("ProgressStretch", r.ProgressStretch, TFlagRead::NotZero);
    v.Flag("ShowScroller", r.ShowScroller, TFlagRead::OnlyOne);
    v.Number(U8("TrackType"), r.TrackType); // after the two flags
    v.Pictures("Pictures", r.Pictures, [&r](std::size_t s) { return s == 0 || r.ShowScroller; });
}

template <class V> void VisitFields(V& v, RecordOfType<TPlaylistSettings> auto& p) {
    v.Number(U16("TitleHeight"), p.TitleHeight);
    v.Number(U16("ItemHeight"), p.ItemHeight);
    v.Number(U16("TitleFontSize"), p.TitleFontSize);
    v.Number(U16("ItemFontSize"), p.ItemFontSize);
    v.Flag("TitleBold", p.TitleBold, TFlagRead::NotZero);
    v.Flag("ItemBold", p.ItemBold, TFlagRead::NotZero);
    v.Colors("Colors", p.Colors);
    v.Picture("FolderIcon", p.FolderIcon, Keyed);
    v.Picture("SongIcon", p.SongIcon, Keyed);
}

// The whole skin after the version.
template <class V> void VisitFields(V& v, RecordOfType<TSkinDocument> auto& doc) {
    v.Number(U16("ScreenWidth"), doc.ScreenWidth);
    v.Number(U16("ScreenHeight"), doc.ScreenHeight);
    v.Records(ItemListNames, doc.Items);
    v.Records(RecordListNames[ikImage], doc.Images);
    v.Records(RecordListNames[ikText], doc.Texts);
    v.Records(RecordListNames[ikButton], doc.Buttons);
    v.Records(RecordListNames[ikWheel], doc.Wheels);
    v.Records(RecordListNames[ikTrackbar], doc.Trackbars);
    v.Block({"Playlist", "playlist"}, doc.Playlist);
}
