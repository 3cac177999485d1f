// The size rule of the program's lettering (see platform/internal/text_size.h), and the SDL_ttf font opened by it
// for the game's glyphs and the tools' reference text alike.
#include "platform/internal/text_size.h"

#include <SDL_ttf.h>

namespace platform {

namespace {

// Sets the font to a size and gives its line height then, or -1 when the size cannot be set.
int32_t SetTrialSize(int32_t size, void* user) {
  auto* font = static_cast<TTF_Font*>(user);
  return TTF_SetFontSize(font, size) == 0 ? TTF_FontHeight(font) : -1;
}

// Sizes a font just opened; closes it and gives null when it did not open or no size is chosen.
void* SizeForLine(TTF_Font* font, int32_t lineHeight) {
  if (font != nullptr && ChooseTextPointSize(lineHeight, SetTrialSize, font) != 0) return font;
  if (font != nullptr) TTF_CloseFont(font);
  return nullptr;
}

}  // namespace

int32_t ChooseTextPointSize(int32_t lineHeight, int32_t (*openAtSize)(int32_t size, void* user), void* user) {
  for (int32_t size = lineHeight; size >= kSmallestTextPointSize; --size) {
    const int32_t height = openAtSize(size, user);
    if (height < 0) return 0;
    if (height <= lineHeight || size == kSmallestTextPointSize) return size;
  }
  return 0;
}

void* OpenFontForLine(const char* path, int32_t lineHeight) {
  if (lineHeight < kSmallestTextPointSize) return nullptr;
  return SizeForLine(TTF_OpenFont(path, lineHeight), lineHeight);
}

void* OpenFontForLineFromMemory(const void* bytes, size_t size, int32_t lineHeight) {
  if (lineHeight < kSmallestTextPointSize) return nullptr;
  return SizeForLine(TTF_OpenFontRW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1, lineHeight), lineHeight);
}

}  // namespace platform
