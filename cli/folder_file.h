// A file a folder's description names, found without leaving the folder: the
// name is a relative path that must stay inside it once every symbolic link
// on the way is followed, and must end at a regular file. Only what lies
// inside the folder is ever looked at, so a refusal tells nothing of the
// files outside; a refused name is never opened, so a FIFO cannot hang.
#pragma once

#include <QString>

#include <sys/types.h>

class TFolderFile {
  public:
    // Looks name up in dir and, when it may be read, opens it. wanted says
    // what a refusal of a file that is not regular expects instead.
    TFolderFile(const QString& dir, const QString& name, const char* wanted = "a bitmap file");
    ~TFolderFile();
    TFolderFile(const TFolderFile&) = delete;
    TFolderFile& operator=(const TFolderFile&) = delete;

    // Why the name is refused, to follow the quoted key, e.g. " leads out of
    // the folder."; empty when it is not.
    const QString& Refusal() const { return RefusalText; }
    // The system's error when a name inside the folder cannot be opened
    // (a file missing, a permission), else 0.
    int OpenError() const { return Error; }
    // Open for reading when neither of the above; the file's identity.
    int Descriptor() const { return Fd; }
    dev_t Device() const { return Dev; }
    ino_t Inode() const { return Ino; }

  private:
    QString RefusalText;
    int Error = 0;
    int Fd = -1;
    dev_t Dev = 0;
    ino_t Ino = 0;
};
