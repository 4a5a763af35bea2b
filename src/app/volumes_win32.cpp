// The volume source on Windows: the drive letters, each with its volume label.

#include "app/volumes.h"

#include <windows.h>

#include <QDir>
#include <QFileInfo>
#include <array>
#include <string>

namespace qb::app {

namespace {

// "C:/" as the wide-character calls want it: "C:\".
std::wstring NativeRoot(const QString& root) {
    QString native = QDir::toNativeSeparators(root);
    if (!native.endsWith(QLatin1Char('\\'))) {
        native += QLatin1Char('\\');
    }
    return native.toStdWString();
}

// Keeps Windows from asking for a medium in a dialog while a drive is looked at; an
// empty drive then only fails.
class NoDriveDialogs {
public:
    NoDriveDialogs() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~NoDriveDialogs() { SetThreadErrorMode(previous_, nullptr); }
    NoDriveDialogs(const NoDriveDialogs&) = delete;
    NoDriveDialogs& operator=(const NoDriveDialogs&) = delete;

private:
    DWORD previous_ = 0;
};

// The volume's label; false where the volume cannot be read (no medium: ERROR_NOT_READY).
bool ReadLabel(const std::wstring& root, QString& label) {
    std::array<wchar_t, MAX_PATH + 1> name{};
    const NoDriveDialogs quiet;
    if (GetVolumeInformationW(root.c_str(), name.data(), static_cast<DWORD>(name.size()), nullptr, nullptr, nullptr,
                              nullptr, 0) == 0) {
        return false;
    }
    label = QString::fromWCharArray(name.data());
    return true;
}

}  // namespace

std::vector<Volume> SystemVolumeSource::Volumes() const {
    // "A:\", "C:\", ... one after another, each ended by a zero, the list by a second one.
    std::wstring roots(128, L'\0');
    DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
    if (length > roots.size()) {
        roots.assign(length, L'\0');
        length = GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
    }
    roots.resize(length <= roots.size() ? length : 0);

    std::vector<Volume> volumes;
    for (std::size_t begin = 0; begin < roots.size();) {
        const std::size_t end = roots.find(L'\0', begin);
        const std::wstring root = roots.substr(begin, end - begin);
        begin = end == std::wstring::npos ? roots.size() : end + 1;
        if (root.empty()) {
            continue;
        }
        Volume volume;
        volume.root = QDir::fromNativeSeparators(QString::fromStdWString(root));  // "C:/"
        ReadLabel(root, volume.label);  // an empty drive is listed without a label
        volumes.push_back(volume);
    }
    return volumes;
}

bool SystemVolumeSource::IsReady(const QString& root) const {
    // Only a volume's root can be read as a volume: a plain folder or an empty
    // removable drive fails here.
    QString label;
    if (!ReadLabel(NativeRoot(root), label)) {
        return false;
    }
    const QFileInfo dir(root);
    return dir.isDir() && dir.isReadable();
}

}  // namespace qb::app
