// The main window clicked through as a user would: start-up state, layout, the option
// handling, the article lists, the drive lists and the start-date buttons.

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QtTest/qtestspontaneevent.h>

#include "app/path_lists.h"
#include "app_test_support.h"
#include "common/run_error.h"

namespace apptest {
namespace {

using qb::app::MainWindow;

QStringList CheckedOptions(QWidget* window) {
    QStringList names;
    for (const QRadioButton* button : window->findChildren<QRadioButton*>()) {
        if (button->isChecked()) {
            names << button->objectName();
        }
    }
    names.sort();
    return names;
}

QStringList DateFields(WindowTest& t, const std::function<QLineEdit*(const char*)>& get) {
    (void)t;
    QStringList fields;
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5"}) {
        fields << get(name)->text();
    }
    return fields;
}

class StartUp : public WindowTest {};

TEST_F(StartUp, SelectsExactlyTheFirstMembersAndUtf8AndLeavesTheRestClear) {
    Open();
    EXPECT_EQ(CheckedOptions(window.get()),
              (QStringList{"Option13", "Option15", "optFile_0", "optKaigyo_0", "optTitle_0"}));
    EXPECT_EQ(window->state().SourceMode, 0);
    EXPECT_EQ(window->state().KaigyoMode, 0);
    EXPECT_EQ(window->state().TitleMode, 0);

    EXPECT_FALSE(Get<QLineEdit>("Text8")->isEnabled());
    EXPECT_TRUE(Get<QLineEdit>("Text8")->text().isEmpty());
    EXPECT_TRUE(Get<QLineEdit>("Text7")->text().isEmpty());
    EXPECT_EQ(Get<QGroupBox>("Frame2")->title(), QStringLiteral("無効"));

    auto* combo = Get<QComboBox>("Combo1");
    const QStringList expected = {"変更なし", "ランダム", "３０分",   "１時間",   "２時間",
                                  "３時間",   "４時間",   "５時間",   "６時間",   "７時間",
                                  "８時間",   "９時間",   "１０時間", "１１時間", "１２時間"};
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(combo->currentText(), QStringLiteral("変更なし"));
    EXPECT_EQ(window->Combo1ListIndex(), 0);
    EXPECT_TRUE(combo->isEditable());

    // Started at 08:07:45 on 5 March 2024: the fields and the saved start date.
    EXPECT_EQ(DateFields(*this, [this](const char* n) { return Get<QLineEdit>(n); }),
              (QStringList{"2024", "03", "05", "08", "07"}));
    EXPECT_EQ(window->state().dates.StartDateText, u"2024/03/05 08:07:45");
    EXPECT_EQ(window->state().dates.WorkDateText, u"2024/03/05 08:07:45");

    // Single-file mode: removal buttons usable, chosen-files frame shown, List2 never.
    EXPECT_TRUE(Get<QPushButton>("Command4")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>("Command7")->isEnabled());
    EXPECT_TRUE(Get<QGroupBox>("Frame1")->isVisible());
    EXPECT_FALSE(Get<QListWidget>("List2")->isVisible());

    EXPECT_EQ(window->LastSourceDrive(), DriveA());
    EXPECT_EQ(window->LastOutputDrive(), DriveA());
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), volumes.start);
    EXPECT_EQ(Get<qb::app::FolderList>("Dir2")->Path(), volumes.start);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(StartUp, ProbeRunsLastOnTheDisabledWindowAndEnablesIt) {
    Open();
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

struct Placed {
    const char* name;
    const char* parent;
    QString caption;
    int left, top, width, height;  // twips
};

int Px(int twips) { return (twips + 7) / 15; }

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

TEST_F(StartUp, EveryControlSitsInItsContainerWithItsCaptionAndPlace) {
    Open();
    const std::vector<Placed> table = {
        {"Label7", "fQuillbrook", "ラピコブログ　Quillbrook", 300, 150, 8055, 720},
        {"Label12", "fQuillbrook", "　　投稿用ファイル作成ツール       Ver3.0.0", 9360, 600, 4110, 225},
        {"Frame5", "fQuillbrook", "作成した文章ファイルがあるフォルダを指定", 150, 1050, 6150, 6135},
        {"frmGenbun", "Frame5", "原文の選択方法", 3000, 300, 3015, 915},
        {"optFile_0", "frmGenbun", "ファイルを選択する", 150, 300, 2415, 180},
        {"optFile_1", "frmGenbun", "１ブログを選択する", 150, 600, 2415, 180},
        {"Label8_4", "Frame5", "※　マウスを押しながらドラッグすると連続してファイルが選択できます", 240, 5640, 5775, 255},
        {"Drive1", "fQuillbrook", "", 300, 1440, 2535, 300},
        {"Dir1", "fQuillbrook", "", 300, 1920, 2535, 1770},
        {"File1", "fQuillbrook", "", 300, 3750, 2535, 2790},
        {"Command4", "fQuillbrook", "指定されたファイルから１つ削除", 3120, 2400, 3015, 495},
        {"Command7", "fQuillbrook", "指定されたファイルから全て削除", 3120, 2880, 3015, 495},
        {"Frame1", "fQuillbrook", "指定されたファイル", 3120, 3480, 3000, 3135},
        {"List1", "Frame1", "", 150, 240, 2715, 2760},
        {"Command2", "fQuillbrook", "終　了", 240, 7800, 2415, 735},
        {"Command3", "fQuillbrook", "ファイル作成", 3000, 7500, 3135, 1215},
        {"Frame8", "fQuillbrook", "作成されるインポート用ファイル名を記入", 6450, 1050, 7665, 7965},
        {"Label11", "Frame8", qb::app::Label11Text(), 150, 1500, 3495, 1095},
        {"frmKaigyou", "Frame8", "改行設定", 150, 2700, 1815, 915},
        {"optKaigyo_0", "frmKaigyou", "なし", 150, 300, 1515, 180},
        {"optKaigyo_1", "frmKaigyou", "改行を変換する", 150, 600, 1515, 180},
        {"frmTitle", "Frame8", "１行目の扱い", 2100, 2700, 1815, 915},
        {"optTitle_0", "frmTitle", "タイトルのみ", 150, 300, 1515, 180},
        {"optTitle_1", "frmTitle", "タイトル＆本文", 150, 600, 1515, 180},
        {"Label8_1", "Frame8", "※　現時刻はローカルPCの時間を使用します", 300, 5700, 5175, 195},
        {"Label8_2", "Frame8", "※　日にちの差分を計算後に時差分を足します", 300, 6000, 5175, 255},
        {"Text7", "fQuillbrook", "", 6600, 1350, 3615, 420},
        {"Drive2", "fQuillbrook", "", 10500, 1350, 1335, 300},
        {"Dir2", "fQuillbrook", "", 10500, 1650, 3495, 2190},
        {"Frame7", "fQuillbrook", "文字コード", 6600, 1800, 3765, 615},
        {"Option13", "Frame7", "UTF-8", 120, 300, 1095, 180},
        {"Option12", "Frame7", "EUC", 1320, 300, 1455, 180},
        {"Option14", "Frame7", "Shift-JIS", 2400, 300, 1095, 180},
        {"Frame3", "fQuillbrook", "公開の種類", 10500, 4050, 3465, 615},
        {"Option2", "Frame3", "公　開", 120, 300, 1095, 255},
        {"Option3", "Frame3", "未公開", 1200, 300, 1300, 255},
        {"Option1", "Frame3", "指定日", 2400, 300, 975, 255},
        {"Frame2", "fQuillbrook", "無効", 6600, 4800, 7365, 1785},
        {"Label1_3", "Frame2", "起点日", 120, 300, 975, 375},
        {"Text1", "Frame2", "", 1200, 300, 975, 330},
        {"Label2_0", "Frame2", "年", 2280, 300, 255, 255},
        {"Text2", "Frame2", "", 2640, 300, 495, 330},
        {"Label2_1", "Frame2", "月", 3240, 300, 255, 255},
        {"Text3", "Frame2", "", 3600, 300, 495, 330},
        {"Label3", "Frame2", "日", 4200, 300, 255, 255},
        {"Text4", "Frame2", "", 4950, 300, 495, 330},
        {"Label4", "Frame2", "時", 5520, 300, 375, 255},
        {"Text5", "Frame2", "", 5880, 300, 495, 330},
        {"Label5", "Frame2", "分", 6480, 300, 375, 255},
        {"Label6_1", "Frame2", "起点日変更", 1200, 750, 1200, 225},
        {"Command5", "Frame2", "+", 2760, 750, 615, 375},
        {"Command6", "Frame2", "-", 3600, 750, 600, 375},
        {"Command1", "Frame2", "元に戻す", 4440, 750, 975, 375},
        {"Label6_0", "Frame2", "日　差", 450, 1350, 645, 225},
        {"Frame4", "Frame2", "", 1200, 1200, 3495, 465},
        {"Option4", "Frame4", "１日", 120, 150, 735, 255},
        {"Option5", "Frame4", "２日", 960, 150, 735, 255},
        {"Option6", "Frame4", "３日", 1800, 150, 700, 255},
        {"Option9", "Frame4", "同日", 2640, 150, 735, 255},
        {"Label6_2", "Frame2", "時　差", 4800, 1350, 645, 225},
        {"Combo1", "Frame2", "", 5520, 1350, 1455, 300},
        {"Frame6", "fQuillbrook", "カテゴリ", 6600, 7350, 7365, 1455},
        {"Option7", "Frame6", "フォルダー名を使う", 300, 300, 2055, 285},
        {"Option8", "Frame6", "タイトルを使う", 2850, 300, 1455, 285},
        {"Option11", "Frame6", "ファイル名を使う", 4650, 300, 1815, 285},
        {"Option10", "Frame6", "以下に指定した名を使う", 300, 600, 2175, 285},
        {"Label8_0", "Frame6", "※　タイトルは記事内の第一行めの文章を使用", 2850, 600, 3555, 180},
        {"Text8", "Frame6", "", 300, 900, 5775, 375},
        {"List2", "fQuillbrook", "", 120, 7320, 615, 240},
        {"Frame9", "fQuillbrook", "改行コード", 12000, 6660, 1965, 615},
        {"Option15", "Frame9", "CR+LF", 120, 300, 915, 255},
        {"Option16", "Frame9", "LF", 1140, 300, 705, 255},
    };
    for (const Placed& p : table) {
        auto* widget = Get<QWidget>(p.name);
        ASSERT_NE(widget, nullptr);
        // Controls on the window lie on its inside, which scrolls on small screens.
        const QString parent = QString::fromLatin1(p.parent);
        EXPECT_EQ(widget->parentWidget()->objectName(), parent == "fQuillbrook" ? "Inside" : parent) << p.name;
        EXPECT_EQ(CaptionOf(widget), p.caption) << p.name;
        EXPECT_EQ(widget->geometry(), QRect(Px(p.left), Px(p.top), Px(p.width), Px(p.height))) << p.name;
    }
    EXPECT_EQ(window->size(), QSize(949, 609));
    EXPECT_EQ(Get<QWidget>("Inside")->size(), QSize(949, 609));
    EXPECT_EQ(Get<QWidget>("Inside")->window(), window.get());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillbrook Ver 3.0.0"));
    const QList<QSize> iconSizes = window->windowIcon().availableSizes();
    for (const int side : {16, 32, 48}) {
        EXPECT_TRUE(iconSizes.contains(QSize(side, side))) << side;
    }
    EXPECT_EQ(qb::app::Label11Text().count(QStringLiteral("\r\n")), 6);
}

TEST_F(StartUp, FontsFollowTheirControls) {
    Open();
    const struct {
        const char* name;
        qreal points;
        bool bold;
    } table[] = {{"Label7", 36, false},    {"Label12", 11.25, false}, {"Frame5", 11.25, true},
                 {"Frame8", 11.25, true},  {"Command2", 18, true},    {"Command3", 14.25, true},
                 {"Text7", 14.25, false},  {"Label1_3", 11.25, true}, {"Text1", 11.25, false},
                 {"Command5", 18, false},  {"Command1", 9.75, true},  {"Option4", 9.75, false},
                 {"Option5", 9, false},    {"Text8", 11.25, false},   {"Label11", 9, false},
                 {"optFile_0", 9, false}};
    for (const auto& row : table) {
        const QFont font = Get<QWidget>(row.name)->font();
        EXPECT_EQ(font.family(), QStringLiteral("ＭＳ Ｐゴシック")) << row.name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), row.points) << row.name;
        EXPECT_EQ(font.bold(), row.bold) << row.name;
    }
    // Without the original face the Japanese substitutes are asked for in order.
    // (Qt keeps family names in lower case.)
    EXPECT_EQ(QFont::substitutes(QStringLiteral("ＭＳ Ｐゴシック")),
              (QStringList{"ms pgothic", "ipapgothic", "noto sans cjk jp"}));
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

TEST_F(Options, LineBreakAndFirstLineClicksStoreTheIndex) {
    Open();
    const struct {
        const char* click;
        int kaigyo;
        int title;
    } steps[] = {{"optKaigyo_1", 1, 0}, {"optTitle_1", 1, 1}, {"optKaigyo_0", 0, 1}, {"optTitle_0", 0, 0}};
    for (const auto& step : steps) {
        Click(step.click);
        EXPECT_EQ(window->state().KaigyoMode, step.kaigyo) << step.click;
        EXPECT_EQ(window->state().TitleMode, step.title) << step.click;
    }
}

TEST_F(Options, BlogFolderModeHidesTheChosenFilesWithoutTouchingThem) {
    WriteFile(volumes.start + "/a.txt", "x");
    Open();
    auto* file1 = Get<QListWidget>("File1");
    ClickItem(file1, 0);
    Click("optFile_1");
    EXPECT_EQ(window->state().SourceMode, 1);
    EXPECT_FALSE(Get<QPushButton>("Command4")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("Command7")->isEnabled());
    EXPECT_FALSE(Get<QGroupBox>("Frame1")->isVisible());
    EXPECT_EQ(Items(Get<QListWidget>("List1")), QStringList{"a.txt"});
    Click("optFile_0");
    EXPECT_EQ(window->state().SourceMode, 0);
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
    } rows[] = {{"abc", -1},    {"３０分", 2},   {"", -1},         {"１２時間", 14}, {"12時間", 14},
                {"3時間", 5},   {"３0分", 2},    {"3 時間", -1},   {"30", -1},       {"３時間半", -1}};
    for (const auto& row : rows) {
        TypeInto(edit, row.typed);
        EXPECT_EQ(window->Combo1ListIndex(), row.index) << row.typed.toStdString();
        EXPECT_EQ(window->ReadModel().Combo1ListIndex, row.index) << row.typed.toStdString();
        // Enter ends the typing: a matching text becomes the entry itself.
        QTest::keyClick(edit, Qt::Key_Return);
        const QString shown = row.index >= 0 ? combo->itemText(row.index) : row.typed;
        EXPECT_EQ(combo->currentText(), shown) << row.typed.toStdString();
        if (row.index >= 0) {
            EXPECT_EQ(combo->currentIndex(), row.index) << row.typed.toStdString();
        }
        EXPECT_EQ(window->Combo1ListIndex(), row.index) << row.typed.toStdString();
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
};

TEST_F(Lists, FileListShowsVisibleFilesInNameOrder) {
    Open();
    EXPECT_EQ(Items(Get<QListWidget>("File1")), (QStringList{"a.txt", "B.txt", "c.txt"}));
}

TEST_F(Lists, EachGestureAppendsTheSelectedFilesThatAreNotListedYet) {
    WriteFile(volumes.start + "/sub/a.txt", "x");
    Open();
    auto* file1 = Get<QListWidget>("File1");
    auto* list1 = Get<QListWidget>("List1");
    auto* list2 = Get<QListWidget>("List2");
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
        {"click and two control-clicks", {click(2), click(0, Qt::ControlModifier), click(1, Qt::ControlModifier)},
         {"c.txt", "a.txt", "B.txt"}},
        {"click and shift-click", {click(1), click(2, Qt::ShiftModifier), click(0, Qt::ShiftModifier)},
         {"B.txt", "c.txt", "a.txt"}},
        {"arrow keys", {click(0), key(Qt::Key_Down), key(Qt::Key_Down), key(Qt::Key_Up)}, {"a.txt", "B.txt", "c.txt"}},
        {"shift and arrow keys", {click(0), key(Qt::Key_Down, Qt::ShiftModifier), key(Qt::Key_Down, Qt::ShiftModifier)},
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
    EXPECT_EQ(window->state().SourceFolder, folder.toStdU16String());

    // The same name in another folder is another article.
    OpenFolder("Dir1", "sub");
    ClickItem(file1, 0);
    EXPECT_EQ(Items(list1), (QStringList{"B.txt", "a.txt"}));
    EXPECT_EQ(Items(list2), (QStringList{folder + "B.txt", folder + Native("sub/a.txt")}));
}

TEST_F(Lists, List1SelectionIsCopiedToList2) {
    Open();
    DragItems(Get<QListWidget>("File1"), 0, 2);
    auto* list1 = Get<QListWidget>("List1");
    auto* list2 = Get<QListWidget>("List2");
    ClickItem(list1, 1);
    EXPECT_EQ(list2->currentRow(), 1);
    ASSERT_EQ(list2->selectedItems().size(), 1);
    EXPECT_EQ(list2->selectedItems().first()->text(), Native(volumes.start + "/B.txt"));
}

TEST_F(Lists, RemoveOneNeedsASelectionAndRemovesTheSamePositionFromBoth) {
    Open();
    DragItems(Get<QListWidget>("File1"), 0, 2);
    auto* list1 = Get<QListWidget>("List1");
    auto* list2 = Get<QListWidget>("List2");

    Click("Command4");
    EXPECT_EQ(sink.Texts(), QStringList{"ファイルが選択されていません"});
    EXPECT_EQ(sink.messages[0].icon, qb::MessageIcon::None);
    EXPECT_EQ(sink.messages[0].caption, QStringLiteral("Quillbrook"));
    EXPECT_EQ(list1->count(), 3);

    ClickItem(list1, 1);
    Click("Command4");
    EXPECT_EQ(Items(list1), (QStringList{"a.txt", "c.txt"}));
    EXPECT_EQ(Items(list2), (QStringList{Native(volumes.start + "/a.txt"), Native(volumes.start + "/c.txt")}));
    EXPECT_EQ(sink.messages.size(), 1U);

    // Nothing is selected after a removal: a second press is refused.
    Click("Command4");
    EXPECT_EQ(sink.messages.size(), 2U);
    EXPECT_EQ(list1->count(), 2);
}

TEST_F(Lists, RemoveAllEmptiesBoth) {
    Open();
    DragItems(Get<QListWidget>("File1"), 0, 2);
    Click("Command7");
    EXPECT_EQ(Get<QListWidget>("List1")->count(), 0);
    EXPECT_EQ(Get<QListWidget>("List2")->count(), 0);
    EXPECT_TRUE(sink.messages.empty());
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
    EXPECT_EQ(sink.Texts(), QStringList{QString::fromStdString(qb::ErrorDescription(qb::err::kPathNotFound))});
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
    QString SourceRoot() { return Get<qb::app::DriveList>("Drive1")->CurrentRoot(); }
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
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(Drives, UnusableDriveIsReportedOnceAndTheListGoesBack) {
    volumes.unready.insert(DriveC());
    Open();
    Choose("Drive1", DriveB());
    Choose("Drive1", DriveC());
    EXPECT_EQ(sink.Texts(), QStringList{QStringLiteral("デバイスが準備されていません。")});
    EXPECT_EQ(sink.messages[0].caption, QStringLiteral("Quillbrook"));
    EXPECT_EQ(sink.messages[0].icon, qb::MessageIcon::None);
    EXPECT_EQ(SourceRoot(), DriveB());
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), DriveB());
    EXPECT_EQ(Items(Get<QListWidget>("File1")), QStringList{"b.txt"});
    EXPECT_EQ(window->LastSourceDrive(), DriveB());
}

TEST_F(Drives, RememberedDriveFailingTooGivesOneMessageAndNoLoop) {
    volumes.unready.insert(DriveC());
    Open();
    Choose("Drive1", DriveB());
    volumes.unready.insert(DriveB());  // taken away while shown
    Choose("Drive1", DriveC());
    EXPECT_EQ(sink.messages.size(), 1U);
    EXPECT_EQ(SourceRoot(), DriveB());
    EXPECT_EQ(window->LastSourceDrive(), DriveB());
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), DriveB());
}

TEST_F(Drives, OutputDriveListWorksTheSameWayOnItsOwn) {
    volumes.unready.insert(DriveC());
    Open();
    Choose("Drive2", DriveB());
    EXPECT_EQ(Get<qb::app::FolderList>("Dir2")->Path(), DriveB());
    EXPECT_EQ(window->LastOutputDrive(), DriveB());
    EXPECT_EQ(window->LastSourceDrive(), DriveA());
    EXPECT_EQ(Get<qb::app::FolderList>("Dir1")->Path(), volumes.start);
    Choose("Drive2", DriveC());
    EXPECT_EQ(sink.messages.size(), 1U);
    EXPECT_EQ(Get<qb::app::DriveList>("Drive2")->CurrentRoot(), DriveB());
    EXPECT_EQ(window->ReadModel().Dir2Path, Native(DriveB()).toStdU16String());
}

TEST_F(Drives, DroppedDownListIsWideEnoughForItsLongestEntry) {
    volumes.volumes[1].label = QStringLiteral("ARTICLES-BACKUP-2024-SPRING");
    volumes.volumes[2].device = QStringLiteral("/dev/disk/by-label/a-rather-long-device-name");
    Open();
    EXPECT_EQ(Get<QComboBox>("Drive2")->itemText(1), volumes.volumes[1].root + " [ARTICLES-BACKUP-2024-SPRING]");
    // Fusion widens its pop-up list by itself; the Windows style keeps it as wide as the box.
    for (const char* styleName : {"Fusion", "Windows"}) {
        const std::unique_ptr<QStyle> style(QStyleFactory::create(QString::fromLatin1(styleName)));
        ASSERT_NE(style, nullptr) << styleName;
        for (const char* name : {"Drive1", "Drive2"}) {
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
    QStringList Fields() {
        return DateFields(*this, [this](const char* n) { return Get<QLineEdit>(n); });
    }
};

TEST_F(StartDate, PlusThreeTimesThenRestoreBringsBackTheSavedDate) {
    Open();
    for (int i = 0; i < 3; ++i) {
        Click("Command5");
    }
    EXPECT_EQ(Fields(), (QStringList{"2024", "03", "08", "08", "07"}));
    Click("Command1");
    EXPECT_EQ(Fields(), (QStringList{"2024", "03", "05", "08", "07"}));
    EXPECT_EQ(window->state().dates.WorkDate, window->state().dates.StartDate.value());
    EXPECT_EQ(window->state().dates.WorkDateText, u"2024/03/05 08:07:45");
}

TEST_F(StartDate, DayButtonsStepFromTheWorkingDateAcrossMonthAndYearEnds) {
    clock.now = {2026, 12, 31, 23, 5, 0};
    Open();
    Type("Text3", "15");  // typed by hand: replaced by the step
    Click("Command5");
    EXPECT_EQ(Fields(), (QStringList{"2027", "01", "01", "23", "05"}));
    Click("Command6");
    Click("Command6");
    EXPECT_EQ(Fields(), (QStringList{"2026", "12", "30", "23", "05"}));
}

TEST_F(StartDate, StepPastTheLastDateIsReportedAndChangesNothing) {
    clock.now = {9999, 12, 31, 10, 0, 0};
    Open();
    Click("Command5");
    ASSERT_EQ(sink.messages.size(), 1U);
    EXPECT_EQ(sink.messages[0].text, QString::fromStdString(qb::ErrorDescription(qb::err::kInvalidCall)));
    EXPECT_EQ(Fields(), (QStringList{"9999", "12", "31", "10", "00"}));
    Click("Command6");
    EXPECT_EQ(Fields(), (QStringList{"9999", "12", "30", "10", "00"}));
}

TEST_F(StartDate, ClosingTheWindowEndsTheProgram) {
    Open();
    window->close();
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(StartDate, CloseBoxDoesNothingWhileTheNoticeKeepsTheWindowDisabled) {
    qb::app::MainWindowServices services{&sink, &clock, &volumes, {}, {}};
    services.probe = [](QWidget& /*w*/) {};  // the notice is up: the window stays disabled
    services.quit = [this](int code) { exitCodes.push_back(code); };
    MainWindow waiting(std::move(services));
    waiting.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&waiting));
    ASSERT_FALSE(waiting.isEnabled());
    // The close box, as the window system delivers it.
    const auto closeBox = [&waiting] {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        QCoreApplication::instance()->notify(&waiting, &event);  // sendEvent would clear the flag
        return event.isAccepted();
    };
    EXPECT_FALSE(closeBox());
    EXPECT_TRUE(exitCodes.empty());

    waiting.setEnabled(true);  // the notice has been closed
    EXPECT_TRUE(closeBox());
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(StartDate, ClosingFromTheProgramEndsItEvenWhileDisabled) {
    qb::app::MainWindowServices services{&sink, &clock, &volumes, {}, {}};
    services.probe = [](QWidget& /*w*/) {};
    services.quit = [this](int code) { exitCodes.push_back(code); };
    MainWindow waiting(std::move(services));
    waiting.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&waiting));
    EXPECT_TRUE(waiting.close());  // e.g. the session ending closes every window
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(StartDate, ExitEndsTheProgramAtOnce) {
    WriteFile(volumes.start + "/a.txt", "x");
    Open();
    ClickItem(Get<QListWidget>("File1"), 0);
    Click("Option2");
    Click("Command2");
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace apptest
