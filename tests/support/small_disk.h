// A tmpfs of a few kilobytes mounted for one scope, to fill up for real.
// Mounting needs root (or CAP_SYS_ADMIN); Mounted() says whether it worked.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <sys/mount.h>

class TSmallDisk {
  public:
    TSmallDisk(const QString& mountPoint, qint64 bytes) : Point(QFile::encodeName(mountPoint)) {
        QDir().mkpath(mountPoint);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        Ok = ::mount("tmpfs", Point.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~TSmallDisk() {
        if (Ok) ::umount2(Point.constData(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;
    bool Mounted() const { return Ok; }

  private:
    QByteArray Point;
    bool Ok = false;
};
