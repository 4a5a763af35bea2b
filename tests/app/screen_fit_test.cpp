// The window on screens of every size: whole where it fits, scrolling where it does not.

#include <QGuiApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>

#include "app/screen_fit.h"
#include "app_test_support.h"

namespace apptest {
namespace {

using qb::app::FitOnScreen;

TEST(FitOnScreenTest, CentresWhereItFitsAndScrollsFromTheTopLeftWhereNot) {
    const QSize content(949, 609);
    const QMargins frame(4, 30, 4, 4);
    const int bar = 15;
    const struct {
        const char* what;
        QRect available;
        QPoint position;
        QSize size;
        bool scrolls;
    } rows[] = {
        {"wide screen", {0, 0, 1280, 1024}, {161, 190}, content, false},
        {"room to spare below a top panel", {0, 40, 1920, 1040}, {481, 238}, content, false},
        {"just enough", {100, 0, 957, 643}, {100, 0}, content, false},
        {"150 % on 1280 x 800", {1280, 0, 853, 533}, {1280, 0}, {845, 499}, true},
        {"too narrow only", {0, 0, 800, 900}, {0, 0}, {792, 624}, true},
        {"too low only", {0, 0, 1280, 600}, {0, 0}, {964, 566}, true},
        {"too low by less than a scroll bar, then too narrow", {0, 0, 960, 640}, {0, 0}, {952, 606}, true},
    };
    for (const auto& row : rows) {
        const qb::app::ScreenFit fit = FitOnScreen(content, row.available, frame, bar);
        EXPECT_EQ(fit.position, row.position) << row.what;
        EXPECT_EQ(fit.size, row.size) << row.what;
        EXPECT_EQ(fit.scrolls, row.scrolls) << row.what;
        // Frame and all, the window stays on the screen's room.
        EXPECT_TRUE(row.available.contains(QRect(fit.position, fit.size.grownBy(frame)))) << row.what;
    }
}

class ScreenFitWindow : public WindowTest {
protected:
    static QScreen* Screen(const char* name) {
        for (QScreen* screen : QGuiApplication::screens()) {
            if (screen->name() == QLatin1String(name)) {
                return screen;
            }
        }
        return nullptr;
    }
    QScrollArea* Scroller() { return Get<QScrollArea>("Scroller"); }
};

TEST_F(ScreenFitWindow, OnAWideScreenTheWindowIsWholeCentredAndFixed) {
    QScreen* wide = Screen("wide");
    if (wide == nullptr) {
        GTEST_SKIP() << "needs the headless screens of screens.json";
    }
    Open(wide);
    EXPECT_EQ(window->screen(), wide);
    const QRect area = wide->availableGeometry();
    const QRect frame = window->frameGeometry();
    EXPECT_TRUE(area.contains(frame));
    EXPECT_LE(std::abs((frame.left() - area.left()) - (area.right() - frame.right())), 1);
    EXPECT_LE(std::abs((frame.top() - area.top()) - (area.bottom() - frame.bottom())), 1);
    EXPECT_EQ(window->size(), QSize(949, 609));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(Scroller()->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(Scroller()->verticalScrollBar()->isVisible());
}

TEST_F(ScreenFitWindow, OnASmallScreenItStartsTopLeftAndItsInsideScrollsToEveryControl) {
    QScreen* small = Screen("small");
    if (small == nullptr) {
        GTEST_SKIP() << "needs the headless screens of screens.json";
    }
    ASSERT_LT(small->availableGeometry().width(), 949);  // 1280 pixels at 150 %
    Open(small);
    Activate();
    EXPECT_EQ(window->screen(), small);
    const QRect area = small->availableGeometry();
    EXPECT_EQ(window->frameGeometry().topLeft(), area.topLeft());
    EXPECT_TRUE(area.contains(window->frameGeometry()));
    EXPECT_TRUE(Scroller()->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(Scroller()->verticalScrollBar()->isVisible());
    EXPECT_EQ(Get<QWidget>("Inside")->size(), QSize(949, 609));

    // Tabbing to controls out of view brings each into view, whole.
    Click("Option10");  // Text8 takes input now
    const QRect view = Scroller()->viewport()->rect();
    for (const char* name : {"Text8", "Drive1", "Command3", "Dir2"}) {
        auto* control = Get<QWidget>(name);
        int presses = 0;
        while (QApplication::focusWidget() != control && presses++ < 60) {
            QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        }
        ASSERT_EQ(QApplication::focusWidget(), control) << name;
        const QRect shown(control->mapTo(Scroller()->viewport(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(view.contains(shown)) << name << " at " << shown.x() << "," << shown.y() << " " << shown.width()
                                          << "x" << shown.height() << " in " << view.width() << "x" << view.height();
    }
}

}  // namespace
}  // namespace apptest
