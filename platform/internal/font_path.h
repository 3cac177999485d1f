// Where the program's one font file lives: DejaVu Sans Bold from Debian's fonts-dejavu-core.
// Used by the in-game text and by the asset generator's lettering.
#pragma once
#include <string>

namespace platform {

// The font file's path: the Debian location first, then whatever fontconfig's fc-match names.
// Empty when neither finds it; callers then report "install fonts-dejavu-core".
std::string FindBoldFontPath();

}  // namespace platform
