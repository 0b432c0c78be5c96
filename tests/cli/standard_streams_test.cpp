// "-" for standard input and output, and outputs that a full disk refuses.
#include "file_size_limit.h"
#include "sample_skin.h"
#include "skin_file.h"
#include "skntool_process.h"

#include <QImage>

TEST_F(SkntoolTest, DashReadsStandardInputAndWritesStandardOutput) {
    WriteSkin("rich.skn", MakeRichSkin());
    const QByteArray rich = Bytes("rich.skn");

    const TToolRun info = Run({"info", "-"}, {}, Path("rich.skn"));
    EXPECT_EQ(info.Status, 0) << info.Err.toStdString();
    EXPECT_EQ(info.Out, Run({"info", "rich.skn"}).Out);

    const TToolRun render = Run({"render", "rich.skn", "-"});
    EXPECT_EQ(render.Status, 0) << render.Err.toStdString();
    ASSERT_EQ(Run({"render", "rich.skn", "file.png"}).Status, 0);
    EXPECT_EQ(render.Out, Bytes("file.png"));
    EXPECT_EQ(QImage::fromData(render.Out, "PNG").size(), QImage(Path("file.png")).size());

    ASSERT_EQ(Run({"unpack", "rich.skn", "dir"}).Status, 0);
    const TToolRun pack = Run({"pack", "dir", "-"});
    EXPECT_EQ(pack.Status, 0) << pack.Err.toStdString();
    EXPECT_EQ(pack.Out, rich);

    const TToolRun created = Run({"new", "-"});
    EXPECT_EQ(created.Out, EncodeSkin(MakeDefaultSkin()));
    EXPECT_TRUE(created.Err.isEmpty());

    const TToolRun dithered = Run({"dither", "-", "-"}, {}, Path("rich.skn"));
    ASSERT_EQ(Run({"dither", "rich.skn", "dithered.skn"}).Status, 0);
    EXPECT_EQ(dithered.Out, Bytes("dithered.skn"));

    // A failure prints nothing on standard output.
    Write("short.skn", rich.left(100));
    const TToolRun cut = Run({"dither", "-", "-"}, {}, Path("short.skn"));
    EXPECT_EQ(cut.Status, 1);
    EXPECT_TRUE(cut.Out.isEmpty());
    EXPECT_EQ(cut.Err, "skntool: standard input: Read beyond end of file.\n");
}

// A skin larger than a chunk goes to standard output a chunk at a time, whole.
TEST_F(SkntoolTest, LargeSkinOnStandardOutputIsWhole) {
    TSkinDocument doc = MakeRichSkin();
    doc.Images[0].Picture.Image = PatternImage(401, 300);
    WriteSkin("large.skn", doc);
    const TToolRun run = Run({"dither", "large.skn", "-"});
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    ASSERT_EQ(Run({"dither", "large.skn", "dithered.skn"}).Status, 0);
    EXPECT_GT(run.Out.size(), 200000);
    EXPECT_EQ(run.Out, Bytes("dithered.skn"));
}

TEST_F(SkntoolTest, FullDiskIsReportedAndKeepsTheOldFile) {
    Write("old.skn", "old bytes");
    Write("old.png", "old picture");
    WriteSkin("a.skn", MakeDefaultSkin());
    TToolRun skin, png;
    {
        TFileSizeLimit limit{100}; // inherited by the program: neither file fits
        skin = Run({"new", "old.skn"});
        png = Run({"render", "a.skn", "old.png"});
    }
    EXPECT_EQ(skin.Status, 1);
    EXPECT_EQ(skin.Err, "skntool: old.skn: Disk full.\n");
    EXPECT_EQ(Bytes("old.skn"), "old bytes");
    EXPECT_EQ(png.Status, 1);
    EXPECT_EQ(png.Err, "skntool: old.png: Disk full.\n");
    EXPECT_EQ(Bytes("old.png"), "old picture");
}
