// skntool pack reads only regular files inside its folder, and a skin.json
// giving a key twice is refused.
#include "refused_calls.h"
#include "sample_skin.h"
#include "skntool.h"
#include "skntool_process.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct TNameCase {
    QByteArray Name; // as JSON text, quotes included
    const char* Why;
};

} // namespace

class PackFolder : public SkntoolTest {
  protected:
    void SetUp() override {
        WriteSkin("rich.skn", MakeRichSkin());
        ASSERT_EQ(Run({"unpack", "rich.skn", "f"}).Status, 0);
        Text = Bytes("f/skin.json");
        Slot = Text.indexOf("\"button-0-picture-0.bmp\"");
        ASSERT_GE(Slot, 0);
        // A bitmap the folder's author must not reach, and its neighbour that is not there.
        ASSERT_TRUE(QFile::copy(Path("f/button-0-picture-0.bmp"), Path("secret.bmp")));
    }
    // skin.json with the first button's first slot naming name.
    TToolRun PackNaming(const QByteArray& name) {
        Write("f/skin.json", QByteArray(Text).replace(Slot, 24, name));
        return Run({"pack", "f", "out.skn"});
    }
    void Link(const QByteArray& target, const char* name) {
        ASSERT_EQ(::symlink(target.constData(), QFile::encodeName(Path(name)).constData()), 0);
    }
    QByteArray Text;
    qsizetype Slot = -1;
};

TEST_F(PackFolder, RefusesANameOutsideTheFolderOrNotARegularFileWithoutOpeningIt) {
    const QByteArray secret = QFile::encodeName(Path("secret.bmp"));
    Link("../secret.bmp", "f/up.bmp");
    Link("../missing.bmp", "f/up-missing.bmp");
    Link(secret, "f/absolute.bmp");
    Link("sub", "f/down");
    Link("loop.bmp", "f/loop.bmp");
    ASSERT_TRUE(QDir().mkpath(Path("f/sub")));
    // A FIFO nobody writes: opening it to read would wait for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("f/pipe.bmp")).constData(), 0600), 0);
    Link("pipe.bmp", "f/to-pipe.bmp");

    const char* outside = " leads out of the folder.";
    std::vector<TNameCase> cases = {
        {'"' + secret + '"', " must be a path relative to the folder."},
        {"\"button-0-picture-1.bmp\\u0000.txt\"", " must not hold a NUL character."},
        // Whether the file outside exists or not, the same words.
        {"\"../secret.bmp\"", outside},
        {"\"../missing.bmp\"", outside},
        {"\"sub/../../secret.bmp\"", outside},
        {"\"missing/../../secret.bmp\"", outside},
        {"\"skin.json/../../secret.bmp\"", outside},
        {"\"up.bmp\"", outside},
        {"\"up-missing.bmp\"", outside},
        {"\"absolute.bmp\"", outside},
        {"\"down/../../secret.bmp\"", outside},
        {"\"loop.bmp\"", " leads through too many symbolic links."},
        {"\"sub\"", " names a folder, not a bitmap file."},
        {"\"down/.\"", " names a folder, not a bitmap file."},
        {"\"pipe.bmp\"", " names a FIFO, not a bitmap file."},
        {"\"to-pipe.bmp\"", " names a FIFO, not a bitmap file."},
    };
    // A device only where the test may make one.
    if (::mknod(QFile::encodeName(Path("f/null.bmp")).constData(), S_IFCHR | 0600, makedev(1, 3)) ==
        0)
        cases.push_back({"\"null.bmp\"", " names a device, not a bitmap file."});
    for (const TNameCase& c : cases) {
        SCOPED_TRACE(c.Name.toStdString());
        const TToolRun run = PackNaming(c.Name);
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Err,
                  "skntool: f/skin.json: \"Buttons[0].Pictures[0]\"" + QByteArray(c.Why) + "\n");
        EXPECT_FALSE(Exists("out.skn"));
    }
}

TEST_F(PackFolder, RefusesASkinJsonOutsideTheFolderOrNotARegularFile) {
    const QByteArray json = QFile::encodeName(Path("f/skin.json"));
    Write("outside.json", Text);
    ASSERT_EQ(::unlink(json.constData()), 0);
    Link("../outside.json", "f/skin.json");
    TToolRun run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Err, "skntool: f: \"skin.json\" leads out of the folder.\n");

    // Opened to read, a FIFO nobody writes would hold pack until the harness kills it.
    ASSERT_EQ(::unlink(json.constData()), 0);
    ASSERT_EQ(::mkfifo(json.constData(), 0600), 0);
    run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: f: \"skin.json\" names a FIFO, not a JSON file.\n");
    EXPECT_FALSE(Exists("out.skn"));
}

TEST_F(PackFolder, FollowsLinksThatStayInside) {
    ASSERT_EQ(Run({"pack", "f", "plain.skn"}).Status, 0);
    ASSERT_TRUE(QDir().mkpath(Path("f/sub")));
    ASSERT_TRUE(QFile::copy(Path("f/button-0-picture-0.bmp"), Path("f/sub/first.bmp")));
    Link("sub/first.bmp", "f/relative.bmp");
    Link(QFile::encodeName(QDir(Path("f")).canonicalPath()) + "/sub/first.bmp",
         "f/sub/absolute.bmp");
    Link("sub", "f/down");
    for (const QByteArray name : {"\"relative.bmp\"", "\"sub/absolute.bmp\"",
                                  "\"down/../sub/./first.bmp\"", "\"./sub//first.bmp\""}) {
        SCOPED_TRACE(name.toStdString());
        const TToolRun run = PackNaming(name);
        ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
        EXPECT_EQ(Bytes("out.skn"), Bytes("plain.skn"));
    }
    // Inside the folder, a missing file is named as ever.
    const TToolRun missing = PackNaming("\"sub/../none.bmp\"");
    EXPECT_EQ(missing.Err, "skntool: f/sub/../none.bmp: File not found.\n");
}

// Where openat2 is missing, the file is opened a folder at a time: a link
// that stays inside still leads to it, one that leads out is refused.
TEST_F(PackFolder, KeepsToTheFolderWithoutOpenat2) {
    ASSERT_EQ(Run({"pack", "f", "plain.skn"}).Status, 0);
    ASSERT_TRUE(QDir().mkpath(Path("f/sub")));
    ASSERT_TRUE(QFile::copy(Path("f/button-0-picture-0.bmp"), Path("f/sub/first.bmp")));
    Link("sub", "f/down");
    Link("../../secret.bmp", "f/sub/up.bmp");
    const auto packWithoutOpenat2 = [this](const QByteArray& name) {
        Write("f/skin.json", QByteArray(Text).replace(Slot, 24, name));
        return WithCallsRefused(
                   {{SYS_openat2, ENOSYS}},
                   [this] {
                       const TCliResult run = RunSkntool({"pack", Path("f"), Path("out.skn")});
                       return QString::number(run.Status) + u' ' + QString::fromUtf8(run.Err);
                   })
            .value_or("no child")
            .toStdString();
    };
    EXPECT_EQ(packWithoutOpenat2("\"down/first.bmp\""), "0 ");
    EXPECT_EQ(Bytes("out.skn"), Bytes("plain.skn"));
    ASSERT_TRUE(QFile::remove(Path("out.skn")));
    EXPECT_EQ(packWithoutOpenat2("\"down/up.bmp\""),
              ("1 skntool: " + Path("f/skin.json") +
               ": \"Buttons[0].Pictures[0]\" leads out of the folder.\n")
                  .toStdString());
    EXPECT_FALSE(Exists("out.skn"));
}

TEST_F(PackFolder, RefusesAKeyGivenTwiceAtAnyDepth) {
    const QByteArray end = Text.left(Text.lastIndexOf('}'));
    Write("f/skin.json", end + ", \"Images\": []}");
    TToolRun run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Err, "skntool: f/skin.json: The key \"Images\" is given twice.\n");

    // The same key however it is spelt, in the second button.
    QByteArray text = Text;
    text.insert(text.indexOf("\"X\"", text.indexOf("\"Command\"", Slot)), "\"\\u0058\": 1, ");
    Write("f/skin.json", text);
    run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: f/skin.json: The key \"Buttons[1].X\" is given twice.\n");
    EXPECT_FALSE(Exists("out.skn"));

    QByteArray playlist = Text;
    playlist.insert(playlist.indexOf("\"Playlist\": {") + 13, "\"TitleBold\": true, ");
    Write("f/skin.json", playlist);
    EXPECT_EQ(Run({"pack", "f", "out.skn"}).Err,
              "skntool: f/skin.json: The key \"Playlist.TitleBold\" is given twice.\n");

    // Keys may repeat in different objects; a syntax error is named first.
    Write("f/skin.json", text.left(text.lastIndexOf('}')) + ", }");
    run = Run({"pack", "f", "out.skn"});
    EXPECT_TRUE(run.Err.startsWith("skntool: f/skin.json: Not valid JSON: ")) << run.Err.data();
}

// Qt reads an escaped surrogate without its pair as a character of its own;
// such a text is checked for keys given twice all the same.
TEST_F(PackFolder, ALoneSurrogateLeavesTheKeyCheckOn) {
    const qsizetype top = Text.indexOf('{') + 1;
    Write("f/skin.json",
          QByteArray(Text).insert(top, "\"Comment\": \"\\ud800\", \"ScreenWidth\": 1,"));
    TToolRun run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "skntool: f/skin.json: The key \"ScreenWidth\" is given twice.\n");
    EXPECT_FALSE(Exists("out.skn"));

    // Keys that differ only in such characters are different keys.
    Write("f/skin.json", QByteArray(Text).insert(
                             top, "\"x\\ud800\": 1, \"x\\udc00\": 2, \"x\\ud800\\udc00\": 3,"));
    run = Run({"pack", "f", "out.skn"});
    EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
}
