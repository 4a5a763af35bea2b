#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSet>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QTextLayout>
#include <QTextOption>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/app_icon.h"
#include "app/app_setup.h"
#include "app/path_lists.h"
#include "app/screen_fit.h"
#include "app/window_style.h"
#include "common/run_error.h"
#include "files/paths.h"
#include "export/blog_folder.h"
#include "export/entry_dates.h"
#include "export/export_run.h"

namespace qb::app {

namespace {

// Twips to logical pixels (15 twips make a pixel at 96 dots per inch).
int Px(int twips) { return (twips + 7) / 15; }

QFont UiFont(qreal points, bool bold = false) {
    QFont font(UiFontFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }
std::u16string U(const QString& text) { return text.toStdU16String(); }

// A label as the window's notes were composed for: tabs every eight average character
// widths, no wrapping, a line step of the font's size, and a caption that is wider or
// taller than its label is drawn narrowed or closer rather than cut off (fonts that
// stand in for the original one run a little wider).
class NoteLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QString shown = text();
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (shown.endsWith(QLatin1Char('\n'))) {
            shown.chop(1);  // a final line break starts no line of its own
        }
        const QStringList lines = shown.split(QLatin1Char('\n'));

        QTextOption option(Qt::AlignLeft);  // alignment is applied when drawing
        option.setWrapMode(QTextOption::NoWrap);
        option.setTabStopDistance(8.0 * fontMetrics().averageCharWidth());
        std::vector<std::unique_ptr<QTextLayout>> layouts;
        qreal widest = 0;
        for (const QString& line : lines) {
            auto layout = std::make_unique<QTextLayout>(line, font());
            layout->setTextOption(option);
            layout->beginLayout();
            QTextLine textLine = layout->createLine();
            if (textLine.isValid()) {
                textLine.setLineWidth(1.0e6);
                widest = std::max(widest, textLine.naturalTextWidth());
            }
            layout->endLayout();
            layouts.push_back(std::move(layout));
        }

        const QRectF area(contentsRect());
        const QFontInfo info(font());
        const qreal fontHeight = std::max<qreal>(info.pixelSize(), 1.0);
        qreal step = std::min<qreal>(QFontMetricsF(font()).lineSpacing(), fontHeight);
        if (lines.size() > 1) {
            step = std::min(step, area.height() / static_cast<qreal>(lines.size()));
        }
        const qreal squeeze = (widest > area.width() && widest > 0) ? area.width() / widest : 1.0;

        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        painter.translate(area.topLeft());
        painter.scale(squeeze, 1.0);
        const qreal drawnWidth = area.width() / squeeze;
        for (std::size_t i = 0; i < layouts.size(); ++i) {
            QTextLayout& layout = *layouts[i];
            if (layout.lineCount() == 0) {
                continue;
            }
            const QTextLine textLine = layout.lineAt(0);
            qreal x = 0;
            if ((alignment() & Qt::AlignRight) != 0) {
                x = drawnWidth - textLine.naturalTextWidth();
            } else if ((alignment() & Qt::AlignHCenter) != 0) {
                x = (drawnWidth - textLine.naturalTextWidth()) / 2;
            }
            // A line taller than its room keeps its middle in the room.
            const qreal room = lines.size() > 1 ? step : area.height();
            const qreal top = static_cast<qreal>(i) * step + std::min<qreal>(0.0, (room - textLine.height()) / 2);
            layout.draw(&painter, QPointF(x, top));
        }
    }
};

// An option button that takes a click anywhere in its area, not only on its caption.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    [[nodiscard]] bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// A button that Enter (and the keypad's Enter) presses as well as Space, as on Windows.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            // A held key presses once.
            if (!event->isAutoRepeat()) {
                click();
            }
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

template <class Widget>
Widget* Place(QWidget* parent, const char* name, int left, int top, int width, int height, const QFont& font) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
    widget->setFont(font);
    return widget;
}

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, QRect twips, const QFont& font) {
    auto* label = Place<NoteLabel>(parent, name, twips.x(), twips.y(), twips.width(), twips.height(), font);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

template <class Button>
Button* PlaceButton(QWidget* parent, const char* name, const QString& text, QRect twips, const QFont& font) {
    auto* button = Place<Button>(parent, name, twips.x(), twips.y(), twips.width(), twips.height(), font);
    button->setText(text);
    return button;
}

QGroupBox* PlaceFrame(QWidget* parent, const char* name, const QString& caption, QRect twips, const QFont& font) {
    auto* frame = Place<QGroupBox>(parent, name, twips.x(), twips.y(), twips.width(), twips.height(), font);
    frame->setTitle(caption);
    return frame;
}

QRect T(int left, int top, int width, int height) { return {left, top, width, height}; }

// text with its full-width digits as ASCII digits.
QString WithAsciiDigits(QString text) {
    for (QChar& c : text) {
        if (c.unicode() >= u'０' && c.unicode() <= u'９') {
            c = QChar(static_cast<char16_t>(u'0' + (c.unicode() - u'０')));
        }
    }
    return text;
}

QString FaceStyle(const char* face, const char* pressed) {
    return QStringLiteral("QPushButton { background-color: %1; border: 1px solid #707070; border-radius: 3px; }"
                          "QPushButton:pressed { background-color: %2; }"
                          "QPushButton:focus { border: 2px solid #000000; }"
                          "QPushButton:disabled { color: #808080; }")
        .arg(QLatin1String(face), QLatin1String(pressed));
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

QString Label11Text() {
    return QStringLiteral("※　MovableType（通称MT） \r\n"
                          "　　　→　UTF-8（初期値。設定により変更）\r\n"
                          "※　SeesaaBlog\t　\t  \r\n"
                          "　　　→　EUC-JP：UTF-8：Shift_JIS（選択可）\r\n"
                          "※　FC2Blog\t\t  →　EUC-JP\r\n"
                          "※　LivedoorBlog（有料版）→　EUC-JP\r\n");
}

QString Label12Text() { return QStringLiteral("　　投稿用ファイル作成ツール       Ver3.0.0"); }

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    Q_ASSERT(services_.messages != nullptr && services_.clock != nullptr && services_.volumes != nullptr);
    setObjectName(QStringLiteral("fQuillbrook"));
    setWindowTitle(QStringLiteral("Quillbrook Ver 3.0.0"));
    setWindowIcon(AppIcon());
    setFont(UiFont(9));
    setEnabled(false);

    // The controls lie on the window's inside, which scrolls where the screen is too small.
    inside_ = new QWidget;
    inside_->setObjectName(QStringLiteral("Inside"));
    inside_->setFixedSize(Px(14235), Px(9135));
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("Scroller"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setWidget(inside_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller_);

    BuildControls();
    // Every control is drawn in the window's own way over the application's style.
    auto* look = new WindowStyle(QStyleFactory::create(QApplication::style()->name()));
    look->setParent(this);
    for (QWidget* control : inside_->findChildren<QWidget*>()) {
        control->setStyle(look);
    }
    FitToScreen();
    // A control that takes the focus comes into view whole, not only its caret.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*before*/, QWidget* now) {
        if (now != nullptr && inside_->isAncestorOf(now)) {
            ShowWhole(*now);
        }
    });
    Load();
}

void MainWindow::ShowWhole(const QWidget& control) {
    constexpr int kMargin = 6;
    const QRect area(control.mapTo(inside_, QPoint(0, 0)), control.size());
    scroller_->ensureVisible(area.center().x(), area.center().y(), area.width() / 2 + kMargin,
                             area.height() / 2 + kMargin);
}

void MainWindow::FitToScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroller_);
    const ScreenFit fit = FitOnScreen(inside_->size(), screen->availableGeometry(), frame, scrollBar);
    if (fit.scrolls) {
        // As large as the screen lets it be, and no larger than the content needs.
        setMinimumSize(std::min(fit.size.width(), 2 * scrollBar), std::min(fit.size.height(), 2 * scrollBar));
        setMaximumSize(inside_->size() + QSize(scrollBar, scrollBar));
        resize(fit.size);
    } else {
        setFixedSize(fit.size);
    }
    move(fit.position);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (followsScreen_) {
        return;
    }
    // Shown for the first time: the screen and the window's frame are known now.
    followsScreen_ = true;
    FitToScreen();
    if (QWindow* handle = windowHandle()) {
        connect(handle, &QWindow::screenChanged, this, &MainWindow::FollowScreen);
        FollowScreen(handle->screen());
    }
}

void MainWindow::FollowScreen(QScreen* screen) {
    disconnect(screenChange_);
    if (screen != nullptr) {
        // The screen's room changes (another resolution or scaling): fit the window again.
        screenChange_ = connect(screen, &QScreen::availableGeometryChanged, this, &MainWindow::FitToScreen);
    }
}

void MainWindow::BuildControls() {
    const QFont normal = font();
    const QFont bold1125 = UiFont(11.25, true);
    const QFont normal1125 = UiFont(11.25);

    // Title area.
    label7_ = PlaceLabel(inside_, "Label7", QStringLiteral("ラピコブログ　Quillbrook"), T(300, 150, 8055, 720), UiFont(36));
    label7_->setStyleSheet(QStringLiteral("color: #FF80FF; background-color: #FFC0FF;"));
    label12_ = PlaceLabel(inside_, "Label12", Label12Text(), T(9360, 600, 4110, 225), UiFont(11.25));
    label12_->setStyleSheet(QStringLiteral("color: #FF00FF; background-color: #FFC0FF;"));

    // Left half: the source.
    frame5_ = PlaceFrame(inside_, "Frame5", QStringLiteral("作成した文章ファイルがあるフォルダを指定"),
                         T(150, 1050, 6150, 6135), bold1125);
    frmGenbun_ = PlaceFrame(frame5_, "frmGenbun", QStringLiteral("原文の選択方法"), T(3000, 300, 3015, 915), normal);
    optFile_[0] = PlaceButton<OptionButton>(frmGenbun_, "optFile_0", QStringLiteral("ファイルを選択する"),
                                            T(150, 300, 2415, 180), normal);
    optFile_[1] = PlaceButton<OptionButton>(frmGenbun_, "optFile_1", QStringLiteral("１ブログを選択する"),
                                            T(150, 600, 2415, 180), normal);
    PlaceLabel(frame5_, "Label8_4", QStringLiteral("※　マウスを押しながらドラッグすると連続してファイルが選択できます"),
               T(240, 5640, 5775, 255), normal);

    source_.drive = Place<DriveList>(inside_, "Drive1", 300, 1440, 2535, 300, normal);
    source_.dir = Place<FolderList>(inside_, "Dir1", 300, 1920, 2535, 1770, normal);
    file1_ = Place<FileList>(inside_, "File1", 300, 3750, 2535, 2790, normal);
    command4_ = PlaceButton<CommandButton>(inside_, "Command4", QStringLiteral("指定されたファイルから１つ削除"),
                                         T(3120, 2400, 3015, 495), normal);
    command7_ = PlaceButton<CommandButton>(inside_, "Command7", QStringLiteral("指定されたファイルから全て削除"),
                                         T(3120, 2880, 3015, 495), normal);
    frame1_ = PlaceFrame(inside_, "Frame1", QStringLiteral("指定されたファイル"), T(3120, 3480, 3000, 3135), normal);
    list1_ = Place<QListWidget>(frame1_, "List1", 150, 240, 2715, 2760, normal);
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);

    // Bottom left.
    command2_ = PlaceButton<CommandButton>(inside_, "Command2", QStringLiteral("終　了"), T(240, 7800, 2415, 735),
                                         UiFont(18, true));
    command2_->setStyleSheet(FaceStyle("#ABABAB", "#8F8F8F"));
    command3_ = PlaceButton<CommandButton>(inside_, "Command3", QStringLiteral("ファイル作成"), T(3000, 7500, 3135, 1215),
                                         UiFont(14.25, true));
    command3_->setStyleSheet(FaceStyle("#FFC0FF", "#E8A0E8"));

    // Right half: the output.
    frame8_ = PlaceFrame(inside_, "Frame8", QStringLiteral("作成されるインポート用ファイル名を記入"),
                         T(6450, 1050, 7665, 7965), bold1125);
    SetTextColour(frame8_, QColor(0x00, 0x00, 0x00));
    label11_ = PlaceLabel(frame8_, "Label11", Label11Text(), T(150, 1500, 3495, 1095), normal);
    auto* frmKaigyou = PlaceFrame(frame8_, "frmKaigyou", QStringLiteral("改行設定"), T(150, 2700, 1815, 915), normal);
    optKaigyo_[0] =
        PlaceButton<OptionButton>(frmKaigyou, "optKaigyo_0", QStringLiteral("なし"), T(150, 300, 1515, 180), normal);
    optKaigyo_[1] = PlaceButton<OptionButton>(frmKaigyou, "optKaigyo_1", QStringLiteral("改行を変換する"),
                                              T(150, 600, 1515, 180), normal);
    auto* frmTitle = PlaceFrame(frame8_, "frmTitle", QStringLiteral("１行目の扱い"), T(2100, 2700, 1815, 915), normal);
    optTitle_[0] = PlaceButton<OptionButton>(frmTitle, "optTitle_0", QStringLiteral("タイトルのみ"),
                                             T(150, 300, 1515, 180), normal);
    optTitle_[1] = PlaceButton<OptionButton>(frmTitle, "optTitle_1", QStringLiteral("タイトル＆本文"),
                                             T(150, 600, 1515, 180), normal);
    PlaceLabel(frame8_, "Label8_1", QStringLiteral("※　現時刻はローカルPCの時間を使用します"), T(300, 5700, 5175, 195),
               normal);
    PlaceLabel(frame8_, "Label8_2", QStringLiteral("※　日にちの差分を計算後に時差分を足します"),
               T(300, 6000, 5175, 255), normal);

    text7_ = Place<QLineEdit>(inside_, "Text7", 6600, 1350, 3615, 420, UiFont(14.25));
    output_.drive = Place<DriveList>(inside_, "Drive2", 10500, 1350, 1335, 300, normal);
    output_.dir = Place<FolderList>(inside_, "Dir2", 10500, 1650, 3495, 2190, normal);

    auto* frame7 = PlaceFrame(inside_, "Frame7", QStringLiteral("文字コード"), T(6600, 1800, 3765, 615), normal);
    option13_ = PlaceButton<OptionButton>(frame7, "Option13", QStringLiteral("UTF-8"), T(120, 300, 1095, 180), normal);
    option12_ = PlaceButton<OptionButton>(frame7, "Option12", QStringLiteral("EUC"), T(1320, 300, 1455, 180), normal);
    option14_ =
        PlaceButton<OptionButton>(frame7, "Option14", QStringLiteral("Shift-JIS"), T(2400, 300, 1095, 180), normal);
    option13_->setChecked(true);

    auto* frame3 = PlaceFrame(inside_, "Frame3", QStringLiteral("公開の種類"), T(10500, 4050, 3465, 615), normal);
    option2_ = PlaceButton<OptionButton>(frame3, "Option2", QStringLiteral("公　開"), T(120, 300, 1095, 255), normal);
    option3_ = PlaceButton<OptionButton>(frame3, "Option3", QStringLiteral("未公開"), T(1200, 300, 1300, 255), normal);
    option1_ = PlaceButton<OptionButton>(frame3, "Option1", QStringLiteral("指定日"), T(2400, 300, 975, 255), normal);

    frame2_ = PlaceFrame(inside_, "Frame2", QString(), T(6600, 4800, 7365, 1785), normal);
    auto* label13 = PlaceLabel(frame2_, "Label1_3", QStringLiteral("起点日"), T(120, 300, 975, 375), bold1125);
    label13->setAlignment(Qt::AlignRight | Qt::AlignTop);
    dateFields_[0] = Place<QLineEdit>(frame2_, "Text1", 1200, 300, 975, 330, normal1125);
    PlaceLabel(frame2_, "Label2_0", QStringLiteral("年"), T(2280, 300, 255, 255), bold1125);
    dateFields_[1] = Place<QLineEdit>(frame2_, "Text2", 2640, 300, 495, 330, normal1125);
    PlaceLabel(frame2_, "Label2_1", QStringLiteral("月"), T(3240, 300, 255, 255), bold1125);
    dateFields_[2] = Place<QLineEdit>(frame2_, "Text3", 3600, 300, 495, 330, normal1125);
    PlaceLabel(frame2_, "Label3", QStringLiteral("日"), T(4200, 300, 255, 255), bold1125);
    dateFields_[3] = Place<QLineEdit>(frame2_, "Text4", 4950, 300, 495, 330, normal1125);
    PlaceLabel(frame2_, "Label4", QStringLiteral("時"), T(5520, 300, 375, 255), bold1125);
    dateFields_[4] = Place<QLineEdit>(frame2_, "Text5", 5880, 300, 495, 330, normal1125);
    PlaceLabel(frame2_, "Label5", QStringLiteral("分"), T(6480, 300, 375, 255), bold1125);
    const QColor maroon(0x80, 0x00, 0x00);
    SetTextColour(PlaceLabel(frame2_, "Label6_1", QStringLiteral("起点日変更"), T(1200, 750, 1200, 225), bold1125),
                  maroon);
    command5_ = PlaceButton<CommandButton>(frame2_, "Command5", QStringLiteral("+"), T(2760, 750, 615, 375), UiFont(18));
    command6_ = PlaceButton<CommandButton>(frame2_, "Command6", QStringLiteral("-"), T(3600, 750, 600, 375), UiFont(18));
    command1_ = PlaceButton<CommandButton>(frame2_, "Command1", QStringLiteral("元に戻す"), T(4440, 750, 975, 375),
                                         UiFont(9.75, true));
    SetTextColour(PlaceLabel(frame2_, "Label6_0", QStringLiteral("日　差"), T(450, 1350, 645, 225), bold1125), maroon);
    auto* frame4 = PlaceFrame(frame2_, "Frame4", QString(), T(1200, 1200, 3495, 465), normal);
    option4_ = PlaceButton<OptionButton>(frame4, "Option4", QStringLiteral("１日"), T(120, 150, 735, 255), UiFont(9.75));
    option5_ = PlaceButton<OptionButton>(frame4, "Option5", QStringLiteral("２日"), T(960, 150, 735, 255), normal);
    option6_ = PlaceButton<OptionButton>(frame4, "Option6", QStringLiteral("３日"), T(1800, 150, 700, 255), normal);
    option9_ = PlaceButton<OptionButton>(frame4, "Option9", QStringLiteral("同日"), T(2640, 150, 735, 255), normal);
    SetTextColour(PlaceLabel(frame2_, "Label6_2", QStringLiteral("時　差"), T(4800, 1350, 645, 225), bold1125), maroon);
    combo1_ = Place<QComboBox>(frame2_, "Combo1", 5520, 1350, 1455, 300, normal);
    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);

    auto* frame6 = PlaceFrame(inside_, "Frame6", QStringLiteral("カテゴリ"), T(6600, 7350, 7365, 1455), normal);
    option7_ = PlaceButton<OptionButton>(frame6, "Option7", QStringLiteral("フォルダー名を使う"),
                                         T(300, 300, 2055, 285), normal);
    option8_ =
        PlaceButton<OptionButton>(frame6, "Option8", QStringLiteral("タイトルを使う"), T(2850, 300, 1455, 285), normal);
    option11_ = PlaceButton<OptionButton>(frame6, "Option11", QStringLiteral("ファイル名を使う"),
                                          T(4650, 300, 1815, 285), normal);
    option10_ = PlaceButton<OptionButton>(frame6, "Option10", QStringLiteral("以下に指定した名を使う"),
                                          T(300, 600, 2175, 285), normal);
    SetTextColour(PlaceLabel(frame6, "Label8_0", QStringLiteral("※　タイトルは記事内の第一行めの文章を使用"),
                             T(2850, 600, 3555, 180), normal),
                  QColor(0x00, 0x00, 0xFF));
    text8_ = Place<QLineEdit>(frame6, "Text8", 300, 900, 5775, 375, normal1125);
    text8_->setEnabled(false);

    // The line ends of the import file, in the room right of the notes on dates: CR LF as
    // ever, or LF for Movable Type on a Unix server, whose importer reads nothing else.
    auto* frame9 = PlaceFrame(inside_, "Frame9", QStringLiteral("改行コード"), T(12000, 6660, 1965, 615), normal);
    frame9->setToolTip(QStringLiteral("LF：Linux など Unix のサーバーで動く MovableType 用"));
    option15_ = PlaceButton<OptionButton>(frame9, "Option15", QStringLiteral("CR+LF"), T(120, 300, 915, 255), normal);
    option16_ = PlaceButton<OptionButton>(frame9, "Option16", QStringLiteral("LF"), T(1140, 300, 705, 255), normal);
    option15_->setChecked(true);

    list2_ = Place<QListWidget>(inside_, "List2", 120, 7320, 615, 240, normal);
    list2_->setSelectionMode(QAbstractItemView::SingleSelection);
    list2_->hide();

    // The keyboard follows the screen: the left half from top to bottom (the source lists,
    // then the mode, the removal buttons and the chosen files, then the two large buttons),
    // then the right half from top to bottom, starting with the file name.
    const std::vector<QWidget*> order = {
        source_.drive, source_.dir, file1_,       optFile_[0], optFile_[1], command4_,       command7_,
        list1_,        command2_,   command3_,    text7_,      output_.drive, output_.dir,   option13_,
        option12_,     option14_,   optKaigyo_[0], optKaigyo_[1], optTitle_[0], optTitle_[1], option2_,
        option3_,      option1_,    dateFields_[0], dateFields_[1], dateFields_[2], dateFields_[3],
        dateFields_[4], command5_,  command6_,    command1_,   option4_,    option5_,        option6_,
        option9_,      combo1_,     option15_,    option16_,   option7_,    option8_,        option11_,
        option10_,     text8_};
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void MainWindow::Load() {
    frame2_->setTitle(Q(kFrame2StartCaption));
    FormState form;
    ShowDateFields(form, StartUpDateFields(state_.dates, *services_.clock));
    WriteDateFields(form);
    combo1_->clear();
    for (const std::u16string& item : Combo1Entries()) {
        combo1_->addItem(Q(item));
    }
    combo1_->setCurrentIndex(0);

    StartDrive(source_);
    StartDrive(output_);
    ConnectHandlers();

    optFile_[0]->setChecked(true);
    optKaigyo_[0]->setChecked(true);
    optTitle_[0]->setChecked(true);

    if (services_.probe) {
        services_.probe(*this);
    } else {
        setEnabled(true);
    }
}

void MainWindow::StartDrive(DrivePair& pair) {
    const VolumeSource& volumes = *services_.volumes;
    pair.drive->SetVolumes(volumes.Volumes());
    const QString start = volumes.StartFolder();
    QString root = pair.drive->RootHolding(start);
    if (root.isEmpty()) {
        root = pair.drive->CurrentRoot();
    } else {
        pair.drive->RememberFolder(root, start);
    }
    {
        const QSignalBlocker blocker(pair.drive);
        pair.drive->SelectRoot(root);
    }
    if (!root.isEmpty() && volumes.IsReady(root)) {
        pair.dir->ShowDrive(root, pair.drive->FolderFor(root));
    }
    pair.last = root;
}

void MainWindow::ConnectHandlers() {
    for (int index = 0; index < 2; ++index) {
        connect(optFile_[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) {
                OnOptFile(index);
            }
        });
        connect(optKaigyo_[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) {
                state_.KaigyoMode = static_cast<std::int16_t>(index);
            }
        });
        connect(optTitle_[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) {
                state_.TitleMode = static_cast<std::int16_t>(index);
            }
        });
    }
    const auto onSelected = [this](QRadioButton* button, auto handler) {
        connect(button, &QRadioButton::toggled, this, [handler](bool on) {
            if (on) {
                handler();
            }
        });
    };
    onSelected(option1_, [this] { frame2_->setTitle(Q(Frame2CaptionFor(true))); });
    onSelected(option2_, [this] { frame2_->setTitle(Q(Frame2CaptionFor(false))); });
    onSelected(option3_, [this] { frame2_->setTitle(Q(Frame2CaptionFor(false))); });
    onSelected(option7_, [this] { text8_->setEnabled(false); });
    onSelected(option8_, [this] { text8_->setEnabled(false); });
    onSelected(option10_, [this] { text8_->setEnabled(true); });

    for (DrivePair* pair : {&source_, &output_}) {
        connect(pair->drive, &QComboBox::currentIndexChanged, this, [this, pair] { OnDriveChange(*pair); });
        connect(pair->dir, &FolderList::OpenFailed, this, &MainWindow::OnFolderOpenFailed);
        connect(pair->dir, &FolderList::PathChanged, this,
                [pair](const QString& path) { pair->drive->RememberFolder(pair->dir->Root(), path); });
    }
    connect(source_.dir, &FolderList::PathChanged, this, &MainWindow::OnDir1Change);
    for (const FolderList* dir : {source_.dir, output_.dir}) {
        connect(dir, &FolderList::RefreshAsked, this, &MainWindow::RefreshLists);
    }
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refresh, &QShortcut::activated, this, &MainWindow::RefreshLists);
    file1_->SetFolder(source_.dir->Path());
    connect(file1_, &FileList::Clicked, this, &MainWindow::OnFile1Click);
    connect(list1_, &QListWidget::itemSelectionChanged, this, &MainWindow::OnList1Click);

    connect(combo1_->lineEdit(), &QLineEdit::editingFinished, this, &MainWindow::OnCombo1EditingFinished);

    connect(command4_, &QPushButton::clicked, this, &MainWindow::OnCommand4);
    connect(command7_, &QPushButton::clicked, this, &MainWindow::OnCommand7);
    connect(command3_, &QPushButton::clicked, this, &MainWindow::OnCommand3);
    connect(command5_, &QPushButton::clicked, this, [this] { OnDayStep(1); });
    connect(command6_, &QPushButton::clicked, this, [this] { OnDayStep(-1); });
    connect(command1_, &QPushButton::clicked, this, &MainWindow::OnCommand1);
    connect(command2_, &QPushButton::clicked, this, &MainWindow::OnCommand2);
}

// ---- State exchange with the engine

int MainWindow::Combo1ListIndex() const {
    const QString typed = combo1_->currentText();
    const int index = combo1_->currentIndex();
    if (index >= 0 && combo1_->itemText(index) == typed) {
        return index;
    }
    const int exact = combo1_->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (exact >= 0) {
        return exact;
    }
    // "3時間" typed with an ASCII digit looks just like the entry "３時間".
    const QString folded = WithAsciiDigits(typed);
    for (int i = 0; i < combo1_->count(); ++i) {
        if (WithAsciiDigits(combo1_->itemText(i)) == folded) {
            return i;
        }
    }
    return -1;
}

void MainWindow::OnCombo1EditingFinished() {
    const int index = Combo1ListIndex();
    if (index >= 0 && combo1_->currentText() != combo1_->itemText(index)) {
        combo1_->setCurrentIndex(index);
        combo1_->setEditText(combo1_->itemText(index));
    }
}

FormState MainWindow::ReadModel() const {
    FormState form;
    form.Text1 = U(dateFields_[0]->text());
    form.Text2 = U(dateFields_[1]->text());
    form.Text3 = U(dateFields_[2]->text());
    form.Text4 = U(dateFields_[3]->text());
    form.Text5 = U(dateFields_[4]->text());
    form.Text7 = U(text7_->text());
    form.Text8 = U(text8_->text());
    form.Option1 = option1_->isChecked();
    form.Option2 = option2_->isChecked();
    form.Option3 = option3_->isChecked();
    form.Option4 = option4_->isChecked();
    form.Option5 = option5_->isChecked();
    form.Option6 = option6_->isChecked();
    form.Option9 = option9_->isChecked();
    form.Option7 = option7_->isChecked();
    form.Option8 = option8_->isChecked();
    form.Option10 = option10_->isChecked();
    form.Option11 = option11_->isChecked();
    form.Option12 = option12_->isChecked();
    form.Option13 = option13_->isChecked();
    form.Option14 = option14_->isChecked();
    form.Option16 = option16_->isChecked();
    form.Combo1ListIndex = Combo1ListIndex();
    form.KaigyoMode = state_.KaigyoMode;
    form.TitleMode = state_.TitleMode;
    form.Dir1Path = U(NativePath(source_.dir->Path()));
    form.Dir2Path = U(NativePath(output_.dir->Path()));
    for (int i = 0; i < list1_->count(); ++i) {
        form.List1.push_back(U(list1_->item(i)->text()));
    }
    for (int i = 0; i < list2_->count(); ++i) {
        form.List2.push_back(U(list2_->item(i)->text()));
    }
    return form;
}

void MainWindow::WriteDateFields(const FormState& form) {
    const std::array<const std::u16string*, 5> texts = {&form.Text1, &form.Text2, &form.Text3, &form.Text4,
                                                        &form.Text5};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        dateFields_[i]->setText(Q(*texts[i]));
    }
}

void MainWindow::WriteLists(const FormState& form) {
    list1_->clear();
    list2_->clear();
    for (const std::u16string& name : form.List1) {
        list1_->addItem(Q(name));
    }
    for (const std::u16string& path : form.List2) {
        list2_->addItem(Q(path));
    }
}

void MainWindow::ShowMessage(const QString& text) { services_.messages->Show(U(text)); }

void MainWindow::ShowFailure(int number) { ShowMessage(QString::fromStdString(ErrorDescription(number))); }

void MainWindow::EndProgram(int code) {
    if (services_.quit) {
        services_.quit(code);
    } else {
        QCoreApplication::exit(code);
    }
}

// ---- Source selection

void MainWindow::OnOptFile(int index) {
    state_.SourceMode = static_cast<std::int16_t>(index);
    const bool fileMode = index == 0;
    command4_->setEnabled(fileMode);
    command7_->setEnabled(fileMode);
    frame1_->setVisible(fileMode);
}

void MainWindow::OnDriveChange(DrivePair& pair) {
    const QString chosen = pair.drive->CurrentRoot();
    if (!services_.volumes->IsReady(chosen)) {
        // Shown once: not again when the return to the remembered drive fails as well.
        if (!pair.undoing) {
            ShowFailure(err::kDeviceUnavailable);
        }
        if (pair.undoing || chosen == pair.last) {
            return;
        }
        pair.undoing = true;
        pair.drive->SelectRoot(pair.last);
        pair.undoing = false;
        return;
    }
    // Any other failure: the folder list keeps its folder, the remembered drive stays.
    if (pair.dir->ShowDrive(chosen, pair.drive->FolderFor(chosen))) {
        pair.last = chosen;
    }
}

void MainWindow::OnDir1Change(const QString& path) { file1_->SetFolder(path); }

void MainWindow::RefreshLists() {
    source_.dir->Refresh();
    file1_->Refresh();
    output_.dir->Refresh();
}

void MainWindow::OnFolderOpenFailed(const QString& path) {
    const int number = QFileInfo::exists(path) ? err::kPermissionDenied : err::kPathNotFound;
    ShowFailure(number);
}

void MainWindow::OnFile1Click() {
    const QString folder = NativePath(WithTrailingSeparator(source_.dir->Path()));
    // A file already listed is not listed again: the export would post it twice.
    QSet<QString> listed;
    for (int i = 0; i < list2_->count(); ++i) {
        listed.insert(list2_->item(i)->text());
    }
    const int count = file1_->count();
    for (int p = 0; p < count; ++p) {
        const QListWidgetItem* item = file1_->item(p);
        if (!item->isSelected()) {
            continue;
        }
        state_.SourceFolder = U(folder);
        const QString path = folder + item->text();
        if (listed.contains(path)) {
            continue;
        }
        listed.insert(path);
        list1_->addItem(item->text());
        list2_->addItem(path);
    }
}

void MainWindow::OnList1Click() {
    const QList<QListWidgetItem*> selected = list1_->selectedItems();
    list2_->clearSelection();
    if (!selected.isEmpty()) {
        const int row = list1_->row(selected.first());
        if (row < list2_->count()) {
            list2_->item(row)->setSelected(true);
            list2_->setCurrentRow(row);
        }
    }
}

void MainWindow::OnCommand4() {
    const QList<QListWidgetItem*> selected = list1_->selectedItems();
    if (selected.isEmpty()) {
        ShowMessage(QStringLiteral("ファイルが選択されていません"));
        return;
    }
    // List2's selection follows List1's, so both lose the same position.
    const int row = list1_->row(selected.first());
    const QSignalBlocker blocker(list1_);
    delete list1_->takeItem(row);
    delete list2_->takeItem(row);
    list1_->clearSelection();
    list2_->clearSelection();
    list1_->setCurrentRow(-1);
    list2_->setCurrentRow(-1);
}

void MainWindow::OnCommand7() {
    list1_->clear();
    list2_->clear();
}

void MainWindow::OnCommand3() {
    FormState form = ReadModel();
    if (state_.SourceMode == 1) {
        try {
            ShowArticles(form, FillListsFromBlogFolder(form.Dir1Path));
        } catch (const RunError& error) {
            // The blog folder cannot be listed: nothing to export.
            ShowFailure(error.Number());
            return;
        }
        WriteLists(form);
    }
    // The run moves the start date on article by article; a message shows over the window
    // with its date fields as the run has left them so far.
    class FieldsFirst final : public MessageSink {
    public:
        explicit FieldsFirst(MainWindow& window) : window_(window) {}
        using MessageSink::Show;
        void Show(const std::u16string& text, MessageIcon icon, const std::u16string& caption) override {
            if (run != nullptr) {
                FormState fields;
                ShowDateFields(fields, run->fields);
                window_.WriteDateFields(fields);
            }
            window_.services_.messages->Show(text, icon, caption);
        }
        const ExportRun* run = nullptr;

    private:
        MainWindow& window_;
    };
    FieldsFirst messages(*this);
    const ExportSettings settings = SettingsFromForm(form);
    ExportRun run(settings, state_.dates, messages, *services_.clock);
    messages.run = &run;
    const ExportResult result = RunExport(run);
    ShowResult(form, result);
    WriteLists(form);
    WriteDateFields(form);
    text7_->setText(Q(form.Text7));
    if (result.outcome == ExportOutcome::ProgramMustEnd) {
        EndProgram(1);
    }
}

// ---- Start-date buttons and exit

void MainWindow::OnDayStep(int amount) {
    FormState form = ReadModel();
    DateFields fields = DateFieldsOf(form);
    try {
        StepWorkDate(state_.dates, fields, u"d", amount);
    } catch (const RunError& error) {
        // A step past the last or first date there is: the date stays.
        ShowFailure(error.Number());
        return;
    }
    ShowDateFields(form, fields);
    WriteDateFields(form);
}

void MainWindow::OnCommand1() {
    FormState form = ReadModel();
    DateFields fields = DateFieldsOf(form);
    RestoreStartDate(state_.dates, fields);
    ShowDateFields(form, fields);
    WriteDateFields(form);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // While the notice window keeps the window disabled, its close box does nothing; the
    // program's own closing (the session ending) still goes ahead.
    if (!isEnabled() && event->spontaneous()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    EndProgram(0);
}

void MainWindow::OnCommand2() {
    // No file stays open between runs; the program ends at once.
    EndProgram(0);
}

}  // namespace qb::app
