#include "app/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <array>

namespace qb::app {

namespace {

// A drive letter's root ("C:/") as the classic drive list writes it: "c:".
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
        "proc",     "sysfs",   "tmpfs",     "devtmpfs", "devpts",     "overlay",   "squashfs", "cgroup",
        "cgroup2",  "securityfs", "debugfs", "tracefs", "configfs",  "fusectl",   "mqueue",   "hugetlbfs",
        "pstore",   "bpf",     "binfmt_misc", "autofs", "ramfs",      "efivarfs",  "nsfs",     "rpc_pipefs"};
    return std::any_of(kPseudo.begin(), kPseudo.end(), [&](const char* name) { return type == name; });
}

std::vector<Volume> SystemVolumeSource::Volumes() const {
    std::vector<Volume> volumes;
    const QStorageInfo main = QStorageInfo::root();
    volumes.push_back({QStringLiteral("/"), main.name(), QString::fromLocal8Bit(main.device())});
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        const QString root = info.rootPath();
        if (root == QLatin1String("/") || !info.isValid() || IsPseudoFileSystem(info.fileSystemType())) {
            continue;
        }
        // Bind mounts of single files and duplicates are not drives.
        if (!QFileInfo(root).isDir() ||
            std::any_of(volumes.begin(), volumes.end(), [&](const Volume& v) { return v.root == root; })) {
            continue;
        }
        volumes.push_back({root, info.name(), QString::fromLocal8Bit(info.device())});
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume& a, const Volume& b) { return a.root.compare(b.root, Qt::CaseInsensitive) < 0; });
    return volumes;
}

bool SystemVolumeSource::IsReady(const QString& root) const {
    // The root of the file system is always there, even where it is not a mount point of
    // its own (a chroot or a container): it only has to be readable.
    const bool fileSystemRoot = QDir::cleanPath(root) == QDir::rootPath();
    const QStorageInfo info(root);
    // After an unmount the mount point is an ordinary folder of the volume above it.
    const bool mounted =
        info.isValid() && info.isReady() && QDir::cleanPath(info.rootPath()) == QDir::cleanPath(root);
    if (!fileSystemRoot && !mounted) {
        return false;
    }
    const QFileInfo dir(root);
    return dir.isDir() && dir.isReadable() && dir.isExecutable();
}

QString SystemVolumeSource::StartFolder() const { return QDir::currentPath(); }

}  // namespace qb::app
