#pragma once
// The one visual style of every generated picture: dusk over a still lake, ink-dark
// indigo panels, warm amber highlights and parchment text.
#include "tools/assetgen/canvas.h"

namespace style {
inline constexpr Rgba kNight{18, 16, 42, 255};
inline constexpr Rgba kDusk{58, 44, 102, 255};
inline constexpr Rgba kTeal{38, 110, 128, 255};
inline constexpr Rgba kLake{22, 58, 80, 255};
inline constexpr Rgba kAmber{242, 172, 64, 255};
inline constexpr Rgba kEmber{214, 96, 52, 255};
inline constexpr Rgba kParchment{244, 232, 204, 255};
inline constexpr Rgba kInk{24, 20, 34, 255};
inline constexpr Rgba kPanel{44, 38, 78, 255};
inline constexpr Rgba kCrate{176, 118, 62, 255};
inline constexpr Rgba kStone{122, 124, 140, 255};
}  // namespace style
