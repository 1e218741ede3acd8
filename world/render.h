#pragma once
#include <SDL.h>

// The window's surface, the loading picture and the black fade drawn over every frame.
SDL_Surface* ScreenSurface();
void SetScreenSurface(SDL_Surface* screen);

// Slideshows drive the fade through its rate; the overlay's alpha follows each frame.
void SetFadeRate(double rate);
double FadeAlpha();
void SetFadeAlpha(double alpha);

// Fills white, draws the frame's draw queue in key order, lays the fade over it and flips.
// A frame that would show exactly what the window already shows is not drawn again (the
// queue is emptied all the same), so a screen at rest costs next to nothing.
void RenderFrame();
// Something else drew on the window (the file chooser): the next frame is drawn in full.
void ForgetPresentedFrame();
void FreeRenderSurfaces();
