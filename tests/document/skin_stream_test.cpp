// A skin read from a pipe is judged as it arrives: an endless stream of
// zeros is refused at its version, a skin written in small pieces reads as
// from memory, and a claim larger than what arrives costs only what arrived.
#include "item_list.h"
#include "new_skin.h"
#include "sample_skin.h"
#include "skin_file.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

// A pipe whose far end a thread feeds: the bytes given, in pieces of
// `piece`, then, when endless, zeros until told to stop (or, should the
// reader take them all, until 16 MB, so that a failing reader ends).
class TFedPipe {
  public:
    TFedPipe(QByteArray bytes, qsizetype piece, bool endless) {
        int fds[2];
        EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        Read = fds[0];
        Write = fds[1];
        ::fcntl(Write, F_SETFL, O_NONBLOCK);
        Feeder = std::thread([this, bytes = std::move(bytes), piece, endless] {
            const QByteArray zeros(piece, '\0');
            qsizetype at = 0;
            while (!Stop) {
                const bool tail = at >= bytes.size();
                if (tail && (!endless || Written > (16 << 20))) break;
                const char* data = tail ? zeros.constData() : bytes.constData() + at;
                const qsizetype n = tail ? piece : std::min(piece, bytes.size() - at);
                const ssize_t put = ::write(Write, data, std::size_t(n));
                if (put > 0) {
                    Written += put;
                    if (!tail) at += put;
                } else if (errno == EAGAIN) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                } else {
                    break;
                }
            }
            ::close(Write);
        });
    }
    ~TFedPipe() {
        Finish();
        ::close(Read);
    }
    // Stops the feeder; the bytes the reader took.
    qint64 Finish() {
        Stop = true;
        if (Feeder.joinable()) Feeder.join();
        int left = 0;
        ::ioctl(Read, FIONREAD, &left);
        return Written - left;
    }

    int Read = -1;

  private:
    int Write = -1;
    std::atomic<bool> Stop{false};
    std::atomic<qint64> Written{0};
    std::thread Feeder;
};

} // namespace

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
