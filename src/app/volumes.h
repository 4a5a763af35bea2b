#pragma once
// The volumes the drive lists offer, behind an interface so that tests can supply
// folders of their own and make a volume fail.

#include <QString>
#include <vector>

namespace qb::app {

struct Volume {
    QString root{};    // mount point, e.g. "/" or "/media/usb"
    QString label{};   // volume name, may be empty
    QString device{};  // what is mounted there, e.g. "/dev/sdb1"; may be empty
};

// A volume as a person knows it: its root, short, and its label or else its device's
// name, e.g. "/media/usb [USBSTICK]", "/ [sda1]" or, for a drive letter, "c: [Windows]".
[[nodiscard]] QString VolumeCaption(const Volume& volume);

class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    // The volumes to list in the order shown; the first is shown when the start folder
    // lies on none of them.
    [[nodiscard]] virtual std::vector<Volume> Volumes() const = 0;
    // Whether the volume at root can be used now (still mounted, root readable).
    [[nodiscard]] virtual bool IsReady(const QString& root) const = 0;
    // The folder the lists start in (the program's current folder).
    [[nodiscard]] virtual QString StartFolder() const = 0;
};

// The machine's volumes, one implementation per platform: on POSIX the mounted file
// systems, "/" first, pseudo and in-memory ones left out (volumes_posix.cpp); on Windows
// the drive letters in order, each with its label (volumes_win32.cpp). A volume that
// cannot be read, such as an empty removable drive, is not ready.
class SystemVolumeSource final : public VolumeSource {
public:
    [[nodiscard]] std::vector<Volume> Volumes() const override;
    [[nodiscard]] bool IsReady(const QString& root) const override;
    [[nodiscard]] QString StartFolder() const override;

    // File system types that are never offered as drives (POSIX mount tables).
    [[nodiscard]] static bool IsPseudoFileSystem(const QByteArray& type);
};

}  // namespace qb::app
