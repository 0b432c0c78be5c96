#include "kept_traits.h"

#include <QList>

#include <algorithm>
#include <cerrno>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

struct TAttribute {
    QByteArray Name;
    QByteArray Value;
};

// Reads a list or a value whose size can change between the two calls.
template <typename TCall> bool ReadGrowing(QByteArray& out, TCall call) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0) return false;
        out.resize(size);
        if (size == 0) return true;
        const ssize_t got = call(out.data(), std::size_t(size));
        if (got >= 0) {
            out.resize(got);
            return true;
        }
        if (errno != ERANGE) return false;
    }
    return false;
}

// Every attribute of the file; false when one of them cannot be read.
bool ReadAttributes(const QByteArray& native, QList<TAttribute>& out) {
    QByteArray names;
    const bool listed = ReadGrowing(names, [&](char* buffer, std::size_t size) {
        return ::listxattr(native.constData(), buffer, size);
    });
    if (!listed) return errno == ENOTSUP; // no attributes on this file system
    for (const QByteArray& name : names.split('\0')) {
        // An interrupted save's mark on the old file is not the new file's.
        if (name.isEmpty() || name.startsWith("user.lumoraskin.save")) continue;
        TAttribute attribute{name, {}};
        const bool read = ReadGrowing(attribute.Value, [&](char* buffer, std::size_t size) {
            return ::getxattr(native.constData(), name.constData(), buffer, size);
        });
        if (!read) {
            if (errno == ENODATA) continue; // removed meanwhile
            return false;
        }
        out.append(attribute);
    }
    return true;
}

QList<QByteArray> NamesOf(int fd, bool& ok) {
    QByteArray names;
    ok = ReadGrowing(
        names, [&](char* buffer, std::size_t size) { return ::flistxattr(fd, buffer, size); });
    if (!ok && errno == ENOTSUP) ok = true;
    QList<QByteArray> out;
    for (const QByteArray& name : names.split('\0'))
        if (!name.isEmpty()) out.append(name);
    return out;
}

bool HasAttribute(int fd, const TAttribute& attribute) {
    QByteArray value;
    return ReadGrowing(value,
                       [&](char* buffer, std::size_t size) {
                           return ::fgetxattr(fd, attribute.Name.constData(), buffer, size);
                       }) &&
           value == attribute.Value;
}

} // namespace

bool FolderLetsRenameReplace(const QByteArray& folderNative, const struct stat& file) {
    struct stat folder {};
    if (::stat(folderNative.constData(), &folder) != 0) return false;
    const uid_t me = ::geteuid();
    return !(folder.st_mode & S_ISVTX) || me == 0 || file.st_uid == me || folder.st_uid == me;
}

bool GiveOldTraits(int fd, const QByteArray& oldNative, const struct stat& old) {
    QList<TAttribute> attributes;
    if (!ReadAttributes(oldNative, attributes)) return false;
    struct stat now {};
    if (::fstat(fd, &now) != 0) return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    // The mode first: the access ACL then sets the group bits to its mask,
    // which is what the old file's mode holds, so no permission widens.
    if (::fchmod(fd, old.st_mode & 07777) != 0) return false;
    // Nothing more than the old file had, e.g. an ACL inherited from the folder.
    bool listed = false;
    for (const QByteArray& name : NamesOf(fd, listed)) {
        const bool kept = std::any_of(attributes.cbegin(), attributes.cend(),
                                      [&](const TAttribute& a) { return a.Name == name; });
        if (!kept && ::fremovexattr(fd, name.constData()) != 0) return false;
    }
    if (!listed) return false;
    for (const TAttribute& attribute : attributes) {
        if (HasAttribute(fd, attribute)) continue; // e.g. a label the folder gave already
        if (::fsetxattr(fd, attribute.Name.constData(), attribute.Value.constData(),
                        std::size_t(attribute.Value.size()), 0) != 0)
            return false;
    }
    // What the new file holds now, not what was asked for.
    if (::fstat(fd, &now) != 0 || now.st_uid != old.st_uid || now.st_gid != old.st_gid ||
        (now.st_mode & 07777) != (old.st_mode & 07777))
        return false;
    for (const TAttribute& attribute : attributes)
        if (!HasAttribute(fd, attribute)) return false;
    const QList<QByteArray> names = NamesOf(fd, listed);
    return listed && names.size() == attributes.size();
}
