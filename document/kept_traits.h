// What makes a new file the same file to its users as the one it replaces:
// owner, group, mode, extended attributes (POSIX ACLs among them), and a
// folder that lets the rename happen. A save replaces a file only when all of
// these carry over; otherwise it writes the old file in place.
#pragma once

#include <QByteArray>

#include <sys/stat.h>

// Whether a rename in the file's folder may replace it: a sticky folder
// (such as /tmp) refuses it for another user's file in another user's folder.
bool FolderLetsRenameReplace(const QByteArray& folderNative, const struct stat& file);

// Gives the new file (open as fd) the old file's owner, group, mode and every
// extended attribute, then reads them back. False when any of them did not
// take or the old file's attributes cannot all be read: then the new file
// would not be the same to its users and must not replace the old one.
bool GiveOldTraits(int fd, const QByteArray& oldNative, const struct stat& old);
