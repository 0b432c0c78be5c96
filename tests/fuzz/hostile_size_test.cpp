// Every hostile case opens (or is refused with its message) and repaints at
// every zoom in a process whose peak memory stays within the budget: for a
// skin a fixed one, for a picture what opening any picture may cost beside
// the decoded copies it holds.
#include "hostile_cases.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr long BudgetKb = 256 * 1024;
constexpr long PictureBudgetKb = 128 * 1024;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool UnderAddressSanitizer = true;
#else
constexpr bool UnderAddressSanitizer = false;
#endif
#else
constexpr bool UnderAddressSanitizer = false;
#endif

struct TProbeRun {
    std::string Output;
    long PeakKb = 0;
    int Status = -1;
};

// The probe's environment: this one, with AddressSanitizer's quarantine off
// so that freed blocks are not counted as held.
std::vector<std::string> ProbeEnvironment() {
    std::vector<std::string> env;
    std::string asan = "ASAN_OPTIONS=";
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("ASAN_OPTIONS=", 0) == 0)
            asan = entry + ":";
        else
            env.push_back(entry);
    }
    env.push_back(asan + "quarantine_size_mb=0");
    return env;
}

TProbeRun RunProbe(const char* name, const QString& path) {
    TProbeRun run;
    int out[2];
    if (pipe(out) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    const QByteArray file = QFile::encodeName(path);
    std::string probe = HOSTILE_PROBE, caseName = name, filePath = file.toStdString();
    char* argv[] = {probe.data(), caseName.data(), filePath.data(), nullptr};
    std::vector<std::string> env = ProbeEnvironment();
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, probe.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        run.Output.append(buffer, n);
    close(out[0]);
    if (spawned != 0) return run;
    waitpid(pid, &run.Status, 0);
    // The outcome, then the probe's peak in kB.
    const QList<QByteArray> lines = QByteArray::fromStdString(run.Output).trimmed().split('\n');
    run.Output = lines.value(0).toStdString();
    run.PeakKb = lines.value(1).toLong();
    return run;
}

TProbeRun RunCase(const THostileCase& hostile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(hostile.Name));
    QFile f(path);
    const QByteArray bytes = hostile.Make();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
    f.close();
    return RunProbe(hostile.Name, path);
}

// Under AddressSanitizer a process carries the sanitizer's runtime and
// shadow: the bound is then on what the case adds to a small skin's run,
// with an eighth more for the shadow of every byte the case holds.
long LimitKb(const THostileCase& hostile) {
    const long budgetKb =
        hostile.IsBitmap ? PictureBudgetKb + long(hostile.HeldMb) * 1024 : BudgetKb;
    if (!UnderAddressSanitizer) return budgetKb;
    static const long baselineKb = RunCase(*FindHostileCase("baseline")).PeakKb;
    return baselineKb + budgetKb * 9 / 8;
}

class HostileSize : public ::testing::TestWithParam<THostileCase> {};

} // namespace

void PrintTo(const THostileCase& hostile, std::ostream* os) {
    *os << hostile.Name;
}

TEST_P(HostileSize, OpensOrIsRefusedAndRepaintsInBoundedMemory) {
    const THostileCase& hostile = GetParam();
    const TProbeRun run = RunCase(hostile);
    ASSERT_TRUE(WIFEXITED(run.Status) && WEXITSTATUS(run.Status) == 0)
        << "the probe did not finish: status " << run.Status << ", said: " << run.Output;
    EXPECT_EQ(run.Output, hostile.Expected);
    ASSERT_GT(run.PeakKb, 0) << "the probe did not report its peak";
    const long limitKb = LimitKb(hostile);
    EXPECT_LT(run.PeakKb, limitKb) << "peak " << run.PeakKb / 1024 << " MB";
    std::printf("[ measured ] %s: peak %ld MB of %ld MB allowed\n", hostile.Name, run.PeakKb / 1024,
                limitKb / 1024);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileSize, ::testing::ValuesIn(HostileCases()),
                         [](const ::testing::TestParamInfo<THostileCase>& info) {
                             return std::string(info.param.Name);
                         });
