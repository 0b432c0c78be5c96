// The hidden folder unpack writes into before its files move into place,
// ".skntool-XXXXXX" inside the target folder: made new for this run (never
// through an entry already at the name), locked while in use, and gone when
// the run ends. SIGINT, SIGTERM and SIGHUP remove it before the program dies;
// while files move into place a signal waits for the move to end, so that the
// folder is never left half old, half new. One that a run killed outright left
// behind is removed by the next run in that folder, when it is the user's own
// real folder of that name that no running unpack holds.
#pragma once

#include <QString>

class TStagingFolder {
  public:
    // created: dir was made by this run, and goes too when a signal ends it
    // (it holds nothing else then). Throws TCliError naming dir.
    TStagingFolder(const QString& dir, bool created);
    ~TStagingFolder();
    TStagingFolder(const TStagingFolder&) = delete;
    TStagingFolder& operator=(const TStagingFolder&) = delete;

    QString FilePath(const QString& name) const { return Path + u'/' + name; }
    const QString& FolderPath() const { return Path; }
    // From here on a signal waits for RaiseHeldSignal.
    void HoldSignals();

  private:
    QString Path;
    int LockFd = -1;
};

// Ends the program by the signal that came while signals were held, now that
// the staging folder is gone; else does nothing.
void RaiseHeldSignal();
