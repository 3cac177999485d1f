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

struct PictureFile {
  const char* path;
  std::function<Image()> make;
};

const std::vector<PictureFile>& PictureFiles() {
  static const std::vector<PictureFile> files = {
      {"Backgrounds/back6.spr", MakeHiddenBackground},
      {"Backgrounds/menu.spr", MakeMenuBackground},
      {"Backgrounds/gameover.spr", MakeGameOver},
      {"Sprites/hud2.spr", MakeHudFrame},
      {"Sprites/lighting.spr", MakeLighting},
      {"Sprites/ball2.spr", MakePlayBall},
      {"Sprites/ball.spr", MakeLifeBall},
      {"Sprites/paddle1.spr", [] { return MakePaddle(true); }},
      {"Sprites/paddle2.spr", [] { return MakePaddle(false); }},
      {"Sprites/block1.spr", MakeBlock},
      {"Sprites/newgame.spr", [] { return MakeMenuEntry(MenuEntry::NewGame); }},
      {"Sprites/player1.spr", [] { return MakeMenuEntry(MenuEntry::OnePlayer); }},
      {"Sprites/player2.spr", [] { return MakeMenuEntry(MenuEntry::TwoPlayers); }},
      {"Sprites/quit.spr", [] { return MakeMenuEntry(MenuEntry::Quit); }},
      {"Sprites/cursor1.spr", MakePointer},
  };
  return files;
}

struct SoundFile {
  const char* path;
  std::vector<float> (*make)();
};

const std::vector<SoundFile>& SoundFiles() {
  static const std::vector<SoundFile> files = {{"SoundFX/bounce3.wav", MakeBounceSound}, {"SoundFX/score.wav", MakeScoreSound}};
  return files;
}

constexpr const char* kSongPath = "Music/song10.mid";

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
    for (const PictureFile& file : PictureFiles()) all.push_back(file.path);
    for (const SoundFile& file : SoundFiles()) all.push_back(file.path);
    all.push_back(kSongPath);
    return all;
  }();
  return paths;
}

bool GenerateAssets(const std::string& folder, std::string* error) {
  if (!MakeFolders(folder, error)) return false;
  const auto pathOf = [&](const char* relative) { return (std::filesystem::path(folder) / relative).string(); };
  try {
    for (const PictureFile& file : PictureFiles()) {
      if (!WriteBmp(pathOf(file.path), file.make(), error)) return false;
    }
    for (const SoundFile& file : SoundFiles()) {
      if (!WriteWav8(pathOf(file.path), file.make(), kEffectSampleRate, error)) return false;
    }
    if (!WriteMidiFile(pathOf(kSongPath), ComposeSong(), kTicksPerQuarter, error)) return false;
  } catch (const std::exception& failure) {
    *error = failure.what();
    return false;
  }
  return true;
}

}  // namespace assets
