// A frame composed with SDL's own calls only (SDL_FillRect, RLE colour-keyed SDL_BlitSurface, SDL_ttf text),
// the comparison partner of the game's frame in bench/. The program never calls these.
#pragma once
#include <cstdint>
#include <string>

namespace platform::reference_frame {

// A picture read from a BMP file, held by SDL in RGB 565 with black as its RLE-accelerated colour key.
struct Picture;
// The 640 x 480 (or any size) RGB 565 surface the frame is composed on.
struct Canvas;

// SDL_LoadBMP, converted to RGB 565, colour key black with run-length acceleration. Null with a reason on failure.
Picture* LoadKeyedPicture(const char* bmpPath, std::string* error);
void FreePicture(Picture* picture);

Canvas* CreateCanvas(int32_t width, int32_t height);
void FreeCanvas(Canvas* canvas);

// SDL_FillRect over the whole canvas with a raw RGB 565 value.
bool Fill(Canvas* canvas, uint16_t pixel);
// SDL_BlitSurface of the whole picture with its top-left corner at (x, y), clipped by SDL.
bool Draw(Picture* picture, Canvas* canvas, int32_t x, int32_t y);
// One line rendered by SDL_ttf (TTF_RenderText_Solid, DejaVu Sans Bold at the largest size whose line fits
// 16 pixels) and blitted with its top-left at (x, y); the rendered surface is made and freed within the call,
// as a program that renders its HUD text every frame does. rgb is 0x00BBGGRR. False without the font.
bool DrawText(const char* text, uint32_t rgb, Canvas* canvas, int32_t x, int32_t y);

// The canvas pixel at (x, y) as raw RGB 565; 0 outside it.
uint16_t PixelAt(const Canvas* canvas, int32_t x, int32_t y);

}  // namespace platform::reference_frame
