// The shared-mime-info definition of skin files, read by Qt's MIME database
// from a private data folder exactly as a desktop reads share/mime/packages.
#include "new_skin.h"
#include "sample_skin.h"
#include "skin_file.h"

#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString SkinType = QStringLiteral("application/x-lumora-skin");

class SkinMimeType : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Before the first QMimeDatabase, so that its folder list includes ours.
        qputenv("XDG_DATA_HOME", LUMORA_MIME_DATA_HOME);
    }

    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    QMimeDatabase db;
};

TEST_F(SkinMimeType, IsKnownByNameAndComment) {
    const QMimeType type = db.mimeTypeForName(SkinType);
    ASSERT_TRUE(type.isValid());
    EXPECT_EQ(type.comment(), QStringLiteral("Lumora skin"));
    EXPECT_EQ(type.suffixes(), QStringList{QStringLiteral("skn")});
    EXPECT_EQ(type.iconName(), QStringLiteral("application-x-lumora-skin"));
}

TEST_F(SkinMimeType, GlobMatchesTheExtension) {
    EXPECT_EQ(db.mimeTypeForFile(QStringLiteral("night.skn"), QMimeDatabase::MatchExtension).name(),
              SkinType);
    EXPECT_EQ(db.mimeTypeForFile(QStringLiteral("DAY.SKN"), QMimeDatabase::MatchExtension).name(),
              SkinType);
}

TEST_F(SkinMimeType, SkinsTheEditorWritesAreRecognisedByContent) {
    TSkinDocument plain;
    NewSkin(plain);
    for (const TSkinDocument& doc : {plain, MakeRichSkin()}) {
        const QByteArray bytes = EncodeSkin(doc);
        EXPECT_EQ(db.mimeTypeForData(bytes).name(), SkinType);
        // A renamed skin without its extension is still found by its version bytes.
        EXPECT_EQ(db.mimeTypeForFile(WriteFile(QStringLiteral("renamed"), bytes)).name(), SkinType);
    }
}

TEST_F(SkinMimeType, OtherVersionsAndShortFilesAreNotSkins) {
    // Version 1001 and the version in the wrong byte order must not match.
    EXPECT_NE(db.mimeTypeForData(QByteArray::fromHex("e9030000f000")).name(), SkinType);
    EXPECT_NE(db.mimeTypeForData(QByteArray::fromHex("000003e8f000")).name(), SkinType);
    EXPECT_NE(db.mimeTypeForData(QByteArray::fromHex("e803")).name(), SkinType);
}

} // namespace
