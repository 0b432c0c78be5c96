// Every item's picture slot of a skin, for the commands that treat all
// pictures alike (dithering, the alpha rule of files read in).
#pragma once

#include "skin_document.h"

// Calls visit(TPicture&) on every item's picture slot in file order: images,
// buttons, wheels, track bars (the playlist icons are not items).
template <class F> void ForEachItemPicture(TSkinDocument& doc, F&& visit) {
    for (TiImage& r : doc.Images)
        visit(r.Picture);
    for (TiButton& r : doc.Buttons)
        for (TPicture& p : r.Pictures)
            visit(p);
    for (TiWheel& r : doc.Wheels)
        for (TPicture& p : r.Pictures)
            visit(p);
    for (TiTrackbar& r : doc.Trackbars)
        for (TPicture& p : r.Pictures)
            visit(p);
}
