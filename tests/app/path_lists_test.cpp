// The drive, folder and file list widgets on their own.

#include <QSignalSpy>
#include <QStorageInfo>

#include "app/path_lists.h"
#include "app_test_support.h"
#include "files/paths.h"

namespace apptest {
namespace {

using qb::app::DriveList;
using qb::app::FileList;
using qb::app::FolderList;

TEST(PathJoin, OneSeparatorBetweenFolderAndName) {
    const struct {
        QString folder, name, joined;
    } rows[] = {{"/", "a.txt", "/a.txt"}, {"/blog", "a.txt", "/blog/a.txt"}, {"/blog/", "a.txt", "/blog/a.txt"}};
    for (const auto& row : rows) {
        EXPECT_EQ(qb::app::JoinPath(row.folder, row.name), row.joined);
    }
    EXPECT_EQ(qb::app::WithTrailingSeparator("/"), QStringLiteral("/"));
    EXPECT_EQ(qb::app::WithTrailingSeparator("/x"), QStringLiteral("/x/"));
    // What leaves the window is split by the engine at its own separator.
    const QChar separator(qb::kPathSeparator);
    EXPECT_EQ(qb::app::NativePath("C:/blog/a.txt"), "C:" + QString(separator) + "blog" + separator + "a.txt");
}

TEST(SystemVolumes, PseudoFileSystemsAreNotDrives) {
    for (const char* type : {"proc", "sysfs", "tmpfs", "devtmpfs", "overlay", "squashfs", "cgroup", "cgroup2"}) {
        EXPECT_TRUE(qb::app::SystemVolumeSource::IsPseudoFileSystem(type)) << type;
    }
    for (const char* type : {"ext4", "vfat", "btrfs", "xfs", "ntfs", "exfat"}) {
        EXPECT_FALSE(qb::app::SystemVolumeSource::IsPseudoFileSystem(type)) << type;
    }
    const qb::app::SystemVolumeSource volumes;
    const auto listed = volumes.Volumes();
    ASSERT_FALSE(listed.empty());
#ifdef _WIN32
    // On Windows: the drive roots in letter order ("C:/", then "Z:/" under Wine), the
    // first one usable.
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const QString& root = listed[i].root;
        EXPECT_TRUE(root.size() == 3 && root[0].isUpper() && root.endsWith(QLatin1String(":/"))) << root.toStdString();
        EXPECT_TRUE(i == 0 || listed[i - 1].root < root) << root.toStdString();
    }
    EXPECT_TRUE(volumes.IsReady(listed.front().root));
#else
    // On this machine: "/" first, then no /proc, /sys, /dev or other pseudo file system.
    EXPECT_EQ(listed.front().root, QStringLiteral("/"));
    EXPECT_TRUE(volumes.IsReady(QStringLiteral("/")));
    for (std::size_t i = 1; i < listed.size(); ++i) {
        const QByteArray type = QStorageInfo(listed[i].root).fileSystemType();
        EXPECT_FALSE(qb::app::SystemVolumeSource::IsPseudoFileSystem(type)) << listed[i].root.toStdString();
        EXPECT_NE(listed[i].root, QStringLiteral("/proc"));
    }
#endif
    // A folder that is not a mount point is not a usable volume of its own.
    QTemporaryDir plain;
    EXPECT_FALSE(volumes.IsReady(plain.path()));
}

class Widgets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        root = scratch.filePath("vol");
        for (const char* folder : {"vol/one/two/zeta", "vol/one/two/Alpha", "vol/one/two/.secret", "vol/other"}) {
            QDir().mkpath(scratch.filePath(folder));
        }
        WriteFile(root + "/one/two/note.txt", "x");
    }
    QTemporaryDir scratch;
    QString root;
};

TEST_F(Widgets, FolderListShowsTheChainThenVisibleSubFolders) {
    FolderList list;
    QSignalSpy changed(&list, &FolderList::PathChanged);
    ASSERT_TRUE(list.ShowDrive(root, root + "/one/two"));
    EXPECT_EQ(Items(&list), (QStringList{Native(root), "one", "two", "Alpha", "zeta"}));
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(list.Path(), root + "/one/two");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), root + "/one/two");
}

TEST_F(Widgets, FolderListFallsBackToTheNearestExistingParent) {
    FolderList list;
    ASSERT_TRUE(list.ShowDrive(root, root + "/one/gone/deeper"));
    EXPECT_EQ(list.Path(), root + "/one");
    ASSERT_TRUE(list.ShowDrive(root, scratch.path()));  // outside the volume: its root
    EXPECT_EQ(list.Path(), root);
    EXPECT_FALSE(list.ShowDrive(scratch.filePath("missing"), scratch.filePath("missing")));
    EXPECT_EQ(list.Path(), root);
    EXPECT_FALSE(list.SetPath(root + "/nowhere"));
    EXPECT_EQ(list.Path(), root);
}

TEST_F(Widgets, FileListHasNoFoldersAndNoHiddenFiles) {
    WriteFile(root + "/one/two/.hidden", "x");
    WriteFile(root + "/one/two/Beta.txt", "x");
    FileList list;
    ASSERT_TRUE(list.SetFolder(root + "/one/two"));
    EXPECT_EQ(Items(&list), (QStringList{"Beta.txt", "note.txt"}));
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_FALSE(list.SetFolder(root + "/none"));
    EXPECT_EQ(list.count(), 0);
}

TEST_F(Widgets, FileListClickFiresOncePerRelease) {
    for (const char* name : {"a", "b", "c", "d"}) {
        WriteFile(root + "/other/" + name, "x");
    }
    FileList list;
    list.resize(200, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.SetFolder(root + "/other"));
    QSignalSpy clicked(&list, &FileList::Clicked);
    const QPoint first = list.visualItemRect(list.item(0)).center();
    const QPoint last = list.visualItemRect(list.item(3)).center();
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, first);
    QTest::mouseMove(list.viewport(), last);
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, last);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(list.selectedItems().size(), 4);
    // Moving the selection by keyboard counts as a click; a key that changes nothing does not.
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(clicked.count(), 2);
    QTest::keyClick(&list, Qt::Key_Shift);
    EXPECT_EQ(clicked.count(), 2);
}

TEST(DriveListTest, ShowsEachVolumeByItsRootAndItsLabelOrDeviceName) {
    const struct {
        qb::app::Volume volume;
        QString caption;
    } rows[] = {
        {{"/media/usb", "USBSTICK", "/dev/sdb1"}, "/media/usb [USBSTICK]"},
        {{"/", "", "/dev/sda2"}, "/ [sda2]"},
        {{"/srv", "", "/dev/mapper/vg-srv"}, "/srv [vg-srv]"},
        {{"/mnt/nas", "", "nas:/export"}, "/mnt/nas [nas:/export]"},
        {{"/data", "", ""}, "/data"},
        {{"/scratch", "", "none"}, "/scratch"},
        {{"C:/", "Windows", "\\\\?\\Volume{4c1b}\\"}, "c: [Windows]"},
        {{"D:/", "", "\\\\?\\Volume{9e02}\\"}, "d:"},
    };
    DriveList drives;
    std::vector<qb::app::Volume> volumes;
    for (const auto& row : rows) {
        EXPECT_EQ(qb::app::VolumeCaption(row.volume), row.caption);
        volumes.push_back(row.volume);
    }
    drives.SetVolumes(volumes);
    for (int i = 0; i < drives.count(); ++i) {
        EXPECT_EQ(drives.itemText(i), rows[i].caption);
        EXPECT_EQ(drives.itemData(i).toString(), rows[i].volume.root);
    }
}

TEST(DriveListTest, RemembersAFolderPerVolumeAndFindsTheHoldingVolume) {
    DriveList drives;
    QSignalSpy changed(&drives, &QComboBox::currentIndexChanged);
    drives.SetVolumes({{"/", ""}, {"/media/usb", "STICK"}, {"/media/usb2", ""}});
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(drives.itemText(1), QStringLiteral("/media/usb [STICK]"));
    EXPECT_EQ(drives.CurrentRoot(), QStringLiteral("/"));
    EXPECT_EQ(drives.RootHolding("/media/usb2/x"), QStringLiteral("/media/usb2"));
    EXPECT_EQ(drives.RootHolding("/media/usb"), QStringLiteral("/media/usb"));
    EXPECT_EQ(drives.RootHolding("/media/usbx"), QStringLiteral("/"));
    EXPECT_EQ(drives.FolderFor("/media/usb"), QStringLiteral("/media/usb"));
    drives.RememberFolder("/media/usb", "/media/usb/docs");
    EXPECT_EQ(drives.FolderFor("/media/usb"), QStringLiteral("/media/usb/docs"));
    drives.SelectRoot("/media/usb");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(drives.CurrentRoot(), QStringLiteral("/media/usb"));
}

}  // namespace
}  // namespace apptest
