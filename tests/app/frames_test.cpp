// How frames and option buttons are drawn: a frame's caption on its frame line, with the
// controls near the top of the frame inside it, and option indicators drawn whole.

#include <QGroupBox>
#include <QImage>
#include <QRadioButton>
#include <algorithm>

#include "app_test_support.h"

namespace apptest {
namespace {

// A pixel plainly darker or lighter than the given colour.
bool Stands(const QImage& image, int x, int y, QColor background, int threshold) {
    const QRgb p = image.pixel(x, y);
    return std::abs(qRed(p) - background.red()) + std::abs(qGreen(p) - background.green()) +
               std::abs(qBlue(p) - background.blue()) >=
           threshold;
}

class Frames : public WindowTest {};

TEST_F(Frames, CaptionSitsOnTheFrameLineAndTheTopControlsInsideIt) {
    Open();
    auto* inside = Get<QWidget>("Inside");
    const QImage picture = inside->grab().toImage();
    const QColor background = inside->palette().color(QPalette::Window);
    const struct {
        const char* frame;
        std::vector<const char*> within;
    } rows[] = {
        {"Frame8", {"Text7", "Drive2"}},
        {"Frame1", {"List1"}},
        {"Frame5", {"Drive1"}},
        {"frmGenbun", {"optFile_0"}},
        {"Frame7", {"Option13", "Option12", "Option14"}},
        {"frmKaigyou", {"optKaigyo_0"}},
        {"Frame6", {"Option7", "Option8"}},
        {"Frame9", {"Option15", "Option16"}},
    };
    for (const auto& row : rows) {
        auto* frame = Get<QGroupBox>(row.frame);
        const QRect box(frame->mapTo(inside, QPoint(0, 0)), frame->size());
        // The frame line: the first row where the frame's left edge is drawn.
        int line = box.top();
        while (line < box.bottom() && !Stands(picture, box.left(), line, background, 60)) {
            ++line;
        }
        ASSERT_LT(line, box.bottom()) << row.frame;
        // The caption's strokes run above and below the line.
        const int captionHeight = frame->fontMetrics().height();
        const int captionRight = box.left() + 8 + frame->fontMetrics().horizontalAdvance(frame->title());
        bool above = false;
        bool below = false;
        for (int x = box.left() + 8; x < captionRight; ++x) {
            for (int y = box.top(); y < line; ++y) {
                above = above || Stands(picture, x, y, background, 200);
            }
            for (int y = line + 2; y < box.top() + captionHeight; ++y) {
                below = below || Stands(picture, x, y, background, 200);
            }
        }
        EXPECT_TRUE(above && below) << row.frame << " line at " << line - box.top();
        for (const char* name : row.within) {
            const int top = Get<QWidget>(name)->mapTo(inside, QPoint(0, 0)).y();
            EXPECT_GT(top, line) << name << " on or above " << row.frame << "'s line";
        }
    }
}

TEST_F(Frames, OptionIndicatorsAreDrawnWholeOnTheLowestButtons) {
    Open();
    Click("optKaigyo_1");  // a checked and an unchecked indicator on the low buttons
    int low = 0;
    for (auto* button : window->findChildren<QRadioButton*>()) {
        if (!button->isVisible()) {
            continue;
        }
        low += button->height() <= 12 ? 1 : 0;
        const QImage picture = button->grab().toImage();
        const QColor background = button->palette().color(QPalette::Window);
        // The indicator's outline: the columns from the left up to the first blank one after
        // it, as tall as they are wide.
        QRect drawn;
        for (int x = 0; x < picture.width(); ++x) {
            QRect column;
            for (int y = 0; y < picture.height(); ++y) {
                if (Stands(picture, x, y, background, 60)) {
                    column |= QRect(x, y, 1, 1);
                }
            }
            if (column.isEmpty() && !drawn.isEmpty()) {
                break;
            }
            drawn |= column;
        }
        ASSERT_FALSE(drawn.isEmpty()) << button->objectName().toStdString();
        EXPECT_LE(std::abs(drawn.width() - drawn.height()), 1)
            << button->objectName().toStdString() << " " << drawn.width() << "x" << drawn.height();
    }
    EXPECT_GE(low, 8);
}

}  // namespace
}  // namespace apptest
