// A skin read from a pipe is judged as it arrives: an endless stream of
// zeros is refused at its version, a skin written in small pieces reads as
// from memory, and a claim larger than what arrives costs only what arrived.
#include "fed_pipe.h"
#include "item_list.h"
#include "new_skin.h"
#include "sample_skin.h"
#include "skin_file.h"

#include <QtEndian>

#include <gtest/gtest.h>

TEST(SkinStream, EndlessZerosAreRefusedAtTheVersionWithinAFewKilobytes) {
    TFedPipe pipe({}, 512, true);
    const TSkinReadResult read = ReadSkinDescriptor(pipe.Read);
    EXPECT_TRUE(read.WrongVersion);
    EXPECT_EQ(read.Error, VersionMismatchText);
    EXPECT_LE(pipe.Finish(), 8 * 1024);
}

TEST(SkinStream, ASkinArrivingInPiecesReadsAsFromMemory) {
    const QByteArray bytes = EncodeSkin(MakeRichSkin());
    TFedPipe pipe(bytes, 1000, false);
    const TSkinReadResult read = ReadSkinDescriptor(pipe.Read);
    ASSERT_TRUE(read.Document.has_value()) << read.Error.toStdString();
    EXPECT_EQ(EncodeSkin(*read.Document), bytes);
}

TEST(SkinStream, AClaimBeyondWhatArrivesIsReadBeyondEnd) {
    // One image entry whose picture, at byte 23, claims 65535 x 65535 pixels
    // in 2 GB; 64 KB of it arrive.
    TSkinDocument doc = MakeDefaultSkin();
    AddItem(doc, ikImage, "i");
    QByteArray bytes = EncodeSkin(doc).left(23);
    QByteArray head(8, '\0');
    qToLittleEndian<quint16>(65535, head.data());
    qToLittleEndian<quint16>(65535, head.data() + 2);
    qToLittleEndian<quint32>(1u << 31, head.data() + 4);
    bytes += head + QByteArray(1 << 16, '\0');
    for (const qsizetype cut : {qsizetype(20), bytes.size()}) {
        TFedPipe pipe(bytes.left(cut), 100, false);
        EXPECT_EQ(ReadSkinDescriptor(pipe.Read).Error, "Read beyond end of file.") << cut;
    }
}
