#include "sample_skin.h"

#include "item_list.h"
#include "new_skin.h"

QImage PatternImage(int w, int h, int seed) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y,
                         qRgb((x * 37 + seed * 11) & 0xFF, (y * 59 + seed * 7) & 0xFF,
                              (x * y + seed * 3) & 0xFF));
    return img;
}

TSkinDocument MakeDefaultSkin() {
    TSkinDocument doc;
    NewSkin(doc);
    doc.ScreenWidth = 240;
    doc.ScreenHeight = 268;
    return doc;
}

TSkinDocument MakeRichSkin() {
    TSkinDocument doc = MakeDefaultSkin();
    int seed = 1;
    auto pic = [&](int w, int h) { return PatternImage(w, h, seed++); };

    AddItem(doc, ikImage, "background");
    AddItem(doc, ikText, "title");
    AddItem(doc, ikButton, "play");
    AddItem(doc, ikWheel, "wheel");
    AddItem(doc, ikTrackbar, "position");
    AddItem(doc, ikTrackbar, QByteArray(255, 'n'));
    AddItem(doc, ikWheel, "");
    AddItem(doc, ikButton, "vol\x80\xFF");
    AddItem(doc, ikText, "artist");
    AddItem(doc, ikImage, "logo");
    MoveItemUp(doc, 9);

    doc.Images[0].Picture.Image = pic(240, 268);
    doc.Images[0].RepaintWhen = rtSongChanges;
    doc.Images[1].Picture.Image = pic(17, 9);
    doc.Images[1].X = -10;
    doc.Images[1].Y = 30;

    doc.Texts[0].TextType = ttRemainingTime;
    doc.Texts[0].PreviewText = PreviewTextFor(ttRemainingTime);
    doc.Texts[0].HAlign = haCenter;
    doc.Texts[0].VAlign = vaBottom;
    doc.Texts[0].Bold = true;
    doc.Texts[0].Color = 0x123456;
    doc.Texts[1].TextType = ttSongArtist;
    doc.Texts[1].PreviewText = PreviewTextFor(ttSongArtist);
    doc.Texts[1].Y = 50;

    doc.Buttons[0].Command = pcPlayPause;
    for (int s = 0; s < 4; ++s)
        doc.Buttons[0].Pictures[s].Image = pic(21 + s, 13);
    doc.Buttons[1].Command = pcVolumeUp;
    doc.Buttons[1].X = 100;
    doc.Buttons[1].Pictures[0].Image = pic(1, 1);
    doc.Buttons[1].Pictures[1].Image = pic(2, 2);

    doc.Wheels[0].CenterCommand = pcToggleRepeat;
    doc.Wheels[0].BallCount = 4;
    doc.Wheels[0].BallDist = 40;
    for (int s = 0; s < 8; ++s)
        doc.Wheels[0].Pictures[s].Image = pic(9 + 2 * s, 7 + s);
    doc.Wheels[1].CenterCommand = pcNextSong;
    doc.Wheels[1].LeftCommand = pcPreviousSong;
    doc.Wheels[1].TopHalfAction = waSeekTime;
    for (int s = 0; s < 8; ++s)
        if (s != 4) doc.Wheels[1].Pictures[s].Image = pic(5, 3);

    doc.Trackbars[0].ShowScroller = true;
    doc.Trackbars[0].Pictures[0].Image = pic(60, 10);
    doc.Trackbars[0].Pictures[1].Image = pic(9, 15);
    doc.Trackbars[1].ProgressStretch = false;
    doc.Trackbars[1].TrackType = tkVolume;
    doc.Trackbars[1].Pictures[0].Image = pic(33, 5);

    doc.Playlist.FolderIcon.Image = pic(13, 11);
    return doc;
}
