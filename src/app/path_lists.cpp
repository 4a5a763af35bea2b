#include "app/path_lists.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "files/paths.h"

namespace qb::app {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndentPx = 8;

// Draws folder entries indented by their depth below the root.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(index.data(kDepthRole).toInt() * kIndentPx, 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
};

bool IsListable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

constexpr QChar kSeparator(qb::kPortableSeparator);

bool IsWithin(const QString& path, const QString& root) {
    if (root == QString(kSeparator)) {
        return path.startsWith(kSeparator);
    }
    return path == root || path.startsWith(WithTrailingSeparator(root));
}

}  // namespace

QString NativePath(const QString& path) { return QString::fromStdU16String(qb::NativePath(path.toStdU16String())); }

QString JoinPath(const QString& folder, const QString& name) { return WithTrailingSeparator(folder) + name; }

QString WithTrailingSeparator(const QString& folder) {
    return folder.endsWith(kSeparator) ? folder : folder + kSeparator;
}

// ---- DriveList

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {}

void DriveList::SetVolumes(const std::vector<Volume>& volumes) {
    const QSignalBlocker blocker(this);
    clear();
    int widest = 0;
    for (const Volume& volume : volumes) {
        const QString caption = VolumeCaption(volume);
        addItem(caption, volume.root);
        widest = std::max(widest, view()->fontMetrics().horizontalAdvance(caption));
    }
    setCurrentIndex(volumes.empty() ? -1 : 0);
    // The dropped-down list is as wide as its longest entry, with room for the entries'
    // margins and a scroll bar, in every style (some keep it as narrow as the closed
    // list); the closed list keeps its size.
    constexpr int kEntryMargins = 16;
    view()->setMinimumWidth(widest + kEntryMargins + 2 * view()->frameWidth() +
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view()));
}

QString DriveList::CurrentRoot() const { return currentData().toString(); }

void DriveList::SelectRoot(const QString& root) {
    const int index = findData(root);
    if (index >= 0) {
        setCurrentIndex(index);
    }
}

QString DriveList::FolderFor(const QString& root) const { return folders_.value(root, root); }

void DriveList::RememberFolder(const QString& root, const QString& folder) { folders_.insert(root, folder); }

QString DriveList::RootHolding(const QString& path) const {
    QString best;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (IsWithin(QDir::cleanPath(path), root) && root.size() > best.size()) {
            best = root;
        }
    }
    return best;
}

// ---- Reading a list again

namespace {

// Changes on disk come in bursts (an editor saving through a temporary file): the lists
// are read again once the folder has been quiet this long.
constexpr int kQuietMs = 200;

// What the user sees of a list while it is read again: the selected and the current
// entries and the entry at the top of the view, each by its key (the data under role).
struct ViewState {
    QSet<QString> selected;
    QString current;
    QString top;
    int scroll = 0;
};

ViewState KeepView(const QListWidget& list, int role) {
    ViewState state;
    for (const QListWidgetItem* item : list.selectedItems()) {
        state.selected.insert(item->data(role).toString());
    }
    if (const QListWidgetItem* current = list.currentItem()) {
        state.current = current->data(role).toString();
    }
    if (const QListWidgetItem* top = list.itemAt(0, 0)) {
        state.top = top->data(role).toString();
    }
    state.scroll = list.verticalScrollBar()->value();
    return state;
}

// Selects again what is still there and keeps the top entry at the top.
void RestoreView(QListWidget& list, const ViewState& state, int role) {
    const QSignalBlocker blocker(&list);
    QListWidgetItem* top = nullptr;
    for (int i = 0; i < list.count(); ++i) {
        QListWidgetItem* item = list.item(i);
        const QString key = item->data(role).toString();
        if (key == state.current) {
            list.setCurrentItem(item, QItemSelectionModel::NoUpdate);
        }
        if (key == state.top) {
            top = item;
        }
    }
    list.clearSelection();
    for (int i = 0; i < list.count(); ++i) {
        QListWidgetItem* item = list.item(i);
        item->setSelected(state.selected.contains(item->data(role).toString()));
    }
    if (top != nullptr) {
        list.scrollToItem(top, QAbstractItemView::PositionAtTop);
    } else {
        list.verticalScrollBar()->setValue(state.scroll);
    }
}

QStringList Keys(const QListWidget& list, int role) {
    QStringList keys;
    for (int i = 0; i < list.count(); ++i) {
        keys << list.item(i)->data(role).toString();
    }
    return keys;
}

// Follows the folders given to it: one call of onQuiet after each burst of changes.
void WatchFolders(QListWidget* list, QFileSystemWatcher* watcher, const std::function<void()>& onQuiet) {
    auto* quiet = new QTimer(list);
    quiet->setSingleShot(true);
    quiet->setInterval(kQuietMs);
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, quiet, qOverload<>(&QTimer::start));
    QObject::connect(quiet, &QTimer::timeout, list, onQuiet);
}

void SetWatched(QFileSystemWatcher* watcher, const QStringList& folders) {
    if (watcher->directories() == folders) {
        return;
    }
    if (!watcher->directories().isEmpty()) {
        watcher->removePaths(watcher->directories());
    }
    if (!folders.isEmpty()) {
        watcher->addPaths(folders);
    }
}

}  // namespace

// ---- FolderList

FolderList::FolderList(QWidget* parent) : QListWidget(parent), watcher_(new QFileSystemWatcher(this)) {
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Double-click or Enter opens an entry.
    connect(this, &QListWidget::itemActivated, this, &FolderList::OpenItem);
    WatchFolders(this, watcher_, [this] { Refresh(); });
}

bool FolderList::ShowDrive(const QString& root, const QString& folder) {
    if (!IsListable(root)) {
        return false;
    }
    const QString previousRoot = root_;
    root_ = root;
    if (!SetPath(NearestListable(folder))) {
        root_ = previousRoot;
        return false;
    }
    return true;
}

QString FolderList::NearestListable(const QString& folder) const {
    QString candidate = IsWithin(QDir::cleanPath(folder), root_) ? QDir::cleanPath(folder) : root_;
    // A folder removed since it was shown: its nearest existing parent.
    while (candidate != root_ && candidate.size() > root_.size() && !IsListable(candidate)) {
        candidate = QFileInfo(candidate).path();
    }
    if (!IsWithin(candidate, root_) || !IsListable(candidate)) {
        candidate = root_;
    }
    return candidate;
}

bool FolderList::SetPath(const QString& folder) {
    if (!IsListable(folder)) {
        return false;
    }
    path_ = (folder == root_) ? root_ : QDir::cleanPath(folder);
    QListWidgetItem* current = Rebuild(SubFolders());
    setCurrentItem(current);
    scrollToItem(current);
    emit PathChanged(path_);
    return true;
}

bool FolderList::Refresh() {
    if (root_.isEmpty()) {
        return false;
    }
    if (!IsListable(path_)) {
        // The folder has gone (or its volume): its nearest parent that is still there.
        return IsListable(root_) && SetPath(NearestListable(path_));
    }
    const QStringList subFolders = SubFolders();
    QStringList paths = Chain();
    for (const QString& name : subFolders) {
        paths << JoinPath(path_, name);
    }
    if (paths == Keys(*this, kPathRole)) {
        return true;
    }
    const ViewState state = KeepView(*this, kPathRole);
    Rebuild(subFolders);
    RestoreView(*this, state, kPathRole);
    return true;
}

QStringList FolderList::SubFolders() const {
    return QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QStringList FolderList::Chain() const {
    QStringList chain{root_};
    if (path_ != root_) {
        const QString rest = path_.mid(WithTrailingSeparator(root_).size());
        QString walked = root_;
        for (const QString& part : rest.split(kSeparator, Qt::SkipEmptyParts)) {
            walked = JoinPath(walked, part);
            chain << walked;
        }
    }
    return chain;
}

QListWidgetItem* FolderList::Rebuild(const QStringList& subFolders) {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the root down to the current folder, then its sub-folders.
    const QStringList chain = Chain();
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const QString& folder : chain) {
        auto* item =
            new QListWidgetItem(openIcon, depth == 0 ? NativePath(folder) : QFileInfo(folder).fileName(), this);
        item->setData(kPathRole, folder);
        item->setData(kDepthRole, depth++);
        current = item;
    }
    for (const QString& name : subFolders) {
        auto* item = new QListWidgetItem(closedIcon, name, this);
        item->setData(kPathRole, JoinPath(path_, name));
        item->setData(kDepthRole, depth);
    }
    // Every folder of the chain is followed: a sub-folder of the current one made, renamed
    // or removed, and the current one or a folder above it renamed or removed.
    SetWatched(watcher_, chain);
    return current;
}

void FolderList::OpenItem(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const QString target = item->data(kPathRole).toString();
    if (target == path_) {
        // Opening the current folder again reads it again.
        emit RefreshAsked();
        return;
    }
    if (!SetPath(target)) {
        emit OpenFailed(target);
        ShowDrive(root_, path_);  // the listing is out of date: show what is there now
    }
}

// ---- FileList

FileList::FileList(QWidget* parent) : QListWidget(parent), watcher_(new QFileSystemWatcher(this)) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    WatchFolders(this, watcher_, [this] { Refresh(); });
}

bool FileList::SetFolder(const QString& folder) {
    folder_ = folder;
    clear();
    if (!IsListable(folder)) {
        SetWatched(watcher_, {});
        return false;
    }
    addItems(Files());
    SetWatched(watcher_, {folder_});
    return true;
}

bool FileList::Refresh() {
    if (!IsListable(folder_)) {
        clear();
        SetWatched(watcher_, {});
        return false;
    }
    const QStringList files = Files();
    if (files != Keys(*this, Qt::DisplayRole)) {
        const ViewState state = KeepView(*this, Qt::DisplayRole);
        clear();
        addItems(files);
        RestoreView(*this, state, Qt::DisplayRole);
    }
    SetWatched(watcher_, {folder_});
    return true;
}

QStringList FileList::Files() const { return QDir(folder_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase); }

void FileList::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit Clicked();
    }
}

void FileList::keyPressEvent(QKeyEvent* event) {
    const QModelIndexList before = selectionModel()->selectedIndexes();
    QListWidget::keyPressEvent(event);
    if (selectionModel()->selectedIndexes() != before) {
        emit Clicked();
    }
}

}  // namespace qb::app
