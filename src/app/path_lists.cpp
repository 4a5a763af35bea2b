#include "app/path_lists.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

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

bool IsWithin(const QString& path, const QString& root) {
    if (root == QLatin1String("/")) {
        return path.startsWith(QLatin1Char('/'));
    }
    return path == root || path.startsWith(WithTrailingSeparator(root));
}

}  // namespace

QString JoinPath(const QString& folder, const QString& name) { return WithTrailingSeparator(folder) + name; }

QString WithTrailingSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
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

// ---- FolderList

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Double-click or Enter opens an entry.
    connect(this, &QListWidget::itemActivated, this, &FolderList::OpenItem);
}

bool FolderList::ShowDrive(const QString& root, const QString& folder) {
    if (!IsListable(root)) {
        return false;
    }
    const QString previousRoot = root_;
    root_ = root;
    QString candidate = IsWithin(QDir::cleanPath(folder), root) ? QDir::cleanPath(folder) : root;
    // A folder removed since it was shown: its nearest existing parent.
    while (candidate != root && candidate.size() > root.size() && !IsListable(candidate)) {
        candidate = QFileInfo(candidate).path();
    }
    if (!IsWithin(candidate, root) || !IsListable(candidate)) {
        candidate = root;
    }
    if (!SetPath(candidate)) {
        root_ = previousRoot;
        return false;
    }
    return true;
}

bool FolderList::SetPath(const QString& folder) {
    if (!IsListable(folder)) {
        return false;
    }
    const QDir dir(folder);
    const QStringList subFolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    path_ = (folder == root_) ? root_ : QDir::cleanPath(folder);
    Rebuild(subFolders);
    emit PathChanged(path_);
    return true;
}

void FolderList::Rebuild(const QStringList& subFolders) {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the root down to the current folder.
    QStringList chain{root_};
    if (path_ != root_) {
        const QString rest = path_.mid(WithTrailingSeparator(root_).size());
        QString walked = root_;
        for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            walked = JoinPath(walked, part);
            chain << walked;
        }
    }
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const QString& folder : chain) {
        auto* item = new QListWidgetItem(openIcon, depth == 0 ? folder : QFileInfo(folder).fileName(), this);
        item->setData(kPathRole, folder);
        item->setData(kDepthRole, depth++);
        current = item;
    }
    for (const QString& name : subFolders) {
        auto* item = new QListWidgetItem(closedIcon, name, this);
        item->setData(kPathRole, JoinPath(path_, name));
        item->setData(kDepthRole, depth);
    }
    setCurrentItem(current);
    scrollToItem(current);
}

void FolderList::OpenItem(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const QString target = item->data(kPathRole).toString();
    if (target == path_) {
        return;
    }
    if (!SetPath(target)) {
        emit OpenFailed(target);
        ShowDrive(root_, path_);  // the listing is out of date: show what is there now
    }
}

// ---- FileList

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

bool FileList::SetFolder(const QString& folder) {
    folder_ = folder;
    clear();
    if (!IsListable(folder)) {
        return false;
    }
    const QStringList files =
        QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    addItems(files);
    return true;
}

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
