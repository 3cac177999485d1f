// The settings file on disk: read at start (a missing file means defaults), written only when the player
// asks with --save-settings. Every trouble is one "SETTINGS:" line on stderr and the game starts anyway.
#pragma once
#include <string>

#include "app/launcher/player_settings.h"

// The settings in path; defaults for whatever cannot be read, with one SETTINGS: line naming the file
// (and the first line it could not use). The file is never changed.
PlayerSettings LoadSettingsFile(const std::string& path);

// Writes settings to path atomically, creating its folders. False, with one SETTINGS: line, on failure.
bool SaveSettingsFile(const std::string& path, const PlayerSettings& settings);
