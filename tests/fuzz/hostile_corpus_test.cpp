// Every input of the hostile corpus through info, unpack, pack, render,
// dither, check and diff, each run of skntool in a process with a time limit whose peak
// memory is read from the kernel: it ends with status 0, or 1 and a message,
// never a signal, and stays within the budget (plus the size of what it
// writes, for outputs that are themselves larger, and of the picture it
// decodes, for a picture that is itself that large). Judged in a Release tree
// only: the sanitizers multiply both time and memory.
#include "hostile_corpus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr qint64 BudgetKb = 256 * 1024;
// Processor time a command may take; the wall-clock limit only ends a hang
// on a loaded machine.
constexpr double BoundSeconds = 2;
// Beyond that, a second for each this much a command reads or writes: time
// that grows with the real size of a file, never with what it claims.
constexpr qint64 KbPerSecond = 128 * 1024;
constexpr double KillSeconds = 120;

struct TRun {
    int Status = -1; // exit status, or minus the signal
    qint64 PeakKb = 0;
    double Seconds = 0; // processor time
    QByteArray Err;
};

class HostileCorpus : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Dir = new QTemporaryDir;
        for (const THostileInput& input : HostileInputs())
            ASSERT_TRUE(WriteHostileInput(input, Dir->path())) << input.Name.toStdString();
    }
    static void TearDownTestSuite() {
        delete Dir;
        Dir = nullptr;
    }

    static QString Path(const QString& name) { return Dir->filePath(name); }

    static TRun Skntool(const QStringList& args) {
        QProcess launcher;
        launcher.start(QStringLiteral(LIMITED_RUN),
                       QStringList{QString::number(KillSeconds), Path("out.txt"), Path("err.txt"),
                                   QStringLiteral(SKNTOOL_PATH)} +
                           args);
        TRun run;
        if (!launcher.waitForFinished(int(KillSeconds + 60) * 1000)) return run;
        const QList<QByteArray> fields = launcher.readAllStandardOutput().simplified().split(' ');
        run.Status = fields.value(0).toInt();
        run.PeakKb = fields.value(1).toLongLong();
        run.Seconds = fields.value(2).toDouble();
        QFile err(Path("err.txt"));
        if (err.open(QIODevice::ReadOnly)) run.Err = err.readAll();
        return run;
    }

    // A file's size, or the sum of a folder's files.
    static qint64 SizeKb(const QString& path) {
        const QFileInfo info(path);
        qint64 kb = info.isFile() ? info.size() / 1024 : 0;
        if (info.isDir())
            for (const QFileInfo& f : QDir(path).entryInfoList(QDir::Files))
                kb += f.size() / 1024;
        return kb;
    }

    // Runs the command and checks how it ended; output is the file it
    // writes, whose size is added to the budget.
    // findings: a status that also counts as done (check's 3 when it finds something).
    static TRun Check(const QStringList& args, const QString& output = {}, int findings = 0) {
        const std::string what = args.join(' ').replace(Dir->path(), "").toStdString();
        const TRun run = Skntool(args);
        const QString outputPath = output.isEmpty() ? Path("out.txt") : output;
        const qint64 outputKb = SizeKb(outputPath);
        // What the command reads, a skin or a folder, may take its time too.
        qint64 inputKb = 0;
        for (const QString& arg : args)
            if (arg != outputPath && arg.startsWith(Dir->path())) inputKb += SizeKb(arg);
        std::printf("[ measured ] %s: status %d, %.2f s, peak %lld MB\n", what.c_str(), run.Status,
                    run.Seconds, run.PeakKb / 1024);
        std::fflush(stdout);
        EXPECT_TRUE(run.Status == 0 || run.Status == 1 || (findings && run.Status == findings))
            << what << ": status " << run.Status << " after " << run.Seconds << " s";
        if (run.Status == 1) {
            EXPECT_TRUE(run.Err.startsWith("skntool: ") && run.Err.endsWith(".\n")) << what;
            EXPECT_FALSE(run.Err.contains(".skntool-")) << what << ": " << run.Err.toStdString();
        }
        EXPECT_LT(run.Seconds, BoundSeconds + double(inputKb + outputKb) / KbPerSecond) << what;
        EXPECT_LT(run.PeakKb, BudgetKb + DecodedKb + outputKb)
            << what << ": peak " << run.PeakKb / 1024 << " MB";
        // One line of skntool's own, never a library's beside it.
        EXPECT_LE(run.Err.count('\n'), 1) << what << ": " << run.Err.toStdString();
        return run;
    }

    // The decoded size of the picture the command at hand reads.
    static qint64 DecodedKb;

    static QTemporaryDir* Dir;
};

QTemporaryDir* HostileCorpus::Dir = nullptr;
qint64 HostileCorpus::DecodedKb = 0;

} // namespace

TEST_F(HostileCorpus, SkinsGoThroughEveryCommandInBoundedTimeAndMemory) {
    for (const THostileInput& input : HostileInputs()) {
        if (input.Skin.isEmpty()) continue;
        SCOPED_TRACE(input.Name.toStdString());
        const QString skin = Path(input.Name + ".skn"), folder = Path(input.Name + ".d");
        Check({"render", "--zoom", "800", "--area", "1600x1000", skin, Path("shown.png")},
              Path("shown.png"));
        Check({"render", skin, Path("shown.png")}, Path("shown.png"));
        Check({"render", "--fit", "256", skin, Path("thumbnail.png")}, Path("thumbnail.png"));
        Check({"check", skin}, {}, 3);
        Check({"diff", skin, skin});
        Check({"unpack", skin, folder}, folder);
        // The texts differ only in what render and check see: one skin of
        // them goes through the other commands.
        if (input.Name.contains("texts") && input.Name != "alike_texts_65535_large_screen") {
            QDir(folder).removeRecursively();
            continue;
        }
        Check({"info", skin});
        Check({"pack", folder, Path("packed.skn")}, Path("packed.skn"));
        QDir(folder).removeRecursively();
        Check({"dither", skin, Path("dithered.skn")}, Path("dithered.skn"));
    }
}

TEST_F(HostileCorpus, AThumbnailOfAHugeScreenComposesOnlyTheRowsItShows) {
    // Every kind in bulk on the largest screen a file can claim, 65535 x
    // 65535 (the two 16-bit fields after the version).
    for (const THostileInput& input : HostileInputs()) {
        if (input.Name != "every_kind_in_bulk") continue;
        QByteArray skin = input.Skin;
        skin.replace(4, 4, QByteArray(4, char(0xFF)));
        QFile file(Path("huge_screen.skn"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(skin) == skin.size());
        file.close();
        Check({"render", "--fit", "256", Path("huge_screen.skn"), Path("thumbnail.png")},
              Path("thumbnail.png"));
        EXPECT_EQ(QImage(Path("thumbnail.png")).size(), QSize(256, 256));
        return;
    }
    FAIL() << "no every_kind_in_bulk in the corpus";
}

TEST_F(HostileCorpus, BitmapsArePackedOnceOrRefusedWithTheirMessage) {
    std::map<QString, TRun> packed;
    for (const THostileInput& input : HostileInputs()) {
        if (!input.Skin.isEmpty()) continue;
        SCOPED_TRACE(input.Name.toStdString());
        DecodedKb = input.DecodedKb;
        packed[input.Name] =
            Check({"pack", Path(input.Name), Path("packed.skn")}, Path("packed.skn"));
        DecodedKb = 0;
        // The packed skin holds the decoded pictures: unpack writes them back
        // a row at a time. Reading the single 268 MB picture of rle_bomb still
        // holds the skin's bytes beside it, beyond the budget, and so do the
        // pictures that are large in their own right.
        if (!QFile::exists(Path("packed.skn")) || input.Name == "rle_bomb" || input.DecodedKb > 0) {
            QFile::remove(Path("packed.skn"));
            continue;
        }
        Check({"unpack", Path("packed.skn"), Path("unpacked.d")}, Path("unpacked.d"));
        QDir(Path("unpacked.d")).removeRecursively();
        QFile::remove(Path("packed.skn"));
    }
    const TRun refused = Skntool({"pack", Path("short_huge_claim"), Path("refused.skn")});
    EXPECT_TRUE(refused.Err.endsWith("picture.bmp: Stream read error.\n")) << refused.Err.data();
    EXPECT_FALSE(QFile::exists(Path("refused.skn")));
    const TRun bomb = Skntool({"pack", Path("png_bomb_beyond_the_limit"), Path("refused.skn")});
    EXPECT_TRUE(bomb.Err.endsWith("picture.bmp: The picture is too large: at most 268,435,456 "
                                  "pixels (for example 16384 x 16384).\n"))
        << bomb.Err.data();
    EXPECT_FALSE(QFile::exists(Path("refused.skn")));
    // The damaged ones are refused as such; the large and the laden open.
    for (const char* name :
         {"jpeg_of_20000_scans", "jpeg_cut_short", "gif_cut_short", "tiff_with_bogus_strips"})
        EXPECT_TRUE(
            packed[name].Err.endsWith("picture.bmp: The picture file is damaged or incomplete.\n"))
            << name << ": " << packed[name].Err.data();
    for (const char* name : {"png_text_bombs", "png_data_after_its_rows", "png_before_a_5_gb_hole",
                             "png_12000_square", "jpeg_48_megapixels"})
        EXPECT_EQ(packed[name].Status, 0) << name << ": " << packed[name].Err.data();
}
