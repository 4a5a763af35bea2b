// The volume source on Linux and other POSIX systems: the mounted file systems.

#include "app/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace qb::app {

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
    const bool mounted = info.isValid() && info.isReady() && QDir::cleanPath(info.rootPath()) == QDir::cleanPath(root);
    if (!fileSystemRoot && !mounted) {
        return false;
    }
    const QFileInfo dir(root);
    return dir.isDir() && dir.isReadable() && dir.isExecutable();
}

}  // namespace qb::app
