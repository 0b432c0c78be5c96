// A pipe whose far end a thread feeds, for readers that must judge a stream
// as it arrives; it tells how many bytes the reader took.
#pragma once

#include <QByteArray>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

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
