#include "notice/notice_slide.h"

namespace qb::notice {

bool NoticeSlide::Tick(float screenHeightTwips) {
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
