// Whose rules say where a player's files live: the freedesktop base-directory standard's (Linux) or Windows'.
// One small record both the folder rules and the operating-system side name.
#pragma once

namespace platform {

enum class FolderRules { Freedesktop, Windows };

}  // namespace platform
