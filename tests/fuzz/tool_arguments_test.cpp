// The test tree's programs answer --help and take no option-like word for
// the folder they write into.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TRun {
    int Status = -1;
    QByteArray Out, Err;
};

TRun RunCorpusWriter(const QString& cwd, const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(cwd);
    p.start(QStringLiteral(WRITE_HOSTILE_CORPUS), args);
    TRun run;
    if (!p.waitForFinished(60000)) return run;
    run.Status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.Out = p.readAllStandardOutput();
    run.Err = p.readAllStandardError();
    return run;
}

TEST(ToolArguments, CorpusWriterAnswersHelpAndRefusesAnOptionLikeFolder) {
    QTemporaryDir cwd;
    ASSERT_TRUE(cwd.isValid());

    const TRun help = RunCorpusWriter(cwd.path(), {"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Out.startsWith("usage: write_hostile_corpus")) << help.Out.toStdString();
    EXPECT_TRUE(help.Err.isEmpty());

    const TRun option = RunCorpusWriter(cwd.path(), {"-o"});
    EXPECT_EQ(option.Status, 2);
    EXPECT_TRUE(option.Err.startsWith("usage: write_hostile_corpus")) << option.Err.toStdString();
    EXPECT_TRUE(option.Out.isEmpty());

    EXPECT_TRUE(QDir(cwd.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

} // namespace
