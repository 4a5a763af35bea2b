#include "app/window_layout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>

#include "app/app_setup.h"
#include "app/path_lists.h"
#include "app/widgets.h"
#include "common/twips.h"

namespace qb::app {

namespace {

using K = ControlKind;

constexpr RowFont kBold1125{11.25, true};
constexpr RowFont kPlain1125{11.25};
constexpr Colours kMaroon{.text = "#800000"};

// Parents come before their children. The frames on the window's inside come before the
// controls that lie on them but are not theirs: those are drawn over the frame.
// One row per line where it fits: the table reads as a table.
// clang-format off
constexpr ControlRow kRows[] = {
    // Title area.
    {"Label7", nullptr, K::Label, "ラピコブログ　Quillbrook", {300, 150, 8055, 720}, {36},
     {.text = "#FF80FF", .back = "#FFC0FF"}},
    {"Label12", nullptr, K::Label, "　　投稿用ファイル作成ツール       Ver" QB_VERSION, {9360, 600, 4110, 225}, {11.25},
     {.text = "#FF00FF", .back = "#FFC0FF"}},

    // Left half: the source.
    {"Frame5", nullptr, K::Frame, "作成した文章ファイルがあるフォルダを指定", {150, 1050, 6150, 6135}, kBold1125},
    {"frmGenbun", "Frame5", K::Frame, "原文の選択方法", {3000, 300, 3015, 915}},
    {"optFile_0", "frmGenbun", K::Option, "ファイルを選択する", {150, 300, 2415, 180}},
    {"optFile_1", "frmGenbun", K::Option, "１ブログを選択する", {150, 600, 2415, 180}},
    {"Label8_4", "Frame5", K::Label, "※　マウスを押しながらドラッグすると連続してファイルが選択できます",
     {240, 5640, 5775, 255}},
    {"Drive1", nullptr, K::Drives, "", {300, 1440, 2535, 300}},
    {"Dir1", nullptr, K::Folders, "", {300, 1920, 2535, 1770}},
    {"File1", nullptr, K::Files, "", {300, 3750, 2535, 2790}},
    {"Command4", nullptr, K::Command, "指定されたファイルから１つ削除", {3120, 2400, 3015, 495}},
    {"Command7", nullptr, K::Command, "指定されたファイルから全て削除", {3120, 2880, 3015, 495}},
    {"Frame1", nullptr, K::Frame, "指定されたファイル", {3120, 3480, 3000, 3135}},
    {"List1", "Frame1", K::List, "", {150, 240, 2715, 2760}},
    // Between the source frame and the two large buttons.
    {"Check1", nullptr, K::Check, "機種依存文字を文字参照で書く", {240, 7215, 5895, 255}, {}, {}, {},
     "①、㈱、髙、絵文字などを「&#9312;」のような文字参照で書きます。"
     "MovableType の Shift_JIS・EUC-JP の取り込みでは、これらの文字が化けるか失われます。"},

    // Bottom left.
    {"Command2", nullptr, K::Command, "終　了", {240, 7800, 2415, 735}, {18, true},
     {.back = "#ABABAB", .pressed = "#8F8F8F"}},
    {"Command3", nullptr, K::Command, "ファイル作成", {3000, 7500, 3135, 1215}, {14.25, true},
     {.back = "#FFC0FF", .pressed = "#E8A0E8"}},
    // Below them, how a big blog is written in parts for its importer.
    {"Label13", nullptr, K::Label, "ファイルの分割", {240, 8820, 1215, 255}},
    {"Combo2", nullptr, K::DropDown, "", {1500, 8775, 4635, 300}},

    // Right half: the output.
    {"Frame8", nullptr, K::Frame, "作成されるインポート用ファイル名を記入", {6450, 1050, 7665, 7965}, kBold1125,
     {.text = "#000000"}},
    {"Label11", "Frame8", K::Label,
     "※　MovableType（通称MT） \r\n"
     "　　　→　UTF-8（初期値。設定により変更）\r\n"
     "※　SeesaaBlog\t　\t  \r\n"
     "　　　→　EUC-JP：UTF-8：Shift_JIS（選択可）\r\n"
     "※　FC2Blog\t\t  →　EUC-JP\r\n"
     "※　LivedoorBlog（有料版）→　EUC-JP\r\n",
     {150, 1500, 3495, 1095}},
    {"frmKaigyou", "Frame8", K::Frame, "改行設定", {150, 2700, 1815, 915}},
    {"optKaigyo_0", "frmKaigyou", K::Option, "なし", {150, 300, 1515, 180}},
    {"optKaigyo_1", "frmKaigyou", K::Option, "改行を変換する", {150, 600, 1515, 180}},
    {"frmTitle", "Frame8", K::Frame, "１行目の扱い", {2100, 2700, 1815, 915}},
    {"optTitle_0", "frmTitle", K::Option, "タイトルのみ", {150, 300, 1515, 180}},
    {"optTitle_1", "frmTitle", K::Option, "タイトル＆本文", {150, 600, 1515, 180}},
    {"Label8_1", "Frame8", K::Label, "※　現時刻はローカルPCの時間を使用します", {300, 5700, 5175, 195}},
    {"Label8_2", "Frame8", K::Label, "※　日にちの差分を計算後に時差分を足します", {300, 6000, 5175, 255}},

    {"Text7", nullptr, K::TextBox, "", {6600, 1350, 3615, 420}, {14.25}},
    {"Drive2", nullptr, K::Drives, "", {10500, 1350, 1335, 300}},
    {"Dir2", nullptr, K::Folders, "", {10500, 1650, 3495, 2190}},

    {"Frame7", nullptr, K::Frame, "文字コード", {6600, 1800, 3765, 615}},
    {"Option13", "Frame7", K::Option, "UTF-8", {120, 300, 1095, 180}},
    {"Option12", "Frame7", K::Option, "EUC", {1320, 300, 1455, 180}},
    {"Option14", "Frame7", K::Option, "Shift-JIS", {2400, 300, 1095, 180}},

    {"Frame3", nullptr, K::Frame, "公開の種類", {10500, 4050, 3465, 615}},
    {"Option2", "Frame3", K::Option, "公　開", {120, 300, 1095, 255}},
    {"Option3", "Frame3", K::Option, "未公開", {1200, 300, 1300, 255}},
    {"Option1", "Frame3", K::Option, "指定日", {2400, 300, 975, 255}},

    // The start date; the frame's caption says whether it applies.
    {"Frame2", nullptr, K::Frame, "", {6600, 4800, 7365, 1785}},
    {"Label1_3", "Frame2", K::Label, "起点日", {120, 300, 975, 375}, kBold1125, {}, Qt::AlignRight | Qt::AlignTop},
    {"Text1", "Frame2", K::TextBox, "", {1200, 300, 975, 330}, kPlain1125},
    {"Label2_0", "Frame2", K::Label, "年", {2280, 300, 255, 255}, kBold1125},
    {"Text2", "Frame2", K::TextBox, "", {2640, 300, 495, 330}, kPlain1125},
    {"Label2_1", "Frame2", K::Label, "月", {3240, 300, 255, 255}, kBold1125},
    {"Text3", "Frame2", K::TextBox, "", {3600, 300, 495, 330}, kPlain1125},
    {"Label3", "Frame2", K::Label, "日", {4200, 300, 255, 255}, kBold1125},
    {"Text4", "Frame2", K::TextBox, "", {4950, 300, 495, 330}, kPlain1125},
    {"Label4", "Frame2", K::Label, "時", {5520, 300, 375, 255}, kBold1125},
    {"Text5", "Frame2", K::TextBox, "", {5880, 300, 495, 330}, kPlain1125},
    {"Label5", "Frame2", K::Label, "分", {6480, 300, 375, 255}, kBold1125},
    {"Label6_1", "Frame2", K::Label, "起点日変更", {1200, 750, 1200, 225}, kBold1125, kMaroon},
    {"Command5", "Frame2", K::Command, "+", {2760, 750, 615, 375}, {18}},
    {"Command6", "Frame2", K::Command, "-", {3600, 750, 600, 375}, {18}},
    {"Command1", "Frame2", K::Command, "元に戻す", {4440, 750, 975, 375}, {9.75, true}},
    {"Label6_0", "Frame2", K::Label, "日　差", {450, 1350, 645, 225}, kBold1125, kMaroon},
    {"Frame4", "Frame2", K::Frame, "", {1200, 1200, 3495, 465}},
    {"Option4", "Frame4", K::Option, "１日", {120, 150, 735, 255}, {9.75}},
    {"Option5", "Frame4", K::Option, "２日", {960, 150, 735, 255}},
    {"Option6", "Frame4", K::Option, "３日", {1800, 150, 700, 255}},
    {"Option9", "Frame4", K::Option, "同日", {2640, 150, 735, 255}},
    {"Label6_2", "Frame2", K::Label, "時　差", {4800, 1350, 645, 225}, kBold1125, kMaroon},
    {"Combo1", "Frame2", K::ComboBox, "", {5520, 1350, 1455, 300}},

    {"Frame6", nullptr, K::Frame, "カテゴリ", {6600, 7350, 7365, 1455}},
    {"Option7", "Frame6", K::Option, "フォルダー名を使う", {300, 300, 2055, 285}},
    {"Option8", "Frame6", K::Option, "タイトルを使う", {2850, 300, 1455, 285}},
    {"Option11", "Frame6", K::Option, "ファイル名を使う", {4650, 300, 1815, 285}},
    {"Option10", "Frame6", K::Option, "以下に指定した名を使う", {300, 600, 2175, 285}},
    {"Label8_0", "Frame6", K::Label, "※　タイトルは記事内の第一行めの文章を使用", {2850, 600, 3555, 180}, {},
     {.text = "#0000FF"}},
    {"Text8", "Frame6", K::TextBox, "", {300, 900, 5775, 375}, kPlain1125},

    // The line ends of the import file, in the room right of the notes on dates: CR LF by
    // default, or LF for Movable Type on a Unix server, whose importer reads nothing else.
    {"Frame9", nullptr, K::Frame, "改行コード", {12000, 6660, 1965, 615}, {}, {}, {},
     "LF：Linux など Unix のサーバーで動く MovableType 用"},
    {"Option15", "Frame9", K::Option, "CR+LF", {120, 300, 915, 255}},
    {"Option16", "Frame9", K::Option, "LF", {1140, 300, 705, 255}},

    // The full paths of the chosen articles, beside their names in List1; never shown.
    {"List2", nullptr, K::List, "", {120, 7320, 615, 240}},
};
// clang-format on

// Within the left half the source lists come first, then the mode, the removal buttons and
// the chosen files, then the two large buttons and the parts below them; the right half
// starts with the file name.
constexpr const char* kKeyboardOrder[] = {
    "Drive1",   "Dir1",     "File1",       "optFile_0",   "optFile_1",  "Command4",   "Command7", "List1",
    "Check1",   "Command2", "Command3",    "Combo2",      "Text7",      "Drive2",     "Dir2",     "Option13",
    "Option12", "Option14", "optKaigyo_0", "optKaigyo_1", "optTitle_0", "optTitle_1", "Option2",  "Option3",
    "Option1",  "Text1",    "Text2",       "Text3",       "Text4",      "Text5",      "Command5", "Command6",
    "Command1", "Option4",  "Option5",     "Option6",     "Option9",    "Combo1",     "Option15", "Option16",
    "Option7",  "Option8",  "Option11",    "Option10",    "Text8"};

QWidget* Make(ControlKind kind, QWidget* parent) {
    switch (kind) {
    case K::Frame:
        return new QGroupBox(parent);
    case K::Label:
        return new NoteLabel(parent);
    case K::Option:
        return new OptionButton(parent);
    case K::Check:
        return new CheckButton(parent);
    case K::Command:
        return new CommandButton(parent);
    case K::TextBox:
        return new QLineEdit(parent);
    case K::ComboBox:
    case K::DropDown:
        return new QComboBox(parent);
    case K::List:
        return new QListWidget(parent);
    case K::Drives:
        return new DriveList(parent);
    case K::Folders:
        return new FolderList(parent);
    case K::Files:
        return new FileList(parent);
    }
    return nullptr;
}

QString FaceStyle(const char* face, const char* pressed) {
    return QStringLiteral(
               "QPushButton { background-color: %1; border: 1px solid #707070; border-radius: 3px; }"
               "QPushButton:pressed { background-color: %2; }"
               "QPushButton:focus { border: 2px solid #000000; }"
               "QPushButton:disabled { color: #808080; }")
        .arg(QLatin1String(face), QLatin1String(pressed));
}

// What only some kinds have: a caption, a label's alignment, a list's single choice, the
// combo box's typing.
void Complete(QWidget* control, const ControlRow& row) {
    const QString caption = QString::fromUtf8(row.caption);
    switch (row.kind) {
    case K::Frame:
        static_cast<QGroupBox*>(control)->setTitle(caption);
        break;
    case K::Label:
        static_cast<QLabel*>(control)->setText(caption);
        static_cast<QLabel*>(control)->setAlignment(row.align);
        break;
    case K::Option:
    case K::Check:
    case K::Command:
        static_cast<QAbstractButton*>(control)->setText(caption);
        break;
    case K::ComboBox:
        static_cast<QComboBox*>(control)->setEditable(true);
        static_cast<QComboBox*>(control)->setInsertPolicy(QComboBox::NoInsert);
        break;
    case K::List:
        static_cast<QListWidget*>(control)->setSelectionMode(QAbstractItemView::SingleSelection);
        break;
    default:
        break;
    }
}

void Colour(QWidget* control, const Colours& colours) {
    if (colours.back != nullptr && colours.pressed != nullptr) {
        control->setStyleSheet(FaceStyle(colours.back, colours.pressed));
    } else if (colours.back != nullptr) {
        control->setStyleSheet(QStringLiteral("color: %1; background-color: %2;")
                                   .arg(QLatin1String(colours.text), QLatin1String(colours.back)));
    } else if (colours.text != nullptr) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, QColor(QLatin1String(colours.text)));
        control->setPalette(palette);
    }
}

}  // namespace

std::span<const ControlRow> WindowLayout() { return kRows; }

std::span<const char* const> KeyboardOrder() { return kKeyboardOrder; }

QRect ToPixels(const TwipRect& twips) {
    return {TwipsToPixels(twips.left), TwipsToPixels(twips.top), TwipsToPixels(twips.width),
            TwipsToPixels(twips.height)};
}

QFont UiFont(qreal points, bool bold) {
    QFont font(UiFontFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

Controls BuildLayout(QWidget& inside, const QFont& windowFont) {
    Controls controls;
    for (const ControlRow& row : kRows) {
        QWidget* parent = row.parent == nullptr ? &inside : controls.Find(row.parent);
        Q_ASSERT_X(parent != nullptr, "BuildLayout", row.name);
        QWidget* control = Make(row.kind, parent);
        control->setObjectName(QString::fromLatin1(row.name));
        control->setGeometry(ToPixels(row.twips));
        control->setFont(row.font.points > 0 ? UiFont(row.font.points, row.font.bold) : windowFont);
        Complete(control, row);
        Colour(control, row.colours);
        if (row.tip != nullptr) {
            control->setToolTip(QString::fromUtf8(row.tip));
        }
        controls.Add(control->objectName(), control);
    }
    for (std::size_t i = 1; i < std::size(kKeyboardOrder); ++i) {
        QWidget::setTabOrder(controls.Find(kKeyboardOrder[i - 1]), controls.Find(kKeyboardOrder[i]));
    }
    return controls;
}

}  // namespace qb::app
