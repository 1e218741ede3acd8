// The level editor's toolbar: the strip along the top and its round tool buttons.
#include "tools/assetgen/art.h"
#include "tools/assetgen/generator.h"
#include "tools/assetgen/style.h"

namespace {

constexpr Rgba kInkRed{125, 0, 0, 255};

Rgba Alpha(Rgba c, int a) {
    c.a = static_cast<std::uint8_t>(a);
    return c;
}

// Parchment slip behind a caption; the captions are written in dark red ink.
void CaptionSlip(Canvas& c, int x, int w) {
    c.FillRect(x, 3, w, 22, Mix(style::kParchment, style::kCrate, 0.08));
    c.Grain(x, 3, w, 22, 10, static_cast<std::uint32_t>(x * 7 + 3));
    c.BlendRect(x, 3, w, 1, Alpha(style::kAmber, 160));
    c.BlendRect(x, 24, w, 1, Alpha(style::kInk, 120));
    c.BlendRect(x + 6, 21, w - 12, 1, Alpha(kInkRed, 40));
}

Canvas Workbar() {
    Canvas c(640, 30);
    c.VerticalGradient(0, 0, 640, 30, style::kPanel, style::kNight);
    c.Grain(0, 0, 640, 30, 6, 91);
    c.FillRect(0, 27, 640, 1, style::kAmber);
    c.BlendRect(0, 28, 640, 2, Alpha(style::kInk, 160));
    // The module caption leaves room for the level's own tools at its right end.
    CaptionSlip(c, 24, 140);
    CaptionSlip(c, 260, 188);
    // Notches between the tool buttons.
    for (int x = 471; x < 640; x += 24)
        c.BlendRect(x, 6, 1, 16, Alpha(style::kAmber, 70));
    c.BlendRect(187, 6, 1, 16, Alpha(style::kAmber, 70));
    return c;
}

// The round face every tool button shares, so the toolbar reads as one set.
Canvas ToolFace() {
    Canvas c(24, 24);
    c.FillCircle(12, 12, 11, style::kPanel);
    c.Ring(12, 12, 10.5, 1.5, style::kAmber);
    return c;
}

Canvas SaveButton() {
    Canvas c = ToolFace();
    // A page with a quill writing on it.
    c.FillRect(7, 6, 9, 12, style::kParchment);
    for (int y = 9; y < 17; y += 3)
        c.FillRect(8, y, 6, 1, Alpha(kInkRed, 180));
    DrawQuill(c, 12, 15, 19, 5, 4, Rgba{236, 228, 210, 255}, style::kAmber);
    return c;
}

Canvas CenterButton() {
    Canvas c = ToolFace();
    c.Ring(12, 12, 5.5, 1.4, style::kParchment);
    c.Line(12, 4, 12, 9, 1.3, style::kParchment);
    c.Line(12, 15, 12, 20, 1.3, style::kParchment);
    c.Line(4, 12, 9, 12, 1.3, style::kParchment);
    c.Line(15, 12, 20, 12, 1.3, style::kParchment);
    c.FillCircle(12, 12, 1.6, style::kAmber);
    return c;
}

Canvas CleanupButton() {
    Canvas c = ToolFace();
    // Two stacked crates, the top one struck out: doubles go.
    DrawCrate(c, 9, 9, 9);
    DrawCrate(c, 6, 6, 9);
    c.Line(5, 5, 16, 16, 2.0, style::kEmber);
    c.Line(16, 5, 5, 16, 2.0, style::kEmber);
    return c;
}

Canvas TestButton() {
    Canvas c = ToolFace();
    c.FillPolygon({{9, 6.5}, {9, 17.5}, {18, 12}}, style::kParchment);
    c.FillPolygon({{10.5, 9.5}, {10.5, 14.5}, {15, 12}}, style::kAmber);
    return c;
}

Canvas LoadButton() {
    Canvas c = ToolFace();
    // A scroll with an arrow rising out of it.
    c.FillRect(7, 14, 10, 5, style::kParchment);
    c.FillCircle(7, 16.5, 2.5, Mix(style::kParchment, style::kCrate, 0.35));
    c.FillCircle(17, 16.5, 2.5, Mix(style::kParchment, style::kCrate, 0.35));
    c.FillPolygon({{12, 3.5}, {7.5, 8.5}, {16.5, 8.5}}, style::kAmber);
    c.FillRect(11, 8, 2, 5, style::kAmber);
    return c;
}

Canvas LinkButton() {
    Canvas c = ToolFace();
    c.Ring(9, 14, 3.6, 1.6, style::kParchment);
    c.Ring(15, 10, 3.6, 1.6, style::kAmber);
    c.Line(10, 12.5, 14, 11.5, 1.4, style::kParchment);
    return c;
}

Canvas PreviewButton() {
    Canvas c = ToolFace();
    // A framed little landscape: the level's picture for the browsers.
    c.FillRect(5, 7, 14, 10, style::kAmber);
    c.VerticalGradient(6, 8, 12, 5, style::kDusk, style::kTeal);
    c.FillRect(6, 13, 12, 3, style::kLake);
    c.FillCircle(14.5, 10, 1.6, style::kParchment);
    return c;
}

Canvas LevelButton() {
    Canvas c = ToolFace();
    // A label tag on a string: the level's name, music and par.
    c.FillPolygon({{6, 8}, {14, 8}, {18, 12}, {14, 16}, {6, 16}}, style::kParchment);
    c.FillCircle(14.5, 12, 1.4, style::kPanel);
    c.FillRect(8, 11, 4, 1, Alpha(kInkRed, 200));
    c.FillRect(8, 13, 3, 1, Alpha(kInkRed, 200));
    return c;
}

Canvas SolveButton() {
    Canvas c = ToolFace();
    // A lens over a path of steps: look for the fewest turns.
    c.Line(5, 17, 9, 17, 1.4, style::kAmber);
    c.Line(9, 17, 9, 13, 1.4, style::kAmber);
    c.Ring(13, 10, 4.2, 1.6, style::kParchment);
    c.Line(16, 13, 19.5, 16.5, 2.0, style::kParchment);
    return c;
}

// Behind the editor's level form and the search's report; the words are drawn in game.
Canvas EditorPanel() {
    Canvas c(360, 220);
    DrawPanel(c, 0, 0, 360, 220, Alpha(style::kNight, 240), style::kAmber);
    return c;
}

// The question the editor asks before unsaved edits are lost; the words are drawn in game.
Canvas PromptPanel() {
    Canvas c(300, 120);
    DrawPanel(c, 0, 0, 300, 120, Alpha(style::kNight, 238), style::kAmber);
    c.BlendRect(40, 56, 220, 1, Alpha(style::kAmber, 110));
    DrawQuill(c, 262, 104, 286, 70, 7, Rgba{236, 228, 210, 150}, Alpha(style::kAmber, 150));
    return c;
}

void Generate(const AssetContext& ctx) {
    ctx.WriteGamePng("GUI/EditorPrompt.png", PromptPanel());
    ctx.WriteGamePng("GUI/Workbar.png", Workbar());
    ctx.WriteGamePng("GUI/ButtonSave.png", SaveButton());
    ctx.WriteGamePng("GUI/ButtonCenter.png", CenterButton());
    ctx.WriteGamePng("GUI/ButtonCleanup.png", CleanupButton());
    ctx.WriteGamePng("GUI/ButtonTest.png", TestButton());
    ctx.WriteGamePng("GUI/ButtonLoad.png", LoadButton());
    ctx.WriteGamePng("GUI/ButtonLink.png", LinkButton());
    ctx.WriteGamePng("GUI/ButtonPreview.png", PreviewButton());
    ctx.WriteGamePng("GUI/ButtonLevel.png", LevelButton());
    ctx.WriteGamePng("GUI/ButtonSolve.png", SolveButton());
    ctx.WriteGamePng("GUI/EditorPanel.png", EditorPanel());
}

RegisterAssetGroup editor("editor", Generate);

}  // namespace
