// A main window driven headless with scripted answers, and the files it opens.
#pragma once

#include "item_inspector.h"
#include "main_window.h"
#include "preview_pane.h"
#include "player_panel.h"
#include "playlist_panel.h"
#include "preview_area.h"
#include "scripted_prompts.h"
#include "skin_file.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

class EditorTest : public ::testing::Test {
  protected:
    TScriptedPrompts Prompts;
    TForm1 Form{Prompts};
    QTemporaryDir Dir;

    QString PathOf(const QString& name) const { return Dir.filePath(name); }

    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return PathOf(name);
    }

    QByteArray ReadBytes(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Opens the file through the command, as a user answering the dialog would.
    void Open(const QString& path) {
        Prompts.FileNames.push_back(path);
        Form.OpenSkin();
    }

    // The window shown and active, for tests that send it pointer and key events.
    bool ShowActive() {
        Form.show();
        QApplication::setActiveWindow(&Form);
        return QTest::qWaitForWindowActive(&Form);
    }

    QWidget* Area() { return Form.imArea; }
    TItemInspector& I() { return *Form.PlayerPanel->Inspector; }
    int Row() { return Form.PlayerPanel->SelectedRow(); }

    static QImage Solid(int w, int h, QRgb color) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(color);
        return img;
    }

    const QImage& Preview() const { return Form.imArea->Raster(); }
    QRgb Grey() const { return Form.imArea->palette().color(QPalette::Dark).rgb(); }
    TPreviewView View() const {
        return {Form.ComboBox1->currentIndex(), Form.imArea->size(), Grey()};
    }
};
