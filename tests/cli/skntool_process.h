// Runs the built skntool as a process, in a temporary folder of its own.
#pragma once

#include "skin_document.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

struct TToolRun {
    int Status = -1;
    QByteArray Out, Err;
};

class SkntoolTest : public ::testing::Test {
  protected:
    // Arguments are passed as given; relative paths are relative to the folder.
    TToolRun Run(const QStringList& args, const QString& stdoutFile = {},
                 const QString& stdinFile = {}) const;

    QString Path(const QString& name) const { return Dir.filePath(name); }
    QByteArray Bytes(const QString& name) const;
    void Write(const QString& name, const QByteArray& bytes) const;
    void WriteSkin(const QString& name, const TSkinDocument& doc) const;
    bool Exists(const QString& name) const;
    TSkinDocument ReadSkin(const QString& name) const;

    QTemporaryDir Dir;
};
