// A disk that fills up after a given number of bytes, for one scope.
#pragma once

#include <csignal>
#include <sys/resource.h>

// Writes past `bytes` bytes fail with EFBIG while it lives, as on a disk
// that fills up at that point (the signal that would kill the process is
// ignored, as a program that handles its errors does).
class TFileSizeLimit {
  public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &Saved);
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = Saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, OldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

  private:
    rlimit Saved{};
    void (*OldHandler)(int) = nullptr;
};
