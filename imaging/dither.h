// Floyd-Steinberg error diffusion down to the 32 levels per channel that the
// skin file keeps, in x87 extended precision.
#pragma once

#include "skin_document.h"

// Dithers one picture in place; size and transparency stay. Throws
// std::bad_alloc when the picture's memory cannot be had.
void DitherPicture(QImage& picture);

// Every item picture: images, buttons (4 slots), wheels (8), trackbars (2),
// each in array order. The playlist icons are left alone.
void DitherAllPictures(TSkinDocument& doc);
