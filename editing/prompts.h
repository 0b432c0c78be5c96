// The one door through which every command asks the user anything. The
// desktop answers with Qt dialogs; tests answer from a script and keep a
// record of what was asked.
#pragma once

#include "picture.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// The four file dialogs of the main window; each proposes the file last chosen in it.
enum class TFileDialog {
    OpenSkin,    // "Lumora skin files (*.skn)", default suffix skn
    SaveSkin,    // same filter; no question before replacing a file
    OpenPicture, // "Bitmap pictures (*.bmp)", then "Pictures (...)" of every format
    SavePicture, // read and "All files (*)"; default suffix bmp
};

// The answers to the question before unsaved changes would be dropped.
enum class TSaveAnswer { Save, DontSave, Cancel };

class TPrompts {
  public:
    virtual ~TPrompts() = default;

    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> AskFileName(TFileDialog dialog) = 0;

    // The "New skin" dialog, as the user left it last time; the client size
    // on OK, nothing on Cancel.
    virtual std::optional<QSize> AskNewSkinSize() = 0;

    // A one-line name (at most 255 characters, text selected, OK default);
    // nothing when cancelled. An empty name is an answer.
    virtual std::optional<QString> AskName(const QString& caption, const QString& prompt,
                                           const QString& text) = 0;

    // The colour dialog opened on the given colour; nothing on Cancel.
    virtual std::optional<TColor> AskColor(TColor initial) = 0;

    // A Yes/No question with a question icon; true for Yes.
    virtual bool AskYesNo(const QString& caption, const QString& text) = 0;

    // "Save the changes to "NAME" first?": program title as caption, a
    // question icon, Save (the default button), Don't save and Cancel
    // (Escape).
    virtual TSaveAnswer AskSaveChanges(const QString& name) = 0;

    // An error message box: error icon, the program title as caption.
    virtual void ShowError(const QString& text) = 0;

    // A plain message box (no icon), the program title as caption. The
    // default, for prompts that do not tell the two apart, is the error box.
    virtual void ShowMessage(const QString& text) { ShowError(text); }

    virtual void Beep() = 0;

    // The image viewer, modal, showing the picture opaque at 1:1.
    virtual void ViewPicture(const QImage& picture) = 0;

    // The about box, modal.
    virtual void ShowAbout() = 0;
};
