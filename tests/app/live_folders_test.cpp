// The folder and file lists follow the disk while the window is open.

#include <QScrollBar>

#include "app/path_lists.h"
#include "app_test_support.h"

namespace apptest {
namespace {

using qb::app::FolderList;

// Generous: the lists follow the disk within about a second.
constexpr int kWaitMs = 5000;

class LiveFolders : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        for (const char* name : {"a.txt", "B.txt", "c.txt"}) {
            WriteFile(volumes.start + "/" + name, "x");
        }
        QDir().mkpath(volumes.start + "/sub");
    }

    QListWidget* File1() { return Get<QListWidget>("File1"); }

    // The entries of a folder list below its current folder.
    QStringList SubFolders(const char* name) {
        auto* list = Get<FolderList>(name);
        QStringList names;
        bool below = false;
        for (int i = 0; i < list->count(); ++i) {
            if (below) {
                names << list->item(i)->text();
            }
            below = below || list->item(i)->data(Qt::UserRole).toString() == list->Path();
        }
        return names;
    }

    QString Start(const QString& name) const { return volumes.start + "/" + name; }
};

TEST_F(LiveFolders, NewRenamedAndRemovedEntriesAppearInEveryList) {
    Open();
    const struct {
        const char* what;
        std::function<bool(const QString&)> change;
        QStringList files;
        QStringList folders;
    } steps[] = {
        {"file saved",
         [](const QString& d) { return QFile(d + "/new.txt").open(QIODevice::WriteOnly); },
         {"a.txt", "B.txt", "c.txt", "new.txt"},
         {"sub"}},
        {"file renamed",
         [](const QString& d) { return QFile::rename(d + "/c.txt", d + "/d.txt"); },
         {"a.txt", "B.txt", "d.txt", "new.txt"},
         {"sub"}},
        {"file removed",
         [](const QString& d) { return QFile::remove(d + "/a.txt"); },
         {"B.txt", "d.txt", "new.txt"},
         {"sub"}},
        {"folder made",
         [](const QString& d) { return QDir(d).mkdir("fresh"); },
         {"B.txt", "d.txt", "new.txt"},
         {"fresh", "sub"}},
        {"folder renamed",
         [](const QString& d) { return QDir(d).rename("sub", "renamed"); },
         {"B.txt", "d.txt", "new.txt"},
         {"fresh", "renamed"}},
        {"folder removed",
         [](const QString& d) { return QDir(d).rmdir("fresh"); },
         {"B.txt", "d.txt", "new.txt"},
         {"renamed"}},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(step.change(volumes.start)) << step.what;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return Items(File1()) == step.files && SubFolders("Dir1") == step.folders &&
                       SubFolders("Dir2") == step.folders;
            },
            kWaitMs))
            << step.what;
        EXPECT_EQ(Items(File1()), step.files) << step.what;
        EXPECT_EQ(SubFolders("Dir1"), step.folders) << step.what;
        EXPECT_EQ(SubFolders("Dir2"), step.folders) << step.what;
    }
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(LiveFolders, SelectionAndScrollPositionOfEntriesStillThereAreKept) {
    for (int i = 0; i < 40; ++i) {
        WriteFile(Start(QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0'))), "x");
        QDir().mkpath(Start(QStringLiteral("g%1").arg(i, 2, 10, QLatin1Char('0'))));
    }
    Open();
    Activate();
    auto* file1 = File1();
    file1->scrollToItem(file1->findItems("f20.txt", Qt::MatchExactly).first(), QAbstractItemView::PositionAtTop);
    ClickItem(file1, file1->row(file1->findItems("f21.txt", Qt::MatchExactly).first()));
    ClickItem(file1, file1->row(file1->findItems("f23.txt", Qt::MatchExactly).first()), Qt::ControlModifier);
    auto* dir1 = Get<FolderList>("Dir1");
    dir1->scrollToItem(dir1->findItems("g10", Qt::MatchExactly).first(), QAbstractItemView::PositionAtTop);
    dir1->setFocus();
    dir1->setCurrentItem(dir1->findItems("g12", Qt::MatchExactly).first());
    ASSERT_EQ(file1->itemAt(0, 0)->text(), QStringLiteral("f20.txt"));
    const QStringList listed = Items(Get<QListWidget>("List1"));

    // Entries above the view come and go; one selected file goes.
    WriteFile(Start("0-first.txt"), "x");
    ASSERT_TRUE(QFile::remove(Start("B.txt")));
    ASSERT_TRUE(QFile::remove(Start("f23.txt")));
    ASSERT_TRUE(QDir().mkpath(Start("0-first")));
    ASSERT_TRUE(QDir(volumes.start).rmdir("sub"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !file1->findItems("0-first.txt", Qt::MatchExactly).isEmpty() &&
                   !dir1->findItems("0-first", Qt::MatchExactly).isEmpty();
        },
        kWaitMs));
    EXPECT_TRUE(file1->findItems("B.txt", Qt::MatchExactly).isEmpty());
    EXPECT_EQ(file1->itemAt(0, 0)->text(), QStringLiteral("f20.txt"));
    QStringList selected;
    for (const QListWidgetItem* item : file1->selectedItems()) {
        selected << item->text();
    }
    EXPECT_EQ(selected, QStringList{"f21.txt"});
    EXPECT_EQ(dir1->itemAt(0, 0)->text(), QStringLiteral("g10"));
    ASSERT_NE(dir1->currentItem(), nullptr);
    EXPECT_EQ(dir1->currentItem()->text(), QStringLiteral("g12"));
    EXPECT_EQ(dir1->Path(), volumes.start);
    // Reading a list again is not a click: nothing more is listed.
    EXPECT_EQ(Items(Get<QListWidget>("List1")), listed);
}

TEST_F(LiveFolders, CurrentFolderRemovedGivesWayToItsParent) {
    if (UnderWine()) {
        GTEST_SKIP() << "Wine did not report the removal of the current folder (docs/windows.md)";
    }
    WriteFile(Start("sub/inner.txt"), "x");
    Open();
    OpenFolder("Dir1", "sub");
    ASSERT_EQ(Items(File1()), QStringList{"inner.txt"});
    ASSERT_TRUE(QDir(Start("sub")).removeRecursively());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Get<FolderList>("Dir1")->Path() == volumes.start; }, kWaitMs));
    EXPECT_EQ(Items(File1()), (QStringList{"a.txt", "B.txt", "c.txt"}));
    EXPECT_TRUE(SubFolders("Dir1").isEmpty());
    EXPECT_EQ(Get<FolderList>("Dir2")->Path(), volumes.start);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(LiveFolders, F5OrOpeningTheCurrentFolderAgainReadsTheListsAtOnce) {
    Open();
    Activate();
    const struct {
        const char* what;
        std::function<void()> ask;
    } ways[] = {
        {"F5", [this] { QTest::keyClick(File1(), Qt::Key_F5); }},
        {"F5 from a text box", [this] { QTest::keyClick(Get<QWidget>("Text7"), Qt::Key_F5); }},
        {"Dir1's current folder opened", [this] { OpenFolder("Dir1", QStringLiteral("articles")); }},
        {"Dir2's current folder opened", [this] { OpenFolder("Dir2", QStringLiteral("articles")); }},
    };
    int n = 0;
    for (const auto& way : ways) {
        const QString name = QStringLiteral("late%1").arg(n++);
        WriteFile(Start(name + ".txt"), "x");
        QDir().mkpath(Start(name));
        // No event loop runs in between: only the request itself can read the lists.
        way.ask();
        EXPECT_FALSE(File1()->findItems(name + ".txt", Qt::MatchExactly).isEmpty()) << way.what;
        EXPECT_TRUE(SubFolders("Dir1").contains(name)) << way.what;
        EXPECT_TRUE(SubFolders("Dir2").contains(name)) << way.what;
    }
    EXPECT_EQ(Get<FolderList>("Dir1")->Path(), volumes.start);
    EXPECT_EQ(Get<QListWidget>("List1")->count(), 0);
}

}  // namespace
}  // namespace apptest
