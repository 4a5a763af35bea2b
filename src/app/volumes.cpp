// What every platform shares: the captions of the drive lists and the start folder.

#include "app/volumes.h"

#include <QDir>
#include <algorithm>
#include <array>

namespace qb::app {

namespace {

// A drive letter's root ("C:/") in the short lower-case form Windows users know from
// drive lists: "c:".
QString ShortRoot(const QString& root) {
    const bool driveLetter = (root.size() == 2 || (root.size() == 3 && (root[2] == u'/' || root[2] == u'\\'))) &&
                             root[0].isLetter() && root[1] == u':';
    return driveLetter ? root.left(1).toLower() + QLatin1Char(':') : root;
}

// The part of a device path a person knows ("/dev/sdb1" is "sdb1"); none for the volume
// paths that stand for a device on Windows, or for a placeholder.
QString DeviceName(const QString& device) {
    if (device.startsWith(QLatin1String("/dev/"))) {
        return device.mid(device.lastIndexOf(QLatin1Char('/')) + 1);
    }
    if (device.startsWith(QLatin1String("\\\\?\\")) || device == QLatin1String("none")) {
        return {};
    }
    return device;
}

}  // namespace

QString VolumeCaption(const Volume& volume) {
    const QString name = volume.label.isEmpty() ? DeviceName(volume.device) : volume.label;
    const QString root = ShortRoot(volume.root);
    return name.isEmpty() ? root : root + QStringLiteral(" [") + name + QLatin1Char(']');
}

bool SystemVolumeSource::IsPseudoFileSystem(const QByteArray& type) {
    static constexpr std::array<const char*, 24> kPseudo = {
        "proc",    "sysfs",      "tmpfs",       "devtmpfs", "devpts",   "overlay",  "squashfs", "cgroup",
        "cgroup2", "securityfs", "debugfs",     "tracefs",  "configfs", "fusectl",  "mqueue",   "hugetlbfs",
        "pstore",  "bpf",        "binfmt_misc", "autofs",   "ramfs",    "efivarfs", "nsfs",     "rpc_pipefs"};
    return std::any_of(kPseudo.begin(), kPseudo.end(), [&](const char* name) { return type == name; });
}

QString SystemVolumeSource::StartFolder() const { return QDir::currentPath(); }

}  // namespace qb::app
