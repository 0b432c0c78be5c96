// The picture slots of an item's record, and of every item of a skin, for
// the code that treats all pictures alike (dithering, the alpha rule of files
// read in, the steps that replace, keep and count pictures).
#pragma once

#include "skin_document.h"

#include <span>
#include <type_traits>

// The record's picture slots in order: an image's one picture, a button's 4,
// a wheel's 8, a track bar's 2; a text has none. Const for a const record.
template <class R> auto PictureSlots(R& record) {
    using Record = std::remove_const_t<R>;
    using Slot = std::conditional_t<std::is_const_v<R>, const TPicture, TPicture>;
    if constexpr (std::is_same_v<Record, TiImage>)
        return std::span<Slot>(&record.Picture, 1);
    else if constexpr (std::is_same_v<Record, TiText>)
        return std::span<Slot>();
    else
        return std::span<Slot>(record.Pictures);
}

// The slot'th of them, or nullptr when the record has no such slot.
template <class R> auto* PictureInSlot(R& record, int slot) {
    const auto all = PictureSlots(record);
    return slot >= 0 && std::size_t(slot) < all.size() ? &all[std::size_t(slot)] : nullptr;
}

// Calls visit(TPicture&) on every item's picture slot in file order: images,
// buttons, wheels, track bars (the playlist icons are not items).
template <class F> void ForEachItemPicture(TSkinDocument& doc, F&& visit) {
    const auto each = [&visit](auto& records) {
        for (auto& r : records)
            for (TPicture& p : PictureSlots(r))
                visit(p);
    };
    each(doc.Images);
    each(doc.Buttons);
    each(doc.Wheels);
    each(doc.Trackbars);
}
