#pragma once
#include <SDL.h>

// The window's surface, the loading picture and the black fade drawn over every frame.
SDL_Surface* ScreenSurface();
void SetScreenSurface(SDL_Surface* screen);

// Slideshows drive the fade through its rate; the overlay's alpha follows each frame.
void SetFadeRate(double rate);
double FadeRate();
double FadeAlpha();
void SetFadeAlpha(double alpha);

// Fills white, draws the frame's draw queue in key order, lays the fade over it and flips.
void RenderFrame();
void FreeRenderSurfaces();
