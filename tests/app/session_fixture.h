// An editor with its desktop session, as the program entry attaches it, in
// configuration and state folders of the test's own: the user's are never
// touched. Launch and Quit are a start and an end of the editor; a child
// editor is one in another process.
#pragma once

#include "desktop_session.h"
#include "main_window.h"
#include "scripted_prompts.h"
#include "skin_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

class SessionTest : public ::testing::Test {
  protected:
    QTemporaryDir Home;
    TScriptedPrompts Prompts;
    std::unique_ptr<TForm1> Form;
    std::unique_ptr<TDesktopSession> Session;

    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
            Saved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        }
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Home.filePath("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(Home.filePath("state")));
    }
    void TearDown() override {
        Session.reset();
        Form.reset();
        for (const auto& [name, value, set] : Saved)
            set ? qputenv(name, value) : qunsetenv(name);
    }

    void Launch(TDesktopPrompts* dialogs = nullptr) {
        Form = std::make_unique<TForm1>(Prompts);
        Session = std::make_unique<TDesktopSession>(*Form, dialogs);
        Session->Start();
    }
    // The close box, then the end of the process.
    void Quit() {
        Form->close();
        Session.reset();
        Form.reset();
    }

    QString StateFolder() const { return Home.filePath("state/lumoraskin"); }
    QStringList Copies(const QString& pattern = QStringLiteral("recovery-*.skn")) const {
        return QDir(StateFolder()).entryList({pattern}, QDir::Files);
    }
    QString PathOf(const QString& name) const { return Home.filePath(name); }
    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return PathOf(name);
    }
    static QByteArray ReadBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void AddImage(const QString& name) {
        Prompts.Names.push_back(name);
        Form->ToolButton12Click();
    }

  private:
    struct TSavedVariable {
        const char* Name;
        QByteArray Value;
        bool Set;
    };
    std::vector<TSavedVariable> Saved;
};

// An editor in another process that edits and is then killed.
class TChildEditor {
  public:
    explicit TChildEditor(const QString& skin, const QString& expected) {
        Process.start(QStringLiteral(SESSION_CHILD), {skin, expected});
    }
    ~TChildEditor() { Kill(); }
    bool WaitReady() {
        while (!Process.canReadLine())
            if (!Process.waitForReadyRead(10'000)) return false;
        return Process.readLine().trimmed() == "ready";
    }
    // A polite end, as a logout without a session manager sends it.
    bool Terminate() {
        ::kill(pid_t(Process.processId()), SIGTERM);
        return Process.waitForFinished(10'000) && Process.exitStatus() == QProcess::NormalExit &&
               Process.exitCode() == 0;
    }
    void Kill() {
        if (Process.state() == QProcess::NotRunning) return;
        ::kill(pid_t(Process.processId()), SIGKILL);
        Process.waitForFinished(5'000);
    }

  private:
    QProcess Process;
};
