#pragma once
// The drive list, folder list and file list of the window: three small widgets over Qt
// that work together as one folder picker. A drive list offers volumes and remembers
// the folder last shown on each; a folder list shows the chain of folders from a
// volume's root down to its folder, then that folder's sub-folders; a file list shows
// the files of one folder. Folder and file lists follow their folders on disk.

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QString>
#include <vector>

#include "app/volumes.h"

class QFileSystemWatcher;

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

    // Reads the folder again, keeping the selection and the view of the entries still
    // there; a folder that has gone gives way to its nearest parent (PathChanged). Runs by
    // itself shortly after the folder, or one above it, changes on disk.
    bool Refresh();

    [[nodiscard]] QString Path() const { return path_; }
    [[nodiscard]] QString Root() const { return root_; }

signals:
    // The current folder changed (by code or by opening an entry).
    void PathChanged(const QString& path);
    // An entry could not be opened (it vanished or cannot be read).
    void OpenFailed(const QString& path);
    // The current folder was opened again: the user wants the lists read again.
    void RefreshAsked();

private:
    [[nodiscard]] QString NearestListable(const QString& folder) const;
    [[nodiscard]] QStringList SubFolders() const;
    // The folders from the root down to the current one.
    [[nodiscard]] QStringList Chain() const;
    // Lists the chain and the sub-folders; returns the current folder's entry.
    QListWidgetItem* Rebuild(const QStringList& subFolders);
    void OpenItem(QListWidgetItem* item);

    QFileSystemWatcher* watcher_;
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
    // Reads the folder again, keeping the selection and the view of the files still
    // there; raises no Clicked. Runs by itself shortly after the folder changes on disk.
    bool Refresh();
    [[nodiscard]] QString Folder() const { return folder_; }

signals:
    // One per completed click or drag, and per change of the selection by keyboard.
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    [[nodiscard]] QStringList Files() const;

    QFileSystemWatcher* watcher_;
    QString folder_;
};

// The window keeps its paths with Qt's "/" (qb::kPortableSeparator). Every path that
// leaves it, to the engine (and List2, which the engine reads) or to the user's eyes, is
// written in the platform's own form by qb::NativePath: "\" on Windows.
[[nodiscard]] QString NativePath(const QString& path);

// Joins a folder and a name with one separator ("/" + "a" is "/a").
[[nodiscard]] QString JoinPath(const QString& folder, const QString& name);
// folder with a separator at its end.
[[nodiscard]] QString WithTrailingSeparator(const QString& folder);

}  // namespace qb::app
