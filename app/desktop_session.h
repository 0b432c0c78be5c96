// The editor's life on the desktop beyond one run, attached by the program
// entry (never by the window itself, so that a window made in a test keeps
// nothing): it restores the remembered settings, offers a recovery copy left
// by an editor that ended with unsaved changes, keeps this editor's copy up
// to date, watches the open skin file for rewrites by other programs and
// remembers the settings when the window closes (the recent list as it
// changes, shared with the other editors running).
#pragma once

#include "recovery_copy.h"
#include "skin_file_watch.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <optional>

class QSettings;
class TDesktopPrompts;
class TForm1;

class TDesktopSession : public QObject {
    Q_OBJECT

  public:
    // dialogs: the desktop's prompts, whose file dialogs' folders are
    // remembered; may be null.
    TDesktopSession(TForm1& form, TDesktopPrompts* dialogs);
    ~TDesktopSession() override;

    // Whether the window's size and place came from the settings (else the
    // entry centres it as on a first start).
    bool WindowRestored() const { return Restored; }
    // Once the window shows: offers a copy left behind, then keeps one's own.
    void Start();

    // How long after the last edit the copy is written, and the longest a
    // run of edits that never pauses puts it off.
    static constexpr int CopyDelayMs = 1500;
    static constexpr int CopyLongestWaitMs = 10'000;
    QString CopyPath() const { return Copy.SkinPath(); }

    // For tests: shorter waits, and a call on the writing thread before each
    // write in the background (which may hold that write).
    void SetCopyWaits(int delayMs, int longestWaitMs);
    std::function<void()> BeforeBackgroundWrite;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RestoreSettings();
    void SaveSettings();
    void OfferLeftCopies();
    void Edited();
    void WriteCopySoon();
    void CopyWritten(quint64 generation, quint64 edit, const QString& failure);
    // Writes the copy at once; false when it could not be.
    bool WriteCopyNow();
    // Says why the copy is not kept, once a run for each reason.
    void Tell(const QString& text);
    // The copy written before the window closes, when an edit is not yet in it.
    void FinishCopy();
    // No copy needed: the document is what its file holds.
    void DropCopy();
    void FileSettled();
    void ReloadFromDisk();

    TForm1& Form;
    TDesktopPrompts* Dialogs;
    bool Restored = false;
    QString StartFolders[4]; // each file dialog's folder once the settings are in
    bool Started = false;

    TRecoveryCopy Copy;
    // A restored copy, removed once this editor's own copy holds its skin.
    std::optional<TLeftCopy> LeftToDiscard;
    QTimer CopyTimer;
    QElapsedTimer FirstUnwritten;          // since the first edit the timer waits for
    int LongestWaitMs = CopyLongestWaitMs; // shorter in tests
    QThreadPool Writer;                    // one write at a time, never on the window's thread
    bool Writing = false;
    quint64 Edit = 0;        // counts the history's moves
    quint64 StartedEdit = 0; // the edit the last write (running or done) holds
    quint64 Generation = 0;  // a dropped copy's late news is ignored

    TSkinFileWatch Watch;
    bool Asking = false;
    QSet<QString> Told;
};
