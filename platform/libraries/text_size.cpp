// The size rule of the program's lettering (see platform/internal/text_size.h), and the SDL_ttf font opened by it
// for the game's glyphs and the tools' reference text alike.
#include "platform/internal/text_size.h"

#include <SDL_ttf.h>

namespace platform {

namespace {

// A font being sized: its file and the font opened last.
struct FontTrial {
  const char* path;
  TTF_Font* font;
};

int32_t OpenTrialAtSize(int32_t size, void* user) {
  auto* trial = static_cast<FontTrial*>(user);
  if (trial->font != nullptr) TTF_CloseFont(trial->font);
  trial->font = TTF_OpenFont(trial->path, size);
  return trial->font != nullptr ? TTF_FontHeight(trial->font) : -1;
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
  FontTrial trial{path, nullptr};
  ChooseTextPointSize(lineHeight, OpenTrialAtSize, &trial);
  return trial.font;
}

}  // namespace platform
