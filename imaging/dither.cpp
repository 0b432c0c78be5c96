#include "dither.h"

// Placeholder; the real diffusion replaces it.
void DitherPicture(QImage&) {}

void DitherAllPictures(TSkinDocument& doc) {
    for (TiImage& r : doc.Images) DitherPicture(r.Picture.Image);
    for (TiButton& r : doc.Buttons)
        for (TPicture& p : r.Pictures) DitherPicture(p.Image);
    for (TiWheel& r : doc.Wheels)
        for (TPicture& p : r.Pictures) DitherPicture(p.Image);
    for (TiTrackbar& r : doc.Trackbars)
        for (TPicture& p : r.Pictures) DitherPicture(p.Image);
}
