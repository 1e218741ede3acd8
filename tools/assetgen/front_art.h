#pragma once
// Building blocks for the menu pictures and the story pictures: skies, the keep on the
// shore, cloaked figures, boats, reflections and the parchment sheets the menus sit on.
#include <string>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/generator.h"

namespace front {

struct SkyColours {
    Rgba top, middle, low;
};
SkyColours DuskSky();
SkyColours NightSky();
SkyColours DawnSky();

// Sky from the top down to `horizon`, with stars fading out toward the glow.
void Sky(Canvas& c, int horizon, const SkyColours& sky, int stars, std::uint32_t seed);
// A soft round light; strength is the alpha at the centre.
void Glow(Canvas& c, double cx, double cy, double radius, Rgba colour, double strength);
void Moon(Canvas& c, double cx, double cy, double radius);
// A line of hills standing on `baseY`.
void Ridge(Canvas& c, int baseY, double height, double wavelength, Rgba colour, std::uint32_t seed);
// Mirrors everything above `lineY` into the rows below it, darkened toward the lake and rippled.
void ReflectLake(Canvas& c, int lineY, std::uint32_t seed);
// Paints `sprite` with its top-left at (x, y), and its faded mirror image under it.
void DrawReflected(Canvas& c, const Canvas& sprite, int x, int y, double strength = 0.45);

// The keep of the mere: a round stone tower with a lit window and a cottage beside it.
// Drawn as a sprite standing on its bottom edge, `height` pixels tall.
Canvas Keep(int height, bool lit, Rgba body);
// A hooded figure standing on its bottom edge, `height` tall; the old keeper leans on a staff,
// the apprentice carries a lantern.
enum class Who { Keeper, Apprentice };
Canvas Figure(int height, Who who, Rgba body, Rgba rim, bool lantern);
// A rowing boat seen side-on, its waterline at the bottom edge.
Canvas Boat(int length, Rgba body);

// A crate turned by `degrees` about its centre.
void TiltedCrate(Canvas& c, double cx, double cy, double size, double degrees);
// A loose page of the ledger, turned by `degrees`.
void Page(Canvas& c, double cx, double cy, double w, double h, double degrees, Rgba paper);
// The open ledger lying on a desk: two pages with lines of script.
void OpenBook(Canvas& c, int cx, int topY, int width, int height, int writtenLines, std::uint32_t seed);

// The keep's study at dusk: back wall, arched window showing the lake, floor and desk.
void Study(Canvas& c, std::uint32_t seed);

// Black cinema bars with a caption line at the foot.
void Letterbox(const AssetContext& ctx, Canvas& c, const std::string& caption);

// A sheet of parchment with torn-soft edges, an amber rim and a faint ink border.
void ParchmentSheet(Canvas& c, int x, int y, int w, int h, std::uint32_t seed);
// The dark inset frame that holds a preview picture or a value.
void InkWell(Canvas& c, int x, int y, int w, int h);

}  // namespace front
