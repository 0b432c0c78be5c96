// Replays every seed of the fuzz corpora and every input the fuzzers ever
// found through the very checks the fuzz targets run.
#include "fuzz_checks.h"
#include "skin_file.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QStringList InputsIn(const QString& folder) {
    QDir dir(QStringLiteral(LUMORA_FUZZ_DATA "/") + folder);
    QStringList paths;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QByteArray Contents(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void Replay(const QStringList& paths, QString (*check)(QByteArrayView)) {
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(check(Contents(path)).toStdString(), "");
    }
}

// Every finding of a target; a folder missing or empty would pass with
// nothing replayed, so it fails.
void ReplayFindings(const QString& folder, QString (*check)(QByteArrayView)) {
    const QStringList paths = InputsIn(folder);
    ASSERT_FALSE(paths.isEmpty()) << "no inputs in " LUMORA_FUZZ_DATA "/" << folder.toStdString();
    Replay(paths, check);
}

class FuzzReplay : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { PrepareFuzzChecks(); }
};

} // namespace

TEST_F(FuzzReplay, SkinSeedsCoverOpenedAndRefusedFiles) {
    const QStringList seeds = InputsIn("corpus/skin");
    ASSERT_GE(seeds.size(), 20) << "the seed corpus is missing; ./fuzz --make-corpus writes it";
    int opened = 0;
    for (const QString& path : seeds)
        opened += DecodeSkin(Contents(path)).Document.has_value();
    // Seeds that open reach the renderer and the writer; the damaged ones
    // keep the refusal paths in the corpus.
    EXPECT_GE(opened, 15);
    EXPECT_GE(seeds.size() - opened, 4);
    Replay(seeds, CheckSkinInput);
}

TEST_F(FuzzReplay, SkinRegressions) {
    ReplayFindings(QStringLiteral("regressions/skin"), CheckSkinInput);
}

TEST_F(FuzzReplay, BitmapSeeds) {
    const QStringList seeds = InputsIn("corpus/bitmap");
    ASSERT_GE(seeds.size(), 20) << "the seed corpus is missing; ./fuzz --make-corpus writes it";
    Replay(seeds, CheckBitmapInput);
}

TEST_F(FuzzReplay, BitmapRegressions) {
    ReplayFindings(QStringLiteral("regressions/bitmap"), CheckBitmapInput);
}

TEST_F(FuzzReplay, PictureSeedsAndFindingsOfEachFormat) {
    for (const char* format : {"png", "jpeg", "gif", "webp", "tiff"}) {
        SCOPED_TRACE(format);
        const QStringList seeds = InputsIn(QStringLiteral("corpus/") + QLatin1String(format));
        ASSERT_GE(seeds.size(), 4) << "the seed corpus is missing; ./fuzz --make-corpus writes it";
        const auto check = [format](const QString& path) {
            return CheckPictureInput(format, Contents(path)).toStdString();
        };
        for (const QString& path :
             seeds + InputsIn(QStringLiteral("regressions/") + QLatin1String(format))) {
            SCOPED_TRACE(path.toStdString());
            EXPECT_EQ(check(path), "");
        }
    }
}
