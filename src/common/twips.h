#pragma once
// Twips, the unit the window's and the notice's places are kept in: 1440 to the inch, so
// 15 to the logical pixel at 96 dots per inch.

#include <type_traits>

namespace qb {

inline constexpr int kTwipsPerPixel = 15;

// Twips to whole logical pixels, to the nearest pixel (a half pixel away from zero).
template <class Twips>
requires std::is_arithmetic_v<Twips>
[[nodiscard]] constexpr int TwipsToPixels(Twips twips) {
    const double pixels = static_cast<double>(twips) / kTwipsPerPixel;
    return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}

}  // namespace qb
