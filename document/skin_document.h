// The one skin held in memory: screen size, the ordered item list, one record
// array per item kind, and the playlist look. Plain records, no behaviour.
#pragma once

#include "picture.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <type_traits>
#include <vector>

enum TItemKind : quint8 { ikImage = 0, ikText = 1, ikButton = 2, ikWheel = 3, ikTrackbar = 4 };
inline constexpr int ItemKindCount = 5;

enum TRepaintTrigger {
    rtNone = 0,
    rtSongChanges = 1,
    rtVolumeChanges = 2,
    rtPlaybackTimeChanges = 3,
    rtSystemTimeChanges = 4
};

enum TTextType {
    ttSongTitle = 0,
    ttSongArtist = 1,
    ttVolume = 2,
    ttElapsedTime = 3,
    ttRemainingTime = 4,
    ttSystemTime = 5
};

enum THorzAlign { haLeft = 0, haCenter = 1, haRight = 2 };
enum TVertAlign { vaTop = 0, vaCenter = 1, vaBottom = 2 };
enum TWheelAction { waChangeMusic = 0, waChangeVolume = 1, waSeekTime = 2 };
enum TTrackType { tkPlaybackPosition = 0, tkVolume = 1 };

enum TPlayerCommand {
    pcVolumeUp = 0,
    pcVolumeDown = 1,
    pcEnterSettings = 2,
    pcEnterPlaylistBrowser = 3,
    pcPreviousSong = 4,
    pcNextSong = 5,
    pcPlayPause = 6,
    pcClosePlayer = 7,
    pcBlankScreen = 8,
    pcToggleShuffle = 9,
    pcToggleRepeat = 10,
    pcGoToCurrentSong = 11,
    pcEnterSleepDialog = 12
};
inline constexpr int PlayerCommandCount = 13;

// Character c is '1' when command c toggles between two states and so has a
// second set of pictures.
inline constexpr char CommandHasTwoStates[] = "0000001001101";

// False for any value outside 0..12.
bool HasTwoStates(int command);

// The text types 0..5 (song title, artist, volume, elapsed, remaining, clock).
inline constexpr int TextTypeCount = 6;

// The sample the preview draws for a text type; empty outside 0..5.
QString PreviewTextFor(int textType);

// Enumerated fields are plain ints: a file may hold any value, and the
// inspector and renderer must see exactly what was read.
struct TDocItem {
    quint8 Kind = ikImage;
    qint32 Index = 0;
    QByteArray Name; // bytes of the 8-bit code page (shown as Windows-1252)
    bool operator==(const TDocItem&) const = default;
};

struct TiImage {
    TPicture Picture;
    int X = 0, Y = 0;
    int RepaintWhen = 0;
    bool operator==(const TiImage&) const = default;
};

struct TiText {
    int X = 0, Y = 0;
    int Width = 0, Height = 0;
    int VAlign = 0, HAlign = 0;
    int FontSize = 0;
    int TextType = 0;
    TColor Color = 0;
    QString PreviewText;
    bool Bold = false;
    bool operator==(const TiText&) const = default;
};

struct TiButton {
    std::array<TPicture, 4> Pictures;
    int X = 0, Y = 0;
    int Command = 0;
    bool operator==(const TiButton&) const = default;
};

struct TiWheel {
    std::array<TPicture, 8> Pictures;
    int X = 0, Y = 0;
    int BallDist = 0, BallCount = 0;
    int CenterCommand = 0, LeftCommand = 0, RightCommand = 0;
    int TopHalfAction = 0, BottomHalfAction = 0;
    bool operator==(const TiWheel&) const = default;
};

struct TiTrackbar {
    std::array<TPicture, 2> Pictures;
    int X = 0, Y = 0;
    int Width = 0, Height = 0;
    int TrackType = 0;
    bool ProgressStretch = false;
    bool ShowScroller = false;
    bool operator==(const TiTrackbar&) const = default;
};

struct TPlaylistSettings {
    int TitleHeight = 0, ItemHeight = 0;
    int TitleFontSize = 0, ItemFontSize = 0;
    bool TitleBold = false, ItemBold = false;
    // Background, directory bg, directory text, item text, selected item,
    // selected text, line.
    std::array<TColor, 7> Colors{};
    TPicture FolderIcon, SongIcon;
    bool operator==(const TPlaylistSettings&) const = default;
};

struct TSkinDocument {
    int ScreenWidth = 0, ScreenHeight = 0;
    QList<TDocItem> Items;
    std::vector<TiImage> Images;
    std::vector<TiText> Texts;
    std::vector<TiButton> Buttons;
    std::vector<TiWheel> Wheels;
    std::vector<TiTrackbar> Trackbars;
    TPlaylistSettings Playlist;
    QString FileName;
    bool Untitled = true;
    bool operator==(const TSkinDocument&) const = default;
};

template <class T> struct TRecordKind;
template <> struct TRecordKind<TiImage> { static constexpr TItemKind Kind = ikImage; };
template <> struct TRecordKind<TiText> { static constexpr TItemKind Kind = ikText; };
template <> struct TRecordKind<TiButton> { static constexpr TItemKind Kind = ikButton; };
template <> struct TRecordKind<TiWheel> { static constexpr TItemKind Kind = ikWheel; };
template <> struct TRecordKind<TiTrackbar> { static constexpr TItemKind Kind = ikTrackbar; };

template <class T> std::vector<T>& RecordsOf(TSkinDocument& d) {
    if constexpr (std::is_same_v<T, TiImage>)
        return d.Images;
    else if constexpr (std::is_same_v<T, TiText>)
        return d.Texts;
    else if constexpr (std::is_same_v<T, TiButton>)
        return d.Buttons;
    else if constexpr (std::is_same_v<T, TiWheel>)
        return d.Wheels;
    else
        return d.Trackbars;
}

// The record an entry designates, or nullptr when the entry is of another
// kind or its index lies outside the array.
template <class T> T* RecordOf(TSkinDocument& doc, const TDocItem& item) {
    auto& records = RecordsOf<T>(doc);
    if (item.Kind != TRecordKind<T>::Kind || item.Index < 0 ||
        std::size_t(item.Index) >= records.size())
        return nullptr;
    return &records[std::size_t(item.Index)];
}
template <class T> const T* RecordOf(const TSkinDocument& doc, const TDocItem& item) {
    return RecordOf<T>(const_cast<TSkinDocument&>(doc), item);
}

// Number of records in the array of a kind (0 for a kind outside 0..4).
int RecordCount(const TSkinDocument& doc, int kind);
