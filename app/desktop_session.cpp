#include "desktop_session.h"

#include "desktop_prompts.h"
#include "editor_settings.h"
#include "main_window.h"
#include "new_skin.h"
#include "player_panel.h"
#include "preview_pane.h"
#include "skin_file.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QToolButton>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString GeometryKey = QStringLiteral("window/geometry");
const QString ZoomKey = QStringLiteral("view/zoom");
const QString ModeKey = QStringLiteral("view/mode");
const QString ProblemsKey = QStringLiteral("view/problems");
const QString RecentKey = QStringLiteral("recent/skins");
// Whether the file is a regular file holding exactly these bytes; never
// waits on a FIFO or reads more than the bytes' length.
bool FileHolds(const QString& path, const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    QByteArray held;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == bytes.size()) {
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly)) held = file.read(bytes.size() + 1);
    }
    ::close(fd);
    return held == bytes;
}

QString WriteFailureText(const QString& reason) {
    return QStringLiteral("The recovery copy could not be written: %1.").arg(reason);
}

const char* const DialogKeys[] = {"dialogs/openSkin", "dialogs/saveSkin", "dialogs/openPicture",
                                  "dialogs/savePicture"};
constexpr TFileDialog DialogKinds[] = {TFileDialog::OpenSkin, TFileDialog::SaveSkin,
                                       TFileDialog::OpenPicture, TFileDialog::SavePicture};

QAction* ProblemsAction(TForm1& form) {
    return form.findChild<QAction*>(QStringLiteral("Problems1"));
}
} // namespace

TDesktopSession::TDesktopSession(TForm1& form, TDesktopPrompts* dialogs)
    : Form(form), Dialogs(dialogs), Watch(this) {
    Writer.setMaxThreadCount(1);
    CopyTimer.setSingleShot(true);
    CopyTimer.setInterval(CopyDelayMs);
    connect(&CopyTimer, &QTimer::timeout, this, &TDesktopSession::WriteCopySoon);
    RestoreSettings();
    if (Dialogs)
        for (int i = 0; i < 4; ++i)
            StartFolders[i] = Dialogs->FileDialogFolder(DialogKinds[i]);
    // Every change of the list from now on is made to the stored one.
    Form.RecentSkins.SetStore(
        [](const TRecentSkins::TEdit& edit) { return EditStoredList(RecentKey, edit); });
    Form.installEventFilter(this);
}

TDesktopSession::~TDesktopSession() {
    Form.removeEventFilter(this);
    Writer.waitForDone();
}

void TDesktopSession::SetCopyWaits(int delayMs, int longestWaitMs) {
    CopyTimer.setInterval(delayMs);
    LongestWaitMs = longestWaitMs;
}

void TDesktopSession::RestoreSettings() {
    const std::unique_ptr<QSettings> settings = OpenEditorSettings();
    if (!settings) return;
    Restored = Form.restoreGeometry(settings->value(GeometryKey).toByteArray());
    bool ok = false;
    const int zoom = settings->value(ZoomKey).toInt(&ok);
    if (ok && zoom > 0 && zoom < Form.ComboBox1->count()) {
        Form.ComboBox1->setCurrentIndex(zoom);
        Form.ComboBox1Change();
    }
    if (settings->value(ModeKey).toInt(&ok) == PlaylistPage && ok) Form.ToolButton6->click();
    if (Dialogs)
        for (int i = 0; i < 4; ++i) {
            const QString folder = settings->value(QLatin1String(DialogKeys[i])).toString();
            if (!folder.isEmpty() && QFileInfo(folder).isDir())
                Dialogs->SetFileDialogFolder(DialogKinds[i], folder);
        }
    QAction* problems = ProblemsAction(Form);
    const QVariant shown = settings->value(ProblemsKey);
    if (problems && shown.isValid()) problems->setChecked(shown.toBool());
    Form.RecentSkins.SetPaths(settings->value(RecentKey).toStringList());
}

void TDesktopSession::SaveSettings() {
    const std::unique_ptr<QSettings> settings = OpenEditorSettings();
    if (!settings) return;
    settings->setValue(GeometryKey, Form.saveGeometry());
    settings->setValue(ZoomKey, Form.ComboBox1->currentIndex());
    settings->setValue(ModeKey, Form.Skin.View().PlayerMode ? PlayerPage : PlaylistPage);
    // A dialog never used this run shows the folder the editor started in,
    // which says nothing of the user's choice.
    if (Dialogs)
        for (int i = 0; i < 4; ++i) {
            const QString folder = Dialogs->FileDialogFolder(DialogKinds[i]);
            if (folder != StartFolders[i]) settings->setValue(QLatin1String(DialogKeys[i]), folder);
        }
    if (QAction* problems = ProblemsAction(Form))
        settings->setValue(ProblemsKey, problems->isChecked());
    // The recent list is not among them: it was stored as it changed, and
    // this editor's may be older than what another stored since.
}

void TDesktopSession::Start() {
    if (Started) return;
    Started = true;
    OfferLeftCopies();
    QUndoStack& history = Form.Context.Edits.History();
    // Every change the door announces (a drag's moves too), and every move
    // through the history (an undo back to the saved state among them).
    connect(&Form.Context.Edits, &TSkinEdits::Changed, this, &TDesktopSession::Edited);
    connect(&history, &QUndoStack::indexChanged, this, &TDesktopSession::Edited);
    connect(&Form.Context.Edits, &TSkinEdits::SavedChanged, this, [this](bool saved) {
        if (saved) DropCopy();
    });
    connect(&Form, &TForm1::Settled, this, &TDesktopSession::FileSettled);
    connect(&Watch, &TSkinFileWatch::Rewritten, this, &TDesktopSession::ReloadFromDisk);
    // A logout may end the process without closing the window.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &TDesktopSession::FinishCopy);
    if (!Form.Doc.Untitled) Watch.Watch(Form.Doc.FileName);
    // A restored skin that differs from its file: its copy is this editor's
    // now, and the one it came from goes once that is written. One that
    // matches its file needs no copy at all.
    if (LeftToDiscard && (!Form.Context.Edits.Unsaved() || WriteCopyNow()))
        TRecoveryCopy::Discard(*LeftToDiscard);
    LeftToDiscard.reset();
}

void TDesktopSession::OfferLeftCopies() {
    for (const TLeftCopy& left : Copy.TakeLeftCopies()) {
        TSkinReadResult read;
        if (left.NoteRead) read = TRecoveryCopy::Read(left);
        if (!read.Document) {
            const QString aside = TRecoveryCopy::SetAside(left);
            Form.Context.Prompts.ShowError(
                QStringLiteral("A recovery copy of unsaved changes is damaged and cannot be "
                               "restored. It was set aside as \"%1\".")
                    .arg(aside));
            continue;
        }
        // In full: the file a Save of the restored skin writes to.
        const QString question =
            QStringLiteral("Restore the unsaved changes to \"%1\" from %2?")
                .arg(left.Untitled ? QFileInfo(left.FileName).fileName() : left.FileName,
                     left.Written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")));
        if (!Form.Context.Prompts.AskYesNo(ProgramTitle, question)) {
            TRecoveryCopy::Discard(left);
            continue;
        }
        TSkinDocument doc = std::move(*read.Document);
        doc.FileName = left.FileName;
        doc.Untitled = left.Untitled;
        Form.ShowOpenedSkin(std::move(doc));
        // The copy may hold what the file holds (a save that ended just
        // before the crash, the same skin written by another program).
        if (!Form.Doc.Untitled && FileHolds(Form.Doc.FileName, EncodeSkin(Form.Doc)))
            Form.Context.Edits.MarkSaved();
        else
            Form.Context.Edits.MarkUnsaved();
        // Kept until this editor's own copy holds it (Start writes that).
        LeftToDiscard = left;
        return; // one skin at a time; the others wait for the next start
    }
}

void TDesktopSession::Edited() {
    ++Edit;
    // Again from now, so that typing and dragging never wait for a write; a
    // run of edits that never pauses still gets its copy now and then.
    if (!CopyTimer.isActive())
        FirstUnwritten.start();
    else if (FirstUnwritten.elapsed() >= LongestWaitMs)
        return;
    CopyTimer.start();
}

void TDesktopSession::WriteCopySoon() {
    // The copy's name and lock come with the first edit that needs them: an
    // editor that never has unsaved changes leaves nothing in the folder.
    if (!Form.Context.Edits.Unsaved()) return;
    if (!Copy.Begin()) {
        Tell(Copy.Refusal());
        return;
    }
    // A write under way: its end sees the newer edit and starts again.
    if (Writing) return;
    // The pictures are shared, not copied: the snapshot costs the records.
    TSkinDocument snapshot = Form.Doc;
    Writing = true;
    StartedEdit = Edit;
    const quint64 generation = Generation, edit = Edit;
    Writer.start(
        [this, snapshot = std::move(snapshot), generation, edit, before = BeforeBackgroundWrite] {
            if (before) before();
            const QString failure = Copy.Write(snapshot);
            QMetaObject::invokeMethod(
                this, [this, generation, edit, failure] { CopyWritten(generation, edit, failure); },
                Qt::QueuedConnection);
        });
}

bool TDesktopSession::WriteCopyNow() {
    if (!Copy.Begin()) {
        Tell(Copy.Refusal());
        return false;
    }
    const QString failure = Copy.Write(Form.Doc);
    if (!failure.isEmpty()) Tell(WriteFailureText(failure));
    return failure.isEmpty();
}

void TDesktopSession::Tell(const QString& text) {
    // Once a run each: the same news at every edit would bury the window.
    if (text.isEmpty() || Told.contains(text)) return;
    Told.insert(text);
    Form.Context.Prompts.ShowError(text);
}

void TDesktopSession::CopyWritten(quint64 generation, quint64 edit, const QString& failure) {
    if (generation != Generation) return;
    if (!failure.isEmpty()) Tell(WriteFailureText(failure));
    Writing = false;
    if (edit != Edit) WriteCopySoon();
}

void TDesktopSession::FinishCopy() {
    CopyTimer.stop();
    Writer.waitForDone();
    Writing = false;
    ++Generation;
    // Said nothing of a failure: the editor is ending, and a question now
    // would hold a logout.
    if (!Form.Context.Edits.Unsaved() || StartedEdit == Edit || !Copy.Begin()) return;
    StartedEdit = Edit;
    Copy.Write(Form.Doc);
}

void TDesktopSession::DropCopy() {
    CopyTimer.stop();
    // A write under way would bring the copy back after its removal.
    Writer.waitForDone();
    Writing = false;
    ++Generation;
    StartedEdit = Edit;
    Copy.Remove();
}

void TDesktopSession::FileSettled() {
    DropCopy();
    Watch.Watch(Form.Doc.Untitled ? QString() : Form.Doc.FileName);
}

void TDesktopSession::ReloadFromDisk() {
    if (Asking) return; // the question on screen is about this file already
    // Known before reading: a change while reading is news again.
    Watch.Know();
    TSkinReadResult read = ReadSkinFile(Watch.Path());
    // Half written, or not a skin: the next change may complete it.
    if (!read.Document) return;
    // Rewritten to what the editor shows: nothing is lost by taking it.
    if (Form.Context.Edits.Unsaved() && EncodeSkin(*read.Document) != EncodeSkin(Form.Doc)) {
        Asking = true;
        const bool reload = Form.Context.Prompts.AskYesNo(
            ProgramTitle,
            QStringLiteral("\"%1\" was changed by another program. Reload it and lose the "
                           "unsaved changes?")
                .arg(QFileInfo(Watch.Path()).fileName()));
        Asking = false;
        if (!reload) return;
    }
    Form.ShowOpenedSkin(std::move(*read.Document), Form.PlayerPanel->SelectedRow(),
                        Form.Preview().PreviewView().Offset);
    Form.Context.Edits.MarkSaved();
    DropCopy();
}

bool TDesktopSession::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &Form && event->type() == QEvent::Close) {
        SaveSettings();
        FinishCopy();
    }
    return QObject::eventFilter(watched, event);
}
