// SDL presentation: one renderer and one streaming texture on the main window. 16-bit pictures go in as RGB 565,
// 8-bit ones through their palette as ARGB; fitted with the aspect kept, or at a whole multiple, black around.
#include <SDL.h>

#include <cstring>
#include <string>

#include "platform/display_choices.h"
#include "platform/internal/backend_tables.h"
#include "platform/video.h"
#include "platform/internal/frame_log.h"
#include "platform/internal/picture_placement.h"
#include "platform/os/operating_system.h"
#include "platform/sdl/video_sdl_window_image.h"
#include "platform/sdl/window_sdl.h"

namespace platform::sdl_video {

namespace {

SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
int32_t textureWidth = 0, textureHeight = 0, textureBits = 0;
// No graphics hardware: no renderer, the pictures are stretched onto the window's own image instead.
bool onWindowImage = false;

// True when the renderer's OpenGL is a rasteriser running on the processor (no graphics hardware, a virtual
// display): scaling the picture to the window there costs several times the frame's own drawing.
bool RunsOnSoftwareGl(SDL_Renderer* made) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(made, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
  using GetStringFunction = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRendererName = 0x1F01;
  auto getString = reinterpret_cast<GetStringFunction>(SDL_GL_GetProcAddress("glGetString"));
  const auto* name = getString != nullptr ? reinterpret_cast<const char*>(getString(kGlRendererName)) : nullptr;
  if (name == nullptr) return false;
  for (const char* rasteriser : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
    if (std::strstr(name, rasteriser) != nullptr) return true;
  return false;
}

// The accelerated renderer when there is graphics hardware. Without it (or on a software OpenGL): none when the
// window's own image can take the pictures (onWindowImage), else SDL's software renderer on that image.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
  // Without graphics hardware, trying OpenGL would only start a software rasteriser, which alone costs a third
  // of a second and 70 MB.
  SDL_Renderer* made =
      os::MayHaveGraphicsHardware() ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  if (made != nullptr && !RunsOnSoftwareGl(made)) return made;
  if (made != nullptr) SDL_DestroyRenderer(made);
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");  // the window's image is an X image, not a GL texture
  onWindowImage = sdl_window_image::Usable(window);
  return onWindowImage ? nullptr : SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

bool MakeTexture(int32_t width, int32_t height, int32_t bitsPerPixel, std::string* error) {
  if (texture != nullptr && textureWidth == width && textureHeight == height && textureBits == bitsPerPixel)
    return true;
  if (texture != nullptr) SDL_DestroyTexture(texture);
  Uint32 format = bitsPerPixel == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_ARGB8888;
  texture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
  if (texture == nullptr) {
    if (error) *error = SDL_GetError();
    return false;
  }
  textureWidth = width, textureHeight = height, textureBits = bitsPerPixel;
  // Fitted pictures are placed by the renderer's logical size; whole multiples are placed by Redraw.
  if (CurrentDisplayChoices().scaling == PictureScaling::Fit) SDL_RenderSetLogicalSize(renderer, width, height);
  return true;
}

void CopyIntoTexture(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                     const uint8_t* paletteRgbx, uint8_t* target, int targetPitch) {
  const auto* source = static_cast<const uint8_t*>(pixels);
  if (bitsPerPixel == 16) {
    for (int32_t y = 0; y < height; ++y)
      std::memcpy(target + static_cast<size_t>(y) * targetPitch, source + static_cast<size_t>(y) * pitch,
                  static_cast<size_t>(width) * 2);
    return;
  }
  uint32_t colours[256];
  for (int i = 0; i < 256; ++i) {
    const uint8_t* entry = paletteRgbx + 4 * i;
    colours[i] = 0xFF000000u | (uint32_t(entry[0]) << 16) | (entry[1] << 8) | entry[2];
  }
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* from = source + static_cast<size_t>(y) * pitch;
    auto* to = reinterpret_cast<uint32_t*>(target + static_cast<size_t>(y) * targetPitch);
    for (int32_t x = 0; x < width; ++x) to[x] = colours[from[x]];
  }
}

}  // namespace

void Redraw();

// The window-image presenter keeps the last picture for its row comparison; the renderer keeps none.
bool KeepsPicture() { return onWindowImage; }
bool CopyKeptPicture(PresentedFrame* frame) { return onWindowImage && sdl_window_image::CopyKeptPicture(frame); }

bool Open(int32_t width, int32_t height, int32_t bitsPerPixel, std::string* error) {
  auto* window = static_cast<SDL_Window*>(sdl_window::NativeWindow());
  if (window == nullptr) {
    *error = "no window to present in";
    return false;
  }
  if (renderer == nullptr && !onWindowImage) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer = CreateRenderer(window);
    if (renderer == nullptr && !onWindowImage) {
      *error = SDL_GetError();
      return false;
    }
  }
  return onWindowImage || MakeTexture(width, height, bitsPerPixel, error);
}

void Close() {
  // The last picture outlives the presenter's copy of it, as it does when it is copied on every present.
  if (onWindowImage) sdl_window_image::CopyKeptPicture(&KeptFrame());
  if (texture != nullptr) SDL_DestroyTexture(texture);
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  texture = nullptr;
  renderer = nullptr;
  sdl_window_image::Forget();
  onWindowImage = false;
  textureWidth = textureHeight = textureBits = 0;
}

bool Present(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
             const uint8_t* paletteRgbx) {
  if (onWindowImage)
    return sdl_window_image::Present(sdl_window::NativeWindow(), pixels, pitch, width, height, bitsPerPixel,
                                     paletteRgbx);
  if (renderer == nullptr || !MakeTexture(width, height, bitsPerPixel, nullptr)) return false;
  void* target = nullptr;
  int targetPitch = 0;
  if (SDL_LockTexture(texture, nullptr, &target, &targetPitch) != 0) return false;
  CopyIntoTexture(pixels, pitch, width, height, bitsPerPixel, paletteRgbx, static_cast<uint8_t*>(target), targetPitch);
  SDL_UnlockTexture(texture);
  Redraw();
  return true;
}

void Redraw() {
  if (onWindowImage) sdl_window_image::Redraw(sdl_window::NativeWindow());
  if (renderer == nullptr || texture == nullptr) return;
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  if (CurrentDisplayChoices().scaling == PictureScaling::Integer) {
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    const PicturePlace place = IntegerPlacement(outputWidth, outputHeight, textureWidth, textureHeight);
    const SDL_Rect target{place.x, place.y, place.width, place.height};
    SDL_RenderCopy(renderer, texture, nullptr, &target);
  } else {
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  }
  SDL_RenderPresent(renderer);
}

}  // namespace platform::sdl_video

namespace platform {

namespace {

// A shown picture is kept for the screenshot key (a copy of it made here only when the presenter keeps none); a
// shown flip goes to the frame log, which measures the game's pacing from outside.
bool PresentAndLog(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                   const uint8_t* paletteRgbx, PresentKind kind) {
  const bool shown = sdl_video::Present(pixels, pitch, width, height, bitsPerPixel, paletteRgbx);
  if (shown && !sdl_video::KeepsPicture()) KeepPresentedFrame(pixels, pitch, width, height, bitsPerPixel, paletteRgbx);
  if (shown && kind == PresentKind::Flip)
    LogFramePresented(static_cast<const uint8_t*>(pixels), pitch, width, height, bitsPerPixel);
  return shown;
}

}  // namespace

const VideoBackend& SdlVideoBackend() {
  static const VideoBackend table{.open = sdl_video::Open,
                                  .close = sdl_video::Close,
                                  .present = PresentAndLog,
                                  .redraw = sdl_video::Redraw,
                                  .copyKeptPicture = sdl_video::CopyKeptPicture};
  return table;
}

}  // namespace platform
