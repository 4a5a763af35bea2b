#include "notice/notice_slide.h"

#include <cmath>

namespace qb::notice {

int TwipsToPixels(float twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

bool NoticeSlide::Tick(float screenHeightTwips)
{
    if (stopped_)
        return false;
    top_ -= kStepTwips;
    ++ticks_;
    // Single precision throughout, strictly greater: equal does not stop it yet.
    const float restLine = screenHeightTwips - kRestAboveBottom;
    if (restLine > top_)
        stopped_ = true;
    return !stopped_;
}

}  // namespace qb::notice
