// "pack --watch" run as a user runs it: a picture saved by a drawing program
// (written to a temporary name, then renamed) is packed again; a broken
// skin.json is reported and watching goes on; SIGTERM ends it with 0.
#include "sample_skin.h"
#include "skntool_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>

#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class PackWatch : public SkntoolTest {
  protected:
    void SetUp() override {
        WriteSkin("rich.skn", MakeRichSkin());
        ASSERT_EQ(Run({"unpack", "rich.skn", "f"}).Status, 0);
        Watch.setProgram(QStringLiteral(SKNTOOL_PATH));
        Watch.setWorkingDirectory(Dir.path());
        Watch.setArguments({"pack", "--watch", "f", "out.skn"});
        Watch.start();
        ASSERT_TRUE(Watch.waitForStarted());
    }
    void TearDown() override {
        if (Watch.state() != QProcess::NotRunning) {
            Watch.kill();
            Watch.waitForFinished();
        }
    }

    // What a plain pack of the folder writes now.
    QByteArray Packed() const {
        EXPECT_EQ(Run({"pack", "f", "expected.skn"}).Status, 0);
        return Bytes("expected.skn");
    }
    bool WaitFor(const std::function<bool()>& done) {
        QElapsedTimer time;
        time.start();
        while (!done()) {
            if (time.elapsed() > 20000) return false;
            Watch.waitForReadyRead(50);
            Err += Watch.readAllStandardError();
        }
        return true;
    }
    bool WaitForOut(const QByteArray& bytes) {
        return WaitFor([&] { return Exists("out.skn") && Bytes("out.skn") == bytes; });
    }
    // As a drawing program saves: the whole new file under another name first.
    void SaveInverted(const QString& name) {
        QImage picture(Path(name));
        picture.invertPixels();
        ASSERT_TRUE(picture.save(Path(name + ".tmp"), "BMP"));
        ASSERT_EQ(std::rename(qPrintable(Path(name + ".tmp")), qPrintable(Path(name))), 0);
    }

    // How many times OUT was written (each pack replaces it with a new file)
    // during ms, with each(tick) called every 20 ms.
    int PacksDuring(const QString& out, int ms, const std::function<void(int)>& each) {
        const auto signature = [&] {
            struct stat st {};
            ::stat(QFile::encodeName(Path(out)).constData(), &st);
            return std::pair(st.st_ino, st.st_mtim.tv_nsec + st.st_mtim.tv_sec * 1000000000);
        };
        auto last = signature();
        int packs = 0;
        for (int tick = 0; tick * 20 < ms; ++tick) {
            each(tick);
            Watch.waitForReadyRead(20);
            Err += Watch.readAllStandardError();
            if (const auto now = signature(); now != last) {
                ++packs;
                last = now;
            }
        }
        return packs;
    }

    QProcess Watch;
    QByteArray Err;
};

TEST_F(PackWatch, PacksAgainAfterEachSaveUntilTerminated) {
    ASSERT_TRUE(WaitForOut(Packed()));
    const QString picture = QDir(Path("f")).entryList({"button-*.bmp"}).value(0);
    ASSERT_FALSE(picture.isEmpty());

    const QByteArray first = Bytes("out.skn");
    SaveInverted("f/" + picture);
    const QByteArray changed = Packed();
    ASSERT_NE(changed, first);
    EXPECT_TRUE(WaitForOut(changed));

    // A half-edited skin.json: reported as pack reports it, the skin kept.
    const QByteArray json = Bytes("f/skin.json");
    Write("f/skin.json", json.left(json.size() / 2));
    EXPECT_TRUE(WaitFor([&] { return Err.contains("\n"); }));
    EXPECT_TRUE(Err.startsWith("skntool: f/skin.json: Not valid JSON: ")) << Err.data();
    EXPECT_EQ(Bytes("out.skn"), changed);

    Write("f/skin.json", json);
    SaveInverted("f/" + picture);
    EXPECT_TRUE(WaitForOut(first));

    ::kill(pid_t(Watch.processId()), SIGTERM);
    ASSERT_TRUE(Watch.waitForFinished(10000));
    EXPECT_EQ(Watch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Watch.exitCode(), 0);
}

// OUT written through a linked spelling of the folder is still known for
// what it is; a file skin.json does not name may keep changing: one pack per
// change of a file it names, none for the rest.
TEST_F(PackWatch, PacksOncePerChangeOfWhatItReadsHoweverOutIsSpelt) {
    Watch.kill();
    Watch.waitForFinished();
    ASSERT_EQ(::symlink("f", QFile::encodeName(Path("alias")).constData()), 0);
    Watch.setArguments({"pack", "--watch", "f", "alias/out.skn"});
    Watch.start();
    ASSERT_TRUE(Watch.waitForStarted());
    ASSERT_TRUE(WaitFor([&] { return Exists("f/out.skn"); }));
    const auto unrelated = [this](int tick) { Write("f/notes.txt", QByteArray::number(tick)); };
    EXPECT_EQ(PacksDuring("f/out.skn", 1000, [](int) {}), 0) << "its own output packs again";
    EXPECT_EQ(PacksDuring("f/out.skn", 1000, unrelated), 0) << Err.data();

    const QString picture = QDir(Path("f")).entryList({"button-*.bmp"}).value(0);
    const int packs = PacksDuring("f/out.skn", 2500, [&](int tick) {
        if (tick == 0) SaveInverted("f/" + picture);
        unrelated(tick);
    });
    EXPECT_EQ(packs, 1) << Err.data();
    EXPECT_EQ(Run({"pack", "f", "expected.skn"}).Status, 0);
    EXPECT_EQ(Bytes("f/out.skn"), Bytes("expected.skn"));
    EXPECT_TRUE(Err.isEmpty()) << Err.data();
}

// The folder removed and made again, as a checkout does, is packed again.
TEST_F(PackWatch, FollowsTheFolderWhenItIsMadeAgain) {
    ASSERT_TRUE(WaitForOut(Packed()));
    ASSERT_TRUE(QDir(Path("f")).removeRecursively());
    Watch.waitForReadyRead(1000);
    WriteSkin("default.skn", MakeDefaultSkin());
    ASSERT_EQ(Run({"unpack", "default.skn", "f"}).Status, 0);
    EXPECT_TRUE(WaitForOut(Packed()));
}

} // namespace
