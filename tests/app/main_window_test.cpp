// The main window clicked through as a user would: start-up state, layout, the option
// handling, the article lists, the drive lists and the start-date buttons.

#include <QtTest/qtestspontaneevent.h>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOptionButton>

#include "app/app_setup.h"
#include "app/path_lists.h"
#include "app/window_layout.h"
#include "app_test_support.h"
#include "common/run_error.h"

namespace apptest {
namespace {

using qb::app::MainWindow;

QStringList CheckedOptions(QWidget* window) {
    QStringList names;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->isChecked()) {
            names << button->objectName();
        }
    }
    names.sort();
    return names;
}

class StartUp : public WindowTest {};

TEST_F(StartUp, SelectsExactlyTheFirstMembersAndUtf8AndLeavesTheRestClear) {
    Open();
    EXPECT_EQ(CheckedOptions(window.get()),
              (QStringList{"Option13", "Option15", "optFile_0", "optKaigyo_0", "optTitle_0"}));

    EXPECT_FALSE(Get<QLineEdit>("Text8")->isEnabled());
    EXPECT_TRUE(Get<QLineEdit>("Text8")->text().isEmpty());
    EXPECT_TRUE(Get<QLineEdit>("Text7")->text().isEmpty());
    EXPECT_EQ(Get<QGroupBox>("Frame2")->title(), QStringLiteral("無効"));

    // The time steps, the first selected (each entry's step: export_test.cpp).
    auto* combo = Get<QComboBox>("Combo1");
    EXPECT_EQ(combo->count(), 15);
    EXPECT_EQ(combo->currentText(), QStringLiteral("変更なし"));
    EXPECT_EQ(window->Combo1ListIndex(), 0);
    EXPECT_TRUE(combo->isEditable());

    // Started at 08:07:45 on 5 March 2024.
    EXPECT_EQ(DateFields(), (QStringList{"2024", "03", "05", "08", "07"}));

    // Single-file mode: removal buttons usable, chosen-files frame shown, List2 never.
    EXPECT_TRUE(Get<QPushButton>("Command4")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>("Command7")->isEnabled());
    EXPECT_TRUE(Get<QGroupBox>("Frame1")->isVisible());
    EXPECT_FALSE(Get<QListWidget>("List2")->isVisible());

    EXPECT_EQ(window->LastSourceDrive(), DriveA());
    EXPECT_EQ(window->LastOutputDrive(), DriveA());
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), volumes.start);
    EXPECT_EQ(Get<qb::app::FolderList>("Dir2")->Path(), volumes.start);
    EXPECT_TRUE(sink.shown.empty());

    // The probe runs last, on the disabled window, and enables it.
    EXPECT_EQ(probeCalls, 1);
    EXPECT_FALSE(probeSawEnabled);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(StartUp, WithoutProbeTheWindowIsEnabledAtOnce) {
    qb::app::MainWindowServices services{&sink, &clock, &volumes, {}, {}};
    MainWindow plain(std::move(services));
    EXPECT_TRUE(plain.isEnabled());
}

TEST_F(StartUp, TwentyThreeHundredShowsTwentyFourHourClock) {
    clock.now = {2025, 11, 30, 23, 5, 0};
    Open();
    EXPECT_EQ(Get<QLineEdit>("Text4")->text(), QStringLiteral("23"));
    EXPECT_EQ(Get<QLineEdit>("Text5")->text(), QStringLiteral("05"));
}

// ---- Layout

using qb::app::ControlRow;
using qb::app::WindowLayout;

QString CaptionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        return frame->title();
    }
    return {};
}

// The width a control's caption has, in its font: a frame's between its caption's indents,
// an option button's right of its indicator.
int CaptionRoom(QWidget* control) {
    if (auto* option = qobject_cast<QRadioButton*>(control)) {
        QStyleOptionButton look;
        look.initFrom(option);
        look.text = option->text();
        return option->style()->subElementRect(QStyle::SE_RadioButtonContents, &look, option).width();
    }
    if (qobject_cast<QGroupBox*>(control) != nullptr) {
        return control->width() - 2 * 8;
    }
    return control->contentsRect().width();
}

// The widest line of a caption, tabs every eight average character widths.
int CaptionWidth(const QWidget* control, const QString& caption) {
    const QFontMetrics metrics = control->fontMetrics();
    int widest = 0;
    for (const QString& line : QString(caption).replace("\r\n", "\n").split('\n')) {
        widest = std::max(
            widest, metrics.boundingRect(QRect(), Qt::TextExpandTabs, line, 8 * metrics.averageCharWidth()).width());
    }
    return widest;
}

class Layout : public WindowTest {};

TEST_F(Layout, ControlsLieInsideTheirParentsWithoutOverlap) {
    Open();
    // Neighbours whose areas meet by a pixel or by an option button's room beyond its caption.
    // List2 is never shown.
    const QSet<QPair<QString, QString>> overlapping = {{"Command4", "Command7"}, {"Check1", "List2"},
                                                       {"Label4", "Text5"},      {"Option12", "Option14"},
                                                       {"Option2", "Option3"},   {"Option3", "Option1"}};
    const auto rows = WindowLayout();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        QWidget* control = Get<QWidget>(rows[i].name);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(QRect(QPoint(0, 0), control->parentWidget()->size()).contains(control->geometry()));
        for (std::size_t j = 0; j < i; ++j) {
            QWidget* earlier = Get<QWidget>(rows[j].name);
            if (earlier->parentWidget() != control->parentWidget() ||
                !earlier->geometry().intersects(control->geometry())) {
                continue;
            }
            // A control drawn over an earlier frame lies wholly within it.
            const bool onFrame =
                qobject_cast<QGroupBox*>(earlier) != nullptr && earlier->geometry().contains(control->geometry());
            EXPECT_TRUE(onFrame || overlapping.contains(qMakePair(QString(rows[j].name), QString(rows[i].name))))
                << rows[i].name << " overlaps " << rows[j].name;
        }
    }
}

TEST_F(Layout, CaptionsFitTheirControlsInTheWindowsFont) {
    Open();
    const QString face = QFontInfo(window->font()).family();
    if (!(QFont::substitutes(qb::app::UiFontFamily()) << qb::app::UiFontFamily()).contains(face, Qt::CaseInsensitive)) {
        GTEST_SKIP() << "neither the window's font nor a stand-in is installed; " << face.toStdString() << " is used";
    }
    for (const ControlRow& row : WindowLayout()) {
        QWidget* control = Get<QWidget>(row.name);
        // A label draws a caption too wide for it narrowed, by a few hundredths in the fonts
        // that stand in for the original one; a tenth would be hard to read.
        const int room = CaptionRoom(control) * (row.kind == qb::app::ControlKind::Label ? 11 : 10) / 10;
        EXPECT_LE(CaptionWidth(control, CaptionOf(control)), room) << row.name;
    }
}

TEST_F(Layout, WindowAndAnchorsHaveTheirExactPlaces) {
    Open();
    EXPECT_EQ(window->size(), QSize(949, 609));
    EXPECT_EQ(Get<QWidget>("Inside")->size(), QSize(949, 609));
    EXPECT_EQ(Get<QWidget>("Inside")->window(), window.get());
    EXPECT_EQ(Get<QWidget>("Frame8")->geometry(), QRect(430, 70, 511, 531));
    EXPECT_EQ(Get<QWidget>("Command3")->geometry(), QRect(200, 500, 209, 81));
    EXPECT_EQ(Get<QWidget>("Text5")->geometry(), QRect(392, 20, 33, 22));
    EXPECT_EQ(Get<QWidget>("Check1")->geometry(), QRect(16, 481, 393, 17));
    EXPECT_EQ(Get<QWidget>("Label13")->geometry(), QRect(16, 588, 81, 17));
    EXPECT_EQ(Get<QWidget>("Combo2")->geometry(), QRect(100, 585, 309, 20));
    EXPECT_EQ(Get<QLabel>("Label13")->text(), QStringLiteral("ファイルの分割"));
    EXPECT_EQ(Get<QPushButton>("Command3")->text(), QStringLiteral("ファイル作成"));
    EXPECT_EQ(Get<QLabel>("Label11")->text().count(QStringLiteral("\r\n")), 6);
    // The version is the project's.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillbrook Ver " QB_VERSION));
    EXPECT_TRUE(Get<QLabel>("Label12")->text().endsWith(QStringLiteral("       Ver" QB_VERSION)));
    // Without the original face the Japanese substitutes are asked for in order.
    // (Qt keeps family names in lower case.)
    EXPECT_EQ(QFont::substitutes(QStringLiteral("ＭＳ Ｐゴシック")),
              (QStringList{"ms pgothic", "ipapgothic", "noto sans cjk jp"}));
    const QList<QSize> iconSizes = window->windowIcon().availableSizes();
    for (const int side : {16, 32, 48}) {
        EXPECT_TRUE(iconSizes.contains(QSize(side, side))) << side;
    }
    // Every control that the Tab key reaches has one place in the keyboard order.
    const auto order = qb::app::KeyboardOrder();
    for (const ControlRow& row : WindowLayout()) {
        QWidget* control = Get<QWidget>(row.name);
        const bool tabbed = control->isVisibleTo(window.get()) && (control->focusPolicy() & Qt::TabFocus) != 0;
        EXPECT_EQ(std::count_if(order.begin(), order.end(),
                                [&](const char* name) { return QLatin1String(name) == row.name; }),
                  tabbed ? 1 : 0)
            << row.name;
    }
}

// ---- Option handling

class Options : public WindowTest {};

TEST_F(Options, PublishStatusAndCategoryClicksSetFrame2AndText8) {
    Open();
    struct Step {
        const char* click;
        QString frame2;
        bool text8Enabled;
    };
    const std::vector<Step> steps = {
        {"Option1", "有効です", false},           {"Option2", "指定しても無効です", false},
        {"Option1", "有効です", false},           {"Option3", "指定しても無効です", false},
        {"Option10", "指定しても無効です", true}, {"Option11", "指定しても無効です", true},
        {"Option8", "指定しても無効です", false}, {"Option11", "指定しても無効です", false},
        {"Option10", "指定しても無効です", true}, {"Option7", "指定しても無効です", false},
        {"Option4", "指定しても無効です", false}, {"Option12", "指定しても無効です", false},
    };
    for (const Step& step : steps) {
        Click(step.click);
        EXPECT_TRUE(Get<QRadioButton>(step.click)->isChecked()) << step.click;
        EXPECT_EQ(Get<QGroupBox>("Frame2")->title(), step.frame2) << step.click;
        EXPECT_EQ(Get<QLineEdit>("Text8")->isEnabled(), step.text8Enabled) << step.click;
    }
}

TEST_F(Options, BlogFolderModeHidesTheChosenFilesWithoutTouchingThem) {
    WriteFile(volumes.start + "/a.txt", "x");
    Open();
    auto* file1 = Get<QListWidget>("File1");
    ClickItem(file1, 0);
    Click("optFile_1");
    EXPECT_FALSE(Get<QPushButton>("Command4")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("Command7")->isEnabled());
    EXPECT_FALSE(Get<QGroupBox>("Frame1")->isVisible());
    EXPECT_EQ(Items(Get<QListWidget>("List1")), QStringList{"a.txt"});
    Click("optFile_0");
    EXPECT_TRUE(Get<QPushButton>("Command4")->isEnabled());
    EXPECT_TRUE(Get<QGroupBox>("Frame1")->isVisible());
    EXPECT_EQ(Items(Get<QListWidget>("List2")), QStringList{Native(volumes.start + "/a.txt")});
}

TEST_F(Options, TypedTimeStepSelectsTheEntryItMatchesWithDigitsOfEitherWidth) {
    Open();
    auto* combo = Get<QComboBox>("Combo1");
    auto* edit = combo->lineEdit();
    const struct {
        QString typed;
        int index;
    } rows[] = {{"abc", -1},  {"３０分", 2}, {"", -1},       {"１２時間", 14}, {"12時間", 14},
                {"3時間", 5}, {"３0分", 2},  {"3 時間", -1}, {"30", -1},       {"３時間半", -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed.toStdString());
        TypeInto(edit, row.typed);
        EXPECT_EQ(window->Combo1ListIndex(), row.index);
        EXPECT_EQ(window->ReadForm().Combo1ListIndex, row.index);
        // Enter ends the typing: a matching text becomes the entry itself.
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(combo->currentText(), row.index >= 0 ? combo->itemText(row.index) : row.typed);
        if (row.index >= 0) {
            EXPECT_EQ(combo->currentIndex(), row.index);
        }
        EXPECT_EQ(window->Combo1ListIndex(), row.index);
    }
}

// ---- Article lists

class Lists : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        for (const char* name : {"c.txt", "a.txt", "B.txt", ".hidden.txt"}) {
            WriteFile(volumes.start + "/" + name, "x");
        }
        QDir().mkpath(volumes.start + "/sub");
        WriteFile(volumes.start + "/sub/inner.txt", "x");
    }

    // Opens the window with the three visible files listed in name order.
    void OpenWithAllListed() {
        Open();
        DragItems(Get<QListWidget>("File1"), 0, 2);
        list1 = Get<QListWidget>("List1");
        list2 = Get<QListWidget>("List2");
    }

    QListWidget* list1 = nullptr;
    QListWidget* list2 = nullptr;
};

TEST_F(Lists, FileListShowsVisibleFilesInNameOrder) {
    Open();
    EXPECT_EQ(Items(Get<QListWidget>("File1")), (QStringList{"a.txt", "B.txt", "c.txt"}));
}

TEST_F(Lists, EachGestureAppendsTheSelectedFilesThatAreNotListedYet) {
    WriteFile(volumes.start + "/sub/a.txt", "x");
    Open();
    auto* file1 = Get<QListWidget>("File1");
    list1 = Get<QListWidget>("List1");
    list2 = Get<QListWidget>("List2");
    using Gesture = std::function<void()>;
    const auto click = [this, file1](int row, Qt::KeyboardModifiers modifiers = {}) {
        return Gesture([=, this] { ClickItem(file1, row, modifiers); });
    };
    const auto key = [file1](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        return Gesture([=] { QTest::keyClick(file1, k, modifiers); });
    };
    const auto drag = [this, file1](int from, int to) { return Gesture([=, this] { DragItems(file1, from, to); }); };
    const Gesture clear = [this] { Click("Command7"); };
    const struct {
        const char* what;
        std::vector<Gesture> gestures;
        QStringList list1;
    } rows[] = {
        {"one drag", {drag(0, 2)}, {"a.txt", "B.txt", "c.txt"}},
        {"the same drag twice", {drag(0, 2), drag(0, 2)}, {"a.txt", "B.txt", "c.txt"}},
        {"click and two control-clicks",
         {click(2), click(0, Qt::ControlModifier), click(1, Qt::ControlModifier)},
         {"c.txt", "a.txt", "B.txt"}},
        {"click and shift-click",
         {click(1), click(2, Qt::ShiftModifier), click(0, Qt::ShiftModifier)},
         {"B.txt", "c.txt", "a.txt"}},
        {"arrow keys", {click(0), key(Qt::Key_Down), key(Qt::Key_Down), key(Qt::Key_Up)}, {"a.txt", "B.txt", "c.txt"}},
        {"shift and arrow keys",
         {click(0), key(Qt::Key_Down, Qt::ShiftModifier), key(Qt::Key_Down, Qt::ShiftModifier)},
         {"a.txt", "B.txt", "c.txt"}},
        {"listed again after the lists were emptied", {click(1), clear, click(1)}, {"B.txt"}},
    };
    const QString folder = Native(volumes.start + "/");
    for (const auto& row : rows) {
        clear();
        for (const Gesture& gesture : row.gestures) {
            gesture();
        }
        QStringList paths;
        for (const QString& name : row.list1) {
            paths << folder + name;
        }
        EXPECT_EQ(Items(list1), row.list1) << row.what;
        EXPECT_EQ(Items(list2), paths) << row.what;
    }

    // The same name in another folder is another article.
    OpenFolder("Dir1", "sub");
    ClickItem(file1, 0);
    EXPECT_EQ(Items(list1), (QStringList{"B.txt", "a.txt"}));
    EXPECT_EQ(Items(list2), (QStringList{folder + "B.txt", folder + Native("sub/a.txt")}));
}

TEST_F(Lists, List1SelectionIsCopiedToList2) {
    OpenWithAllListed();
    ClickItem(list1, 1);
    EXPECT_EQ(list2->currentRow(), 1);
    ASSERT_EQ(list2->selectedItems().size(), 1);
    EXPECT_EQ(list2->selectedItems().first()->text(), Native(volumes.start + "/B.txt"));
}

TEST_F(Lists, RemoveOneNeedsASelectionAndRemoveAllNone) {
    OpenWithAllListed();
    Click("Command4");
    EXPECT_EQ(Texts(sink), QStringList{"ファイルが選択されていません"});
    EXPECT_EQ(sink.shown[0].icon, qb::MessageIcon::None);
    EXPECT_EQ(sink.shown[0].caption, u"Quillbrook");
    EXPECT_EQ(list1->count(), 3);

    ClickItem(list1, 1);
    Click("Command4");
    EXPECT_EQ(Items(list1), (QStringList{"a.txt", "c.txt"}));
    EXPECT_EQ(Items(list2), (QStringList{Native(volumes.start + "/a.txt"), Native(volumes.start + "/c.txt")}));
    EXPECT_EQ(sink.shown.size(), 1U);

    // Nothing is selected after a removal: a second press is refused.
    Click("Command4");
    EXPECT_EQ(sink.shown.size(), 2U);
    EXPECT_EQ(list1->count(), 2);

    Click("Command7");
    EXPECT_EQ(list1->count(), 0);
    EXPECT_EQ(list2->count(), 0);
    EXPECT_EQ(sink.shown.size(), 2U);
}

TEST_F(Lists, OpeningAFolderPointsTheFileListThereAndAppendsFromIt) {
    Open();
    OpenFolder("Dir1", "sub");
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), volumes.start + "/sub");
    EXPECT_EQ(Items(Get<QListWidget>("File1")), QStringList{"inner.txt"});
    ClickItem(Get<QListWidget>("File1"), 0);
    EXPECT_EQ(Items(Get<QListWidget>("List2")), QStringList{Native(volumes.start + "/sub/inner.txt")});

    // Back up the chain with the keyboard: the drive's root.
    auto* dir1 = Get<QListWidget>("Dir1");
    dir1->setCurrentRow(0);
    QTest::keyClick(dir1, Qt::Key_Return);
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), DriveA());
    EXPECT_EQ(dir1->item(0)->text(), Native(DriveA()));
    EXPECT_TRUE(Items(Get<QListWidget>("File1")).isEmpty());
}

TEST_F(Lists, FolderRemovedBeforeItIsOpenedIsReportedAndTheListRefreshed) {
    Open();
    QDir(volumes.start + "/sub").removeRecursively();
    OpenFolder("Dir1", "sub");
    EXPECT_EQ(Texts(sink), QStringList{QString::fromStdString(qb::ErrorDescription(qb::err::kPathNotFound))});
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), volumes.start);
    EXPECT_TRUE(Get<QListWidget>("Dir1")->findItems("sub", Qt::MatchExactly).isEmpty());
}

// ---- Drives

class Drives : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        WriteFile(volumes.start + "/a.txt", "x");
        WriteFile(DriveB() + "/b.txt", "x");
    }
    void Choose(const char* driveList, const QString& root) {
        auto* combo = Get<QComboBox>(driveList);
        const int target = combo->findData(root);
        ASSERT_GE(target, 0);
        // One key press per step; stop when the change handling turns the list back.
        while (combo->currentIndex() != target) {
            const int expected = combo->currentIndex() + (combo->currentIndex() < target ? 1 : -1);
            QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
            if (combo->currentIndex() != expected) {
                break;
            }
        }
    }
};

TEST_F(Drives, ChangingDriveShowsItsFolderAndComesBackToTheRememberedOne) {
    Open();
    Choose("Drive1", DriveB());
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), DriveB());
    EXPECT_EQ(Items(Get<QListWidget>("File1")), QStringList{"b.txt"});
    EXPECT_EQ(window->LastSourceDrive(), DriveB());

    Choose("Drive1", DriveA());
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), volumes.start);
    EXPECT_EQ(Items(Get<QListWidget>("File1")), QStringList{"a.txt"});
    EXPECT_EQ(window->LastSourceDrive(), DriveA());
    EXPECT_TRUE(sink.shown.empty());
}

// A drive that cannot be used is reported once and the list goes back to the drive shown
// before; when that one fails too (taken away while shown), still once and with no loop.
// Each drive list works on its own.
TEST_F(Drives, UnusableDriveIsReportedOnceAndTheListGoesBack) {
    const struct {
        const char* drive;
        const char* dir;
        bool rememberedFails;
    } cases[] = {{"Drive1", "Dir1", false}, {"Drive1", "Dir1", true}, {"Drive2", "Dir2", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.drive) + (c.rememberedFails ? " with the remembered drive failing too" : ""));
        const bool source = c.dir == std::string("Dir1");
        volumes.unready = {DriveC()};
        sink.shown.clear();
        Open();
        Choose(c.drive, DriveB());
        EXPECT_EQ(Get<qb::app::FolderList>(source ? "Dir2" : "Dir1")->Path(), volumes.start);
        if (c.rememberedFails) {
            volumes.unready.insert(DriveB());
        }
        Choose(c.drive, DriveC());
        EXPECT_EQ(Texts(sink), QStringList{QStringLiteral("デバイスが準備されていません。")});
        EXPECT_EQ(sink.shown[0].caption, u"Quillbrook");
        EXPECT_EQ(sink.shown[0].icon, qb::MessageIcon::None);
        EXPECT_EQ(Get<qb::app::DriveList>(c.drive)->CurrentRoot(), DriveB());
        EXPECT_EQ(Get<qb::app::FolderList>(c.dir)->Path(), DriveB());
        EXPECT_EQ(source ? window->ReadForm().Dir1Path : window->ReadForm().Dir2Path,
                  Native(DriveB()).toStdU16String());
        EXPECT_EQ(window->LastSourceDrive(), source ? DriveB() : DriveA());
        EXPECT_EQ(window->LastOutputDrive(), source ? DriveA() : DriveB());
        if (!c.rememberedFails) {
            EXPECT_EQ(Items(Get<QListWidget>("File1")), QStringList{source ? "b.txt" : "a.txt"});
        }
    }
}

TEST_F(Drives, DroppedDownListIsWideEnoughForItsLongestEntry) {
    volumes.volumes[1].label = QStringLiteral("ARTICLES-BACKUP-2024-SPRING");
    volumes.volumes[2].device = QStringLiteral("/dev/disk/by-label/a-rather-long-device-name");
    Open();
    EXPECT_EQ(Get<QComboBox>("Drive2")->itemText(1), volumes.volumes[1].root + " [ARTICLES-BACKUP-2024-SPRING]");
    // Fusion widens its pop-up list by itself; the Windows style keeps it as wide as the box.
    for (const char* styleName : {"Fusion", "Windows"}) {
        SCOPED_TRACE(styleName);
        const std::unique_ptr<QStyle> style(QStyleFactory::create(QString::fromLatin1(styleName)));
        ASSERT_NE(style, nullptr);
        for (const char* name : {"Drive1", "Drive2"}) {
            SCOPED_TRACE(name);
            auto* drive = Get<QComboBox>(name);
            drive->setStyle(style.get());
            const QRect closed = drive->geometry();
            drive->showPopup();
            QAbstractItemView* view = drive->view();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window())) << name;
            for (int i = 0; i < drive->count(); ++i) {
                EXPECT_GE(view->viewport()->width(), view->fontMetrics().horizontalAdvance(drive->itemText(i)) + 8)
                    << styleName << " " << name << " " << drive->itemText(i).toStdString();
            }
            EXPECT_EQ(drive->geometry(), closed) << name;
            drive->hidePopup();
            EXPECT_EQ(drive->geometry(), closed) << name;
            drive->setStyle(nullptr);
        }
    }
}

// ---- Start date and exit

class StartDate : public WindowTest {
protected:
    // A window shown while the notice keeps it disabled: its probe does not enable it.
    std::unique_ptr<MainWindow> OpenWaiting() {
        qb::app::MainWindowServices services{&sink, &clock, &volumes, [](QWidget& /*w*/) {}, {}};
        services.quit = [this](int code) { exitCodes.push_back(code); };
        auto waiting = std::make_unique<MainWindow>(std::move(services));
        waiting->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(waiting.get()));
        return waiting;
    }
};

TEST_F(StartDate, PlusThreeTimesThenRestoreBringsBackTheSavedDate) {
    Open();
    for (int i = 0; i < 3; ++i) {
        Click("Command5");
    }
    EXPECT_EQ(DateFields(), (QStringList{"2024", "03", "08", "08", "07"}));
    Click("Command1");
    EXPECT_EQ(DateFields(), (QStringList{"2024", "03", "05", "08", "07"}));
    // The next step starts from the saved date again.
    Click("Command5");
    EXPECT_EQ(DateFields(), (QStringList{"2024", "03", "06", "08", "07"}));
}

TEST_F(StartDate, DayButtonsStepFromTheWorkingDateAcrossMonthAndYearEnds) {
    clock.now = {2026, 12, 31, 23, 5, 0};
    Open();
    Type("Text3", "15");  // typed by hand: replaced by the step
    Click("Command5");
    EXPECT_EQ(DateFields(), (QStringList{"2027", "01", "01", "23", "05"}));
    Click("Command6");
    Click("Command6");
    EXPECT_EQ(DateFields(), (QStringList{"2026", "12", "30", "23", "05"}));
}

TEST_F(StartDate, StepPastTheLastDateIsReportedAndChangesNothing) {
    clock.now = {9999, 12, 31, 10, 0, 0};
    Open();
    Click("Command5");
    ASSERT_EQ(sink.shown.size(), 1U);
    EXPECT_EQ(sink.shown[0].text, qb::Utf8ToUtf16(qb::ErrorDescription(qb::err::kInvalidCall)));
    EXPECT_EQ(DateFields(), (QStringList{"9999", "12", "31", "10", "00"}));
    Click("Command6");
    EXPECT_EQ(DateFields(), (QStringList{"9999", "12", "30", "10", "00"}));
}

TEST_F(StartDate, CloseBoxDoesNothingWhileTheNoticeKeepsTheWindowDisabled) {
    const auto waiting = OpenWaiting();
    ASSERT_FALSE(waiting->isEnabled());
    // The close box, as the window system delivers it.
    const auto closeBox = [&waiting] {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        QCoreApplication::instance()->notify(waiting.get(), &event);  // sendEvent would clear the flag
        return event.isAccepted();
    };
    EXPECT_FALSE(closeBox());
    EXPECT_TRUE(exitCodes.empty());

    waiting->setEnabled(true);  // the notice has been closed
    EXPECT_TRUE(closeBox());
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(StartDate, ClosingFromTheProgramEndsItEvenWhileDisabled) {
    Open();
    window->close();
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_TRUE(OpenWaiting()->close());  // e.g. the session ending closes every window
    EXPECT_EQ(exitCodes, (std::vector<int>{0, 0}));
}

TEST_F(StartDate, ExitEndsTheProgramAtOnce) {
    WriteFile(volumes.start + "/a.txt", "x");
    Open();
    ClickItem(Get<QListWidget>("File1"), 0);
    Click("Option2");
    Click("Command2");
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_TRUE(sink.shown.empty());
}

}  // namespace
}  // namespace apptest
