// Exit statuses and messages: 2 for usage errors, 1 for files, "skntool: PATH: TEXT".
#include "item_list.h"
#include "sample_skin.h"
#include "skin_file.h"
#include "skntool_process.h"

#include <QDir>
#include <QImage>

namespace {
struct TUsageCase {
    QStringList Args;
    const char* Err;
};
} // namespace

TEST_F(SkntoolTest, UsageErrorsExitWith2AndPointToTheHelp) {
    WriteSkin("a.skn", MakeDefaultSkin());
    const TUsageCase cases[] = {
        {{}, "skntool: No command given.\nTry \"skntool --help\".\n"},
        {{"frob"}, "skntool: Unknown command \"frob\".\nTry \"skntool --help\".\n"},
        {{"help", "frob"},
         "skntool: No command \"frob\"; the commands are new, info, unpack, pack, render, "
         "dither, check and diff.\nTry \"skntool --help\".\n"},
        {{"render", "a.skn"},
         "skntool: \"render\" takes SKIN.skn OUT.png.\n"
         "Usage: skntool render SKIN.skn OUT.png [OPTIONS]\nTry \"skntool help render\".\n"},
        {{"info", "a.skn", "b.skn"},
         "skntool: \"info\" takes SKIN.skn.\nUsage: skntool info SKIN.skn\n"
         "Try \"skntool help info\".\n"},
        {{"info", "--verbose", "a.skn"},
         "skntool: Unknown option 'verbose'.\nUsage: skntool info SKIN.skn\n"
         "Try \"skntool help info\".\n"},
        {{"render", "a.skn", "x.png", "--zoom", "300"},
         "skntool: --zoom must be 100, 200, 400 or 800, not \"300\".\n"},
        {{"render", "a.skn", "x.png", "--select", "-1"},
         "skntool: --select must be a whole number from 0 to 65535, not \"-1\".\n"},
        {{"render", "a.skn", "x.png", "--select", "0"},
         "skntool: --select 0: the skin has 0 items.\n"},
        {{"render", "a.skn", "x.png", "--select", "0", "--playlist"},
         "skntool: --select marks an item of the player screen; the playlist screen has none.\n"},
        {{"render", "a.skn", "x.png", "--area", "0x10"},
         "skntool: --area must be WxH with each side from 1 to 32767, not \"0x10\".\n"},
        {{"new", "--preset", "6", "x.png"},
         "skntool: --preset must be a whole number from 0 to 5, not \"6\".\n"},
        {{"new", "--size", "1201x300", "x.png"},
         "skntool: --size must be WxH with each side from 120 to 1200, not \"1201x300\".\n"},
        {{"new", "--size", "300x300", "--preset", "1", "x.png"},
         "skntool: Give either --preset or --size, not both.\n"},
        {{"pack", "--watch", "f", "-"}, "skntool: --watch writes a file, not standard output.\n"},
    };
    for (const TUsageCase& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TToolRun run = Run(c.Args);
        EXPECT_EQ(run.Status, 2);
        EXPECT_TRUE(run.Out.isEmpty());
        // Option errors name the option, then the command's usage line follows.
        EXPECT_TRUE(run.Err.startsWith(c.Err)) << run.Err.toStdString();
        EXPECT_FALSE(Exists("x.png"));
    }
}

TEST_F(SkntoolTest, HelpGoesToStandardOutput) {
    const TToolRun overview = Run({"--help"});
    EXPECT_EQ(overview.Status, 0);
    EXPECT_TRUE(overview.Err.isEmpty());
    for (const char* line : {"new [--preset N | --size WxH] OUT.skn", "info SKIN.skn",
                             "unpack [--png] SKIN.skn DIR", "pack [--watch] DIR OUT.skn",
                             "render SKIN.skn OUT.png [OPTIONS]", "dither IN.skn OUT.skn"})
        EXPECT_TRUE(overview.Out.contains(line)) << line;
    EXPECT_EQ(Run({"help"}).Out, overview.Out);

    const TToolRun render = Run({"help", "render"});
    EXPECT_EQ(render.Status, 0);
    EXPECT_TRUE(render.Out.startsWith("Usage: skntool render SKIN.skn OUT.png [OPTIONS]\n"));
    EXPECT_TRUE(render.Out.contains("--zoom 100|200|400|800"));
    for (const char* option : {"--fit SIZE", "--pressed ROW ", "--pressed ROW:center",
                               "--second-state ROW", "--progress ROW=VALUE", "--sample KEY=TEXT"})
        EXPECT_TRUE(render.Out.contains(option)) << option;
    EXPECT_EQ(Run({"render", "--help"}).Out, render.Out);
    EXPECT_TRUE(Run({"help", "pack"}).Out.contains("\n  --watch "));
    EXPECT_TRUE(
        Run({"help", "new"}).Out.contains("5 Standard VGA landscape (640x480)   640 x 396"));
}

TEST_F(SkntoolTest, UnreadableSkinsExitWith1WithTheEditorsTexts) {
    const QByteArray good = EncodeSkin(MakeRichSkin());
    Write("short.skn", good.left(good.size() - 1));
    QByteArray version = good;
    version[0] = char(0xE9);
    Write("version.skn", version);
    TSkinDocument damaged = MakeDefaultSkin();
    AddItem(damaged, ikImage, "i");
    damaged.Items[0].Index = 3;
    WriteSkin("damaged.skn", damaged);

    const struct {
        const char* File;
        const char* Err;
    } cases[] = {
        {"missing.skn", "skntool: missing.skn: File not found.\n"},
        {"short.skn", "skntool: short.skn: Read beyond end of file.\n"},
        {"version.skn",
         "skntool: version.skn: The version of the skin file is not compatible with the editor.\n"},
        {"damaged.skn",
         "skntool: damaged.skn: The skin file is damaged: item 1 refers to a missing record.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        for (const QStringList& args :
             {QStringList{"info", c.File}, QStringList{"unpack", c.File, "dir"},
              QStringList{"render", c.File, "out.png"}, QStringList{"dither", c.File, "out.skn"}}) {
            const TToolRun run = Run(args);
            EXPECT_EQ(run.Status, 1) << args.join(' ').toStdString();
            EXPECT_EQ(run.Err, c.Err);
            EXPECT_TRUE(run.Out.isEmpty());
        }
        EXPECT_FALSE(Exists("dir"));
        EXPECT_FALSE(Exists("out.png"));
        EXPECT_FALSE(Exists("out.skn"));
    }
}

TEST_F(SkntoolTest, UnwritableOutputsExitWith1AndWriteNothing) {
    WriteSkin("a.skn", MakeDefaultSkin());
    const struct {
        QStringList Args;
        const char* Err;
    } cases[] = {
        {{"new", "no/a.skn"}, "skntool: no/a.skn: File not found.\n"},
        {{"render", "a.skn", "no/a.png"}, "skntool: no/a.png: File not found.\n"},
        {{"dither", "a.skn", "no/b.skn"}, "skntool: no/b.skn: File not found.\n"},
        {{"unpack", "a.skn", "a.skn"}, "skntool: a.skn: Not a folder.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TToolRun run = Run(c.Args);
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Err, c.Err);
    }
    EXPECT_FALSE(Exists("no"));
    EXPECT_EQ(Bytes("a.skn"), EncodeSkin(MakeDefaultSkin()));

    const TToolRun full = Run({"info", "a.skn"}, "/dev/full");
    EXPECT_EQ(full.Status, 1);
    EXPECT_EQ(full.Err, "skntool: standard output: Disk full.\n");
}

TEST_F(SkntoolTest, UnpackBlockedPartWayChangesNothing) {
    WriteSkin("rich.skn", MakeRichSkin());
    Write("f/notes.txt", "mine");
    QDir().mkpath(Path("f/wheel-1-picture-3.bmp")); // a folder where a bitmap must go
    const TToolRun run = Run({"unpack", "rich.skn", "f"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: f/wheel-1-picture-3.bmp: Is a folder.\n");
    EXPECT_EQ(QDir(Path("f")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"notes.txt", "wheel-1-picture-3.bmp"}));
}

TEST_F(SkntoolTest, RenderRefusesScreensThatGiveNoPicture) {
    TSkinDocument doc = MakeDefaultSkin();
    doc.ScreenWidth = 0; // a file may hold any size from 0 to 65535
    WriteSkin("zero.skn", doc);
    TToolRun run = Run({"render", "zero.skn", "z.png"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: zero.skn: The screen of this skin is 0 x 268 pixels; give --area "
                       "WxH.\n");
    EXPECT_FALSE(Exists("z.png"));
    run = Run({"render", "zero.skn", "z.png", "--area", "20x10"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(QImage(Path("z.png")).size(), QSize(20, 10));

    doc.ScreenWidth = 65535;
    WriteSkin("huge.skn", doc);
    run = Run({"render", "huge.skn", "h.png", "--zoom", "200"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: huge.skn: A picture of 131070 x 536 pixels is too large to "
                       "render; give a smaller --zoom or --area.\n");
    EXPECT_FALSE(Exists("h.png"));
}

TEST_F(SkntoolTest, VersionAndTheEndOfOptions) {
    const TToolRun version = Run({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, "skntool " LUMORA_VERSION "\n");
    EXPECT_TRUE(version.Err.isEmpty());
    EXPECT_EQ(Run({"--version", "x"}).Status, 2);

    // Without "--" a name that begins with "-" is an option.
    EXPECT_EQ(Run({"new", "-h.skn"}).Status, 2);
    EXPECT_FALSE(Exists("-h.skn"));
    const TToolRun created = Run({"new", "--", "-h.skn"});
    EXPECT_EQ(created.Status, 0) << created.Err.toStdString();
    EXPECT_EQ(Bytes("-h.skn").size(), 1034);
    const TToolRun info = Run({"info", "--", "-h.skn"});
    EXPECT_EQ(info.Status, 0) << info.Err.toStdString();
    EXPECT_TRUE(info.Out.startsWith("{"));
}
