#pragma once
// The rise of the notice window, in twips (15 to the logical pixel), one step per tick.

#include "common/twips.h"

namespace qb::notice {

class NoticeSlide {
public:
    static constexpr float kStepTwips = 50.0f;          // rise per tick
    static constexpr float kRestAboveBottom = 4600.0f;  // stops once the top is higher than this

    // Places the window's top edge, e.g. at the screen's height (just below the screen).
    void SetTop(float topTwips) { top_ = topTwips; }
    [[nodiscard]] float Top() const { return top_; }
    [[nodiscard]] bool Stopped() const { return stopped_; }
    [[nodiscard]] int Ticks() const { return ticks_; }

    // One tick: rises one step, then tests the screen's height read anew. Returns true
    // while the slide goes on; false once it has stopped (for good).
    bool Tick(float screenHeightTwips);

private:
    float top_ = 0.0f;
    bool stopped_ = false;
    int ticks_ = 0;
};

}  // namespace qb::notice
