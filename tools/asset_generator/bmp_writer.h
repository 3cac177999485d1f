// Writes pictures as uncompressed 24-bit Windows BMP files, which the game reads under the .spr extension.
// Transparent pixels become pure black, the colour the game keys out when it draws a picture.
#pragma once
#include <string>

#include "tools/asset_generator/image.h"

namespace assets {

// Flattens `image` (transparent pixels become black) and writes it bottom-up with rows padded to four bytes.
// Returns false and a reason in *error when the file cannot be written.
bool WriteBmp(const std::string& path, const Image& image, std::string* error);

}  // namespace assets
