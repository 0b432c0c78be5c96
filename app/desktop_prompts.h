// The prompts of the real desktop: Qt's file, colour and message dialogs and
// the editor's own "New skin", name and about windows.
#pragma once

#include "prompts.h"

#include <QPointer>

#include <array>

class QFileDialog;
class QWidget;
class TForm2;
class TForm3;
class TForm4;
class TNameDialog;

class TDesktopPrompts : public TPrompts {
  public:
    // Creates the secondary windows, hidden, owned by the main window. Until
    // then (and after the main window is gone) questions find no window.
    void CreateWindows(QWidget* mainWindow);

    // The folder a file dialog shows next (empty before CreateWindows).
    QString FileDialogFolder(TFileDialog dialog) const;
    void SetFileDialogFolder(TFileDialog dialog, const QString& folder);

    std::optional<QString> AskFileName(TFileDialog dialog) override;
    std::optional<QSize> AskNewSkinSize() override;
    std::optional<QString> AskName(const QString& caption, const QString& prompt,
                                   const QString& text) override;
    std::optional<TColor> AskColor(TColor initial) override;
    bool AskYesNo(const QString& caption, const QString& text) override;
    TSaveAnswer AskSaveChanges(const QString& name) override;
    void ShowError(const QString& text) override;
    void ShowMessage(const QString& text) override;
    void Beep() override;
    void ViewPicture(const QImage& picture) override;
    void ShowAbout() override;

  private:
    QPointer<QWidget> MainWindow;
    QPointer<TForm2> ImageViewer;
    QPointer<TForm3> NewSkinDialog;
    QPointer<TForm4> AboutBox;
    QPointer<TNameDialog> NameDialog;
    // One per dialog, so that each proposes the file last chosen in it.
    std::array<QPointer<QFileDialog>, 4> FileDialogs;
};
