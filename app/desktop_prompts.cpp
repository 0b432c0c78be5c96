#include "desktop_prompts.h"

#include "about_box.h"
#include "image_viewer.h"
#include "name_dialog.h"
#include "new_skin.h"
#include "new_skin_dialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>

namespace {
QFileDialog* MakeFileDialog(TFileDialog kind, QWidget* parent) {
    const bool skin = kind == TFileDialog::OpenSkin || kind == TFileDialog::SaveSkin;
    const bool open = kind == TFileDialog::OpenSkin || kind == TFileDialog::OpenPicture;
    auto* dialog = new QFileDialog(parent);
    dialog->setWindowTitle(open ? QStringLiteral("Open") : QStringLiteral("Save As"));
    dialog->setNameFilter(skin ? QStringLiteral("Lumora skin files (*.skn)")
                               : QStringLiteral("Bitmap pictures (*.bmp)"));
    dialog->setDefaultSuffix(skin ? QStringLiteral("skn") : QStringLiteral("bmp"));
    dialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // A missing file fails when it is read, with the reader's own message.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    return dialog;
}

// The new-skin dialog and the about box open centred on the screen, not on
// the main window, wherever the window has been moved.
void CentreOnScreen(QWidget* dialog) {
    if (const QScreen* screen = dialog->screen())
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
}
} // namespace

void TDesktopPrompts::CreateWindows(QWidget* mainWindow) {
    MainWindow = mainWindow;
    ImageViewer = new TForm2(mainWindow);
    NewSkinDialog = new TForm3(mainWindow);
    AboutBox = new TForm4(mainWindow);
    NameDialog = new TNameDialog(mainWindow);
    for (int i = 0; i < int(FileDialogs.size()); ++i)
        FileDialogs[i] = MakeFileDialog(TFileDialog(i), mainWindow);
}

std::optional<QString> TDesktopPrompts::AskFileName(TFileDialog kind) {
    QFileDialog* dialog = FileDialogs[int(kind)];
    if (!dialog || dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog->selectedFiles().first();
    dialog->selectFile(path);
    return path;
}

std::optional<QSize> TDesktopPrompts::AskNewSkinSize() {
    if (!NewSkinDialog) return std::nullopt;
    CentreOnScreen(NewSkinDialog);
    return NewSkinDialog->Execute();
}

std::optional<QString> TDesktopPrompts::AskName(const QString& caption, const QString& prompt,
                                                const QString& text) {
    if (!NameDialog) return std::nullopt;
    return NameDialog->Execute(caption, prompt, text);
}

std::optional<TColor> TDesktopPrompts::AskColor(TColor initial) {
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(ColorToRgb(initial)), MainWindow);
    if (!chosen.isValid()) return std::nullopt;
    return RgbToColor(chosen.rgb());
}

bool TDesktopPrompts::AskYesNo(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    MainWindow);
    return box.exec() == QMessageBox::Yes;
}

void TDesktopPrompts::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, ProgramTitle, text, QMessageBox::Ok, MainWindow);
    box.exec();
}

void TDesktopPrompts::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok, MainWindow);
    box.exec();
}

void TDesktopPrompts::Beep() {
    QApplication::beep();
}

void TDesktopPrompts::ViewPicture(const QImage& picture) {
    if (ImageViewer) ImageViewer->ShowPicture(picture);
}

void TDesktopPrompts::ShowAbout() {
    if (!AboutBox) return;
    CentreOnScreen(AboutBox);
    AboutBox->exec();
}
