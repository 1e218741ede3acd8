#pragma once
// Motifs shared by the generated pictures, so every screen speaks one style.
#include "tools/assetgen/canvas.h"

// Dusk sky over a still lake: sky down to `horizon`, water below it, stars and hills.
void DrawDuskScene(Canvas& c, int horizon, std::uint32_t seed);
// A wooden crate, `size` pixels square, top-left at (x, y).
void DrawCrate(Canvas& c, int x, int y, int size);
// A solid arrow centred on (cx, cy) pointing at `degrees` (0 right, 90 down, 180 left, 270 up).
void DrawArrow(Canvas& c, double cx, double cy, double length, double width, int degrees, Rgba colour);
// A quill feather from (x0, y0) (nib) to (x1, y1) (tip of the vane).
void DrawQuill(Canvas& c, double x0, double y0, double x1, double y1, double breadth, Rgba vane, Rgba shaft);
// A rounded panel with a thin amber rim.
void DrawPanel(Canvas& c, int x, int y, int w, int h, Rgba face, Rgba rim);
