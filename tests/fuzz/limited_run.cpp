// Runs a program with a time limit and reports its peak memory, for the
// hostile corpus test. Usage: limited_run SECONDS OUT ERR PROGRAM [ARGS...]
// with the program's standard output and error going to the files OUT, ERR.
// Prints "<exit status or -signal> <peak resident kB> <CPU seconds> <seconds>";
// a program killed at the time limit shows as -9. CPU time is the figure to
// judge on a loaded machine; the wall-clock limit only ends a hang.
//
// The peak comes from wait4(): it is the child's own, plus whatever this
// small launcher held when it forked, which is why the test does not fork
// skntool itself. No RLIMIT_AS: AddressSanitizer reserves terabytes of
// address space, so the memory bound is checked on the peak instead.
#include "tool_arguments.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv) {
    if (const int status = CheckToolArguments(
            argc, argv, "limited_run SECONDS OUT ERR PROGRAM [ARGS...]", 4, true);
        status >= 0)
        return status;
    const double limit = std::atof(argv[1]);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        const int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(argv[3], O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
        execv(argv[4], argv + 4);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) break;
        if (done < 0 && errno != EINTR) return 2;
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        if (spent.count() > limit) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    const int outcome = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%d %ld %.3f %.3f\n", outcome, usage.ru_maxrss, cpu, spent.count());
    return 0;
}
