#include "desktop_prompts.h"

#include "about_box.h"
#include "image_viewer.h"
#include "name_dialog.h"
#include "new_skin.h"
#include "new_skin_dialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QCompleter>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>

namespace {
QFileDialog* MakeFileDialog(TFileDialog kind, QWidget* parent) {
    const bool skin = kind == TFileDialog::OpenSkin || kind == TFileDialog::SaveSkin;
    const bool open = kind == TFileDialog::OpenSkin || kind == TFileDialog::OpenPicture;
    auto* dialog = new QFileDialog(parent);
    dialog->setWindowTitle(open ? QStringLiteral("Open") : QStringLiteral("Save As"));
    dialog->setNameFilters(skin ? QStringList{QStringLiteral("Lumora skin files (*.skn)")}
                                : QStringList{QStringLiteral("Bitmap pictures (*.bmp)"),
                                              QStringLiteral("Pictures (*.bmp *.png *.jpg *.jpeg "
                                                             "*.gif *.webp *.tif *.tiff)"),
                                              QStringLiteral("All files (*)")});
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
    // Before its first showing a dialog does not have its laid-out size yet.
    dialog->adjustSize();
    if (const QScreen* screen = dialog->screen())
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
}

// Room that a window manager's title bar takes beside the caption: the
// window icon and the three frame buttons.
constexpr int CaptionChrome = 120;

// Title bars draw the caption in a bold face; a box only as wide as a short
// message ("File not found.") would show the program title cut short.
void WidenForCaption(QMessageBox& box) {
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + CaptionChrome;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0), grid->rowCount(), 0, 1, grid->columnCount());
}

int ExecMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                   QMessageBox::StandardButtons buttons, QWidget* parent) {
    QMessageBox box(icon, caption, text, buttons, parent);
    WidenForCaption(box);
    return box.exec();
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

QString TDesktopPrompts::FileDialogFolder(TFileDialog kind) const {
    const QFileDialog* dialog = FileDialogs[int(kind)];
    return dialog ? dialog->directory().absolutePath() : QString();
}

void TDesktopPrompts::SetFileDialogFolder(TFileDialog kind, const QString& folder) {
    if (QFileDialog* dialog = FileDialogs[int(kind)]) dialog->setDirectory(folder);
}

std::optional<QString> TDesktopPrompts::AskFileName(TFileDialog kind) {
    QFileDialog* dialog = FileDialogs[int(kind)];
    if (!dialog) return std::nullopt;
    const int result = dialog->exec();
    // Return on a name that the completer lists closes the dialog but not the
    // completer's list, which would float over the window and eat a click.
    for (QCompleter* completer : dialog->findChildren<QCompleter*>())
        completer->popup()->hide();
    if (result != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
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
    return ExecMessageBox(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                          MainWindow) == QMessageBox::Yes;
}

TSaveAnswer TDesktopPrompts::AskSaveChanges(const QString& name) {
    QMessageBox box(QMessageBox::Question, ProgramTitle,
                    QStringLiteral("Save the changes to \"%1\" first?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, MainWindow);
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Don't save"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    WidenForCaption(box);
    switch (box.exec()) {
    case QMessageBox::Save:
        return TSaveAnswer::Save;
    case QMessageBox::Discard:
        return TSaveAnswer::DontSave;
    default:
        return TSaveAnswer::Cancel;
    }
}

void TDesktopPrompts::ShowError(const QString& text) {
    ExecMessageBox(QMessageBox::Critical, ProgramTitle, text, QMessageBox::Ok, MainWindow);
}

void TDesktopPrompts::ShowMessage(const QString& text) {
    ExecMessageBox(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok, MainWindow);
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
