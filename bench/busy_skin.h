// The busy skin both preview benchmarks repaint: 480 x 536 with 150 items,
// 30 of every kind, spread over the screen.
#pragma once

#include "item_list.h"
#include "sample_skin.h"

namespace bench {

// A picture with a magenta border, so keyed drawing has work to do.
inline QImage Keyed(int w, int h, int seed) {
    QImage img = PatternImage(w, h, seed);
    for (int x = 0; x < w; ++x)
        img.setPixel(x, 0, TransparentKey);
    for (int y = 0; y < h; ++y)
        img.setPixel(0, y, TransparentKey);
    return img;
}

// 480 x 536 with 150 items, 30 of every kind, spread over the screen.
inline const TSkinDocument& BusySkin() {
    static const TSkinDocument doc = [] {
        TSkinDocument d = MakeDefaultSkin();
        d.ScreenWidth = 480;
        d.ScreenHeight = 536;
        for (int i = 0; i < 30; ++i) {
            const int x = (i * 73) % 400 - 20, y = (i * 131) % 480 - 10;
            AddItem(d, ikImage, "image");
            d.Images.back().Picture.Image =
                PatternImage(i == 0 ? 480 : 60 + i, i == 0 ? 536 : 40, i);
            d.Images.back().X = i == 0 ? 0 : x;
            d.Images.back().Y = i == 0 ? 0 : y;

            AddItem(d, ikText, "text");
            TiText& t = d.Texts.back();
            t.X = x;
            t.Y = y + 20;
            t.Width = 120 + i * 5;
            t.Height = 20 + i;
            t.HAlign = i % 3;
            t.VAlign = (i / 3) % 3;
            t.FontSize = 10 + i;
            t.Bold = i % 2;
            t.Color = 0x30A0F0 + i;
            t.TextType = i % 6;
            t.PreviewText = PreviewTextFor(t.TextType);

            AddItem(d, ikButton, "button");
            d.Buttons.back().Pictures[0].Image = Keyed(40, 30, i);
            d.Buttons.back().X = x + 50;
            d.Buttons.back().Y = y;

            AddItem(d, ikWheel, "wheel");
            TiWheel& w = d.Wheels.back();
            w.X = x;
            w.Y = y + 40;
            w.BallCount = 2 + i % 9;
            w.BallDist = 50;
            const int sizes[8][2] = {{160, 160}, {1, 1},   {1, 1},   {60, 60},
                                     {1, 1},     {24, 24}, {24, 24}, {10, 10}};
            for (int s = 0; s < 8; ++s)
                w.Pictures[std::size_t(s)].Image = Keyed(sizes[s][0], sizes[s][1], i + s);

            AddItem(d, ikTrackbar, "trackbar");
            TiTrackbar& k = d.Trackbars.back();
            k.X = x;
            k.Y = y + 100;
            k.Width = 300;
            k.Height = 20;
            k.ProgressStretch = i % 2;
            k.ShowScroller = true;
            k.Pictures[0].Image = Keyed(200, 10, i);
            k.Pictures[1].Image = Keyed(15, 20, i);
        }
        return d;
    }();
    return doc;
}

} // namespace bench
