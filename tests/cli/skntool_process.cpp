#include "skntool_process.h"

#include "skin_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

TToolRun SkntoolTest::Run(const QStringList& args, const QString& stdoutFile,
                          const QString& stdinFile) const {
    QProcess process;
    process.setProgram(QStringLiteral(SKNTOOL_PATH));
    process.setArguments(args);
    process.setWorkingDirectory(Dir.path());
    if (!stdoutFile.isEmpty()) process.setStandardOutputFile(stdoutFile);
    if (!stdinFile.isEmpty()) process.setStandardInputFile(stdinFile);
    process.start();
    TToolRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "skntool did not finish: " << process.errorString().toStdString();
        return run;
    }
    run.Status = process.exitCode();
    run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
}

QByteArray SkntoolTest::Bytes(const QString& name) const {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

void SkntoolTest::Write(const QString& name, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(Path(name)).path());
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void SkntoolTest::WriteSkin(const QString& name, const TSkinDocument& doc) const {
    Write(name, EncodeSkin(doc));
}

bool SkntoolTest::Exists(const QString& name) const {
    return QFileInfo::exists(Path(name));
}

TSkinDocument SkntoolTest::ReadSkin(const QString& name) const {
    TSkinReadResult read = DecodeSkin(Bytes(name));
    EXPECT_TRUE(read.Document.has_value()) << read.Error.toStdString();
    return read.Document.value_or(TSkinDocument{});
}
