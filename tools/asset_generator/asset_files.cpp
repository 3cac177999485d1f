// Writes every picture, sound and song of the game into the four folders of a run folder.
// The names and folders are the ones the game's asset catalogue loads.
#include "tools/asset_generator/asset_files.h"

#include <filesystem>
#include <functional>
#include <stdexcept>

#include "tools/asset_generator/bmp_writer.h"
#include "tools/asset_generator/pictures.h"
#include "tools/asset_generator/song_composition.h"
#include "tools/asset_generator/sound_synthesis.h"
#include "tools/asset_generator/wav_writer.h"

namespace assets {

namespace {

// One generated file: its path in the run folder and the call that makes and writes it.
struct AssetFile {
  const char* path;
  std::function<bool(const std::string& fullPath, std::string* error)> write;
};

AssetFile Picture(const char* path, std::function<Image()> make) {
  return {path, [make](const std::string& fullPath, std::string* error) { return WriteBmp(fullPath, make(), error); }};
}

AssetFile Sound(const char* path, std::vector<float> (*make)()) {
  return {path, [make](const std::string& fullPath, std::string* error) {
            return WriteWav8(fullPath, make(), kEffectSampleRate, error);
          }};
}

const std::vector<AssetFile>& AssetFiles() {
  static const std::vector<AssetFile> files = {
      Picture("Backgrounds/back6.spr", MakeHiddenBackground),
      Picture("Backgrounds/menu.spr", MakeMenuBackground),
      Picture("Backgrounds/gameover.spr", MakeGameOver),
      Picture("Sprites/hud2.spr", MakeHudFrame),
      Picture("Sprites/lighting.spr", MakeLighting),
      Picture("Sprites/ball2.spr", MakePlayBall),
      Picture("Sprites/ball.spr", MakeLifeBall),
      Picture("Sprites/paddle1.spr", [] { return MakePaddle(true); }),
      Picture("Sprites/paddle2.spr", [] { return MakePaddle(false); }),
      Picture("Sprites/block1.spr", MakeBlock),
      Picture("Sprites/newgame.spr", [] { return MakeMenuEntry(MenuEntry::NewGame); }),
      Picture("Sprites/player1.spr", [] { return MakeMenuEntry(MenuEntry::OnePlayer); }),
      Picture("Sprites/player2.spr", [] { return MakeMenuEntry(MenuEntry::TwoPlayers); }),
      Picture("Sprites/quit.spr", [] { return MakeMenuEntry(MenuEntry::Quit); }),
      Picture("Sprites/cursor1.spr", MakePointer),
      Sound("SoundFX/bounce3.wav", MakeBounceSound),
      Sound("SoundFX/score.wav", MakeScoreSound),
      {"Music/song10.mid",
       [](const std::string& fullPath, std::string* error) {
         return WriteMidiFile(fullPath, ComposeSong(), kTicksPerQuarter, error);
       }},
  };
  return files;
}

bool MakeFolders(const std::string& folder, std::string* error) {
  std::error_code code;
  for (const char* sub : {"Backgrounds", "Sprites", "SoundFX", "Music"}) {
    std::filesystem::create_directories(std::filesystem::path(folder) / sub, code);
    if (code) {
      *error = "cannot create " + (std::filesystem::path(folder) / sub).string() + ": " + code.message();
      return false;
    }
  }
  return true;
}

}  // namespace

const std::vector<std::string>& GeneratedFilePaths() {
  static const std::vector<std::string> paths = [] {
    std::vector<std::string> all;
    for (const AssetFile& file : AssetFiles()) all.push_back(file.path);
    return all;
  }();
  return paths;
}

bool GenerateAsset(const std::string& folder, const std::string& relativePath, std::string* error) {
  for (const AssetFile& file : AssetFiles()) {
    if (relativePath != file.path) continue;
    if (!MakeFolders(folder, error)) return false;
    try {
      return file.write((std::filesystem::path(folder) / file.path).string(), error);
    } catch (const std::exception& failure) {
      *error = std::string(file.path) + ": " + failure.what();
      return false;
    }
  }
  *error = "no generated file is called " + relativePath;
  return false;
}

bool GenerateAssets(const std::string& folder, std::string* error) {
  for (const AssetFile& file : AssetFiles())
    if (!GenerateAsset(folder, file.path, error)) return false;
  return true;
}

}  // namespace assets
