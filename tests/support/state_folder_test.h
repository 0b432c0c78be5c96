// A test of files the program keeps in the user's state folder: that folder
// ($XDG_STATE_HOME) is "state" in a temporary folder of the test's own, and
// the environment is put back as it was afterwards.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

class TStateFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        HadState = qEnvironmentVariableIsSet("XDG_STATE_HOME");
        SavedState = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(Path("state")));
    }
    void TearDown() override {
        if (HadState)
            qputenv("XDG_STATE_HOME", SavedState);
        else
            qunsetenv("XDG_STATE_HOME");
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    static QByteArray Native(const QString& path) { return QFile::encodeName(path); }

    QTemporaryDir Dir;

  private:
    QByteArray SavedState;
    bool HadState = false;
};
