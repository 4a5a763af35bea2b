#pragma once
// The drive list, folder list and file list of the window: small widgets over Qt that
// behave like the classic trio. A drive list offers volumes and remembers the folder
// last shown on each; a folder list shows the chain of folders from a volume's root
// down to its folder, then that folder's sub-folders; a file list shows the files of
// one folder.

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QString>
#include <vector>

#include "app/volumes.h"

namespace qb::app {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // Lists the volumes without raising the change handling; the first is selected.
    void SetVolumes(const std::vector<Volume>& volumes);
    [[nodiscard]] QString CurrentRoot() const;
    // Selects the volume at root (raising the change handling when it differs).
    void SelectRoot(const QString& root);

    // The folder last shown on a volume (its root when none was).
    [[nodiscard]] QString FolderFor(const QString& root) const;
    void RememberFolder(const QString& root, const QString& folder);

    // The volume whose root holds path (the longest matching root), or empty.
    [[nodiscard]] QString RootHolding(const QString& path) const;

private:
    QHash<QString, QString> folders_;
};

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // Shows folder (or its nearest existing parent within root) under the volume at root.
    // Returns false, leaving the list as it was, when not even root can be listed.
    bool ShowDrive(const QString& root, const QString& folder);
    // Makes folder the current one. Returns false, leaving the list, when it cannot be listed.
    bool SetPath(const QString& folder);

    [[nodiscard]] QString Path() const { return path_; }
    [[nodiscard]] QString Root() const { return root_; }

signals:
    // The current folder changed (by code or by opening an entry).
    void PathChanged(const QString& path);
    // An entry could not be opened (it vanished or cannot be read).
    void OpenFailed(const QString& path);

private:
    void Rebuild(const QStringList& subFolders);
    void OpenItem(QListWidgetItem* item);

    QString root_;
    QString path_;
};

class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    // Lists the files of folder (no folders, no hidden files), in name order.
    // Returns false, leaving the list empty, when the folder cannot be listed.
    bool SetFolder(const QString& folder);
    [[nodiscard]] QString Folder() const { return folder_; }

signals:
    // One per completed click or drag, and per change of the selection by keyboard.
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString folder_;
};

// Joins a folder and a name with one separator ("/" + "a" is "/a").
[[nodiscard]] QString JoinPath(const QString& folder, const QString& name);
// folder with a separator at its end.
[[nodiscard]] QString WithTrailingSeparator(const QString& folder);

}  // namespace qb::app
