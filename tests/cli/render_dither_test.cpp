// skntool render and dither go through exactly the editor's composition and
// dithering: the PNG equals the library's raster, and the pixels say why.
#include "dither.h"
#include "preview.h"
#include "sample_skin.h"
#include "skin_file.h"
#include "skin_fonts.h"
#include "skntool_process.h"

#include <QImage>

namespace {

constexpr QRgb Blue = qRgb(0, 0, 255), Green = qRgb(0, 255, 0), White = qRgb(255, 255, 255),
               Red = qRgb(255, 0, 0), Black = qRgb(0, 0, 0);

QImage Filled(int w, int h, QRgb color) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

// The wheel of the editor's example: at (20, 100), a 100 x 100 body, a 30 x 30
// icon, 8 x 8 balls, 20 x 20 side buttons, ball distance 40, four balls.
TSkinDocument WheelSkin() {
    TSkinDocument doc = MakeDefaultSkin();
    doc.Items.append({ikWheel, 0, "wheel"});
    TiWheel w;
    for (TPicture& p : w.Pictures)
        CreatePic(p, true, true);
    w.X = 20;
    w.Y = 100;
    w.BallDist = 40;
    w.BallCount = 4;
    w.Pictures[0].Image = Filled(100, 100, Blue);
    w.Pictures[3].Image = Filled(30, 30, Green);
    w.Pictures[5].Image = Filled(20, 20, Red);
    w.Pictures[6].Image = Filled(20, 20, Red);
    w.Pictures[7].Image = Filled(8, 8, White);
    doc.Wheels.push_back(w);
    return doc;
}

class RenderTest : public SkntoolTest {
  protected:
    static void SetUpTestSuite() { RegisterSkinFonts(); }

    // Renders through skntool and checks the PNG against the library's raster.
    QImage Rendered(const TSkinDocument& doc, const QStringList& options, int selected,
                    const TPreviewView& view, bool playlist = false) {
        WriteSkin("in.skn", doc);
        const TToolRun run = Run(QStringList{"render", "in.skn", "out.png"} + options);
        EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.isEmpty());
        const QImage png = QImage(Path("out.png")).convertToFormat(QImage::Format_RGB32);
        const TSkinDocument read = ReadSkin("in.skn"); // as the file gives it
        const QImage library = playlist ? RenderPlaylistPreview(read, view)
                                        : RenderPlayerPreview(read, selected, view);
        EXPECT_EQ(png, library.convertToFormat(QImage::Format_RGB32));
        return png;
    }
};

TPreviewView View(int zoom, QSize area) {
    TPreviewView v;
    v.ZoomIndex = zoom;
    v.Area = area;
    return v;
}

} // namespace

TEST_F(RenderTest, WheelExampleMatchesTheEditorsComposition) {
    const QImage img = Rendered(WheelSkin(), {}, -1, View(0, {240, 268}));
    ASSERT_EQ(img.size(), QSize(240, 268));
    EXPECT_EQ(img.pixel(20, 100), Blue);  // body at (20, 100)
    EXPECT_EQ(img.pixel(19, 100), Black); // the screen around it
    EXPECT_EQ(img.pixel(55, 135), Green); // icon at (55, 135)
    EXPECT_EQ(img.pixel(54, 135), Blue);
    EXPECT_EQ(img.pixel(84, 164), Green);
    EXPECT_EQ(img.pixel(85, 164), Blue);
    // Balls 1 and 3 at (66, 186) and (66, 106); 0 and 2 lie under the side buttons.
    EXPECT_EQ(img.pixel(66, 186), White);
    EXPECT_EQ(img.pixel(73, 193), White);
    EXPECT_EQ(img.pixel(65, 186), Blue);
    EXPECT_EQ(img.pixel(66, 106), White);
    EXPECT_EQ(img.pixel(66, 105), Blue);
    EXPECT_EQ(img.pixel(20, 140), Red); // left button at (20, 140)
    EXPECT_EQ(img.pixel(40, 140), Blue);
    EXPECT_EQ(img.pixel(100, 140), Red); // right button at (100, 140)
    EXPECT_EQ(img.pixel(99, 140), Blue);
}

TEST_F(RenderTest, ZoomAreaAndSelectionAreThoseOfThePreview) {
    const QImage zoomed = Rendered(WheelSkin(), {"--zoom", "200"}, -1, View(1, {480, 536}));
    ASSERT_EQ(zoomed.size(), QSize(480, 536));
    EXPECT_EQ(zoomed.pixel(132, 372), White); // ball at (66, 186) as a 2 x 2 block
    EXPECT_EQ(zoomed.pixel(133, 373), White);
    EXPECT_EQ(zoomed.pixel(131, 372), Blue);

    // A smaller area shows the top-left part; a larger one shows grey beyond the screen.
    const QImage part =
        Rendered(WheelSkin(), {"--zoom", "800", "--area", "300x900"}, -1, View(3, {300, 900}));
    EXPECT_EQ(part.size(), QSize(300, 900));
    EXPECT_EQ(part.pixel(8 * 20, 8 * 100), Blue);
    const QImage wide = Rendered(WheelSkin(), {"--area", "250x270"}, -1, View(0, {250, 270}));
    EXPECT_EQ(wide.pixel(245, 10), TPreviewView{}.Background);
    EXPECT_EQ(wide.pixel(10, 269), TPreviewView{}.Background);

    // The marker inverts dots on the body's outermost pixels: blue becomes yellow.
    const QImage marked = Rendered(WheelSkin(), {"--select", "0"}, 0, View(0, {240, 268}));
    const QImage plain = Rendered(WheelSkin(), {}, -1, View(0, {240, 268}));
    int dots = 0;
    for (int x = 20; x < 120; ++x) {
        const QRgb top = marked.pixel(x, 100);
        EXPECT_TRUE(top == Blue || top == qRgb(255, 255, 0)) << x;
        dots += top != Blue;
        EXPECT_EQ(marked.pixel(x, 101), plain.pixel(x, 101)); // the interior stays
    }
    EXPECT_GT(dots, 0);
    EXPECT_LT(dots, 100); // dotted, not solid
    EXPECT_NE(marked, plain);
}

TEST_F(RenderTest, PlaylistAndHandWrittenSkinsRenderLikeTheEditor) {
    TSkinDocument doc = MakeRichSkin();
    const QImage playlist =
        Rendered(doc, {"--playlist", "--zoom", "400"}, -1, View(2, {960, 1072}), true);
    EXPECT_EQ(playlist.size(), QSize(960, 1072));

    // A hand-written folder, packed and rendered: magenta is a hole in a
    // button, a colour in an image.
    Write("hand/skin.json", R"({"ScreenWidth": 50, "ScreenHeight": 40,
        "Items": [{"Kind": 0, "Index": 0, "Name": "back"}, {"Kind": 2, "Index": 0, "Name": "b"}],
        "Images": [{"X": 0, "Y": 0, "RepaintWhen": 0, "Picture": "key.bmp"}],
        "Texts": [], "Wheels": [], "Trackbars": [],
        "Buttons": [{"X": 30, "Y": 20, "Command": 0,
                     "Pictures": ["key.bmp", "key.bmp", "key.bmp", "key.bmp"]}],
        "Playlist": {"TitleHeight": 30, "ItemHeight": 30, "TitleFontSize": 12, "ItemFontSize": 12,
                     "TitleBold": true, "ItemBold": false,
                     "Colors": [16777215, 12632256, 0, 0, 8388608, 16777215, 8421504],
                     "FolderIcon": "key.bmp", "SongIcon": "key.bmp"}})");
    QImage key = Filled(20, 20, qRgb(255, 0, 255));
    key.setPixel(0, 0, Green);
    ASSERT_TRUE(key.save(Path("hand/key.bmp"), "BMP"));
    ASSERT_EQ(Run({"pack", "hand", "hand.skn"}).Status, 0);
    ASSERT_EQ(Run({"render", "hand.skn", "hand.png"}).Status, 0);
    const QImage img = QImage(Path("hand.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(img.size(), QSize(50, 40));
    EXPECT_EQ(img.pixel(5, 5), qRgb(255, 0, 255)); // the image is opaque
    EXPECT_EQ(img.pixel(30, 20), Green);           // the button's own pixel
    EXPECT_EQ(img.pixel(35, 25), Black);           // its magenta shows the screen
    EXPECT_EQ(img, RenderPlayerPreview(ReadSkin("hand.skn"), -1, View(0, {50, 40}))
                       .convertToFormat(QImage::Format_RGB32));
}

TEST_F(SkntoolTest, DitherIsTheEditorsCommand) {
    TSkinDocument doc = MakeRichSkin();
    doc.Images[1].Picture.Image = Filled(64, 64, qRgb(128, 128, 128));
    WriteSkin("rich.skn", doc);
    const TToolRun run = Run({"dither", "rich.skn", "dithered.skn"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();

    TSkinDocument expected = ReadSkin("rich.skn");
    DitherAllPictures(expected);
    EXPECT_EQ(Bytes("dithered.skn"), EncodeSkin(expected));

    // The file keeps grey 128 as level 16, read back as 132: a shade above
    // 16/31 that the diffusion carries until about one pixel in 21 rises to 17.
    const QImage grey = ReadSkin("dithered.skn").Images[1].Picture.Image;
    int raised = 0;
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb p = grey.pixel(x, y);
            const int level = qRed(p) >> 3;
            ASSERT_TRUE(level == 16 || level == 17) << x << "," << y;
            ASSERT_TRUE(qGreen(p) >> 3 == level && qBlue(p) >> 3 == level) << x << "," << y;
            raised += level == 17;
        }
    }
    const double share = raised / 4096.0, carried = 132 * 31 / 255.0 - 16; // 0.047
    EXPECT_NEAR(share, carried, 0.01);
    // The playlist icons are not item pictures.
    EXPECT_EQ(ReadSkin("dithered.skn").Playlist, ReadSkin("rich.skn").Playlist);

    // In place: the same file in and out.
    ASSERT_EQ(Run({"dither", "rich.skn", "rich.skn"}).Status, 0);
    EXPECT_EQ(Bytes("rich.skn"), Bytes("dithered.skn"));
}
