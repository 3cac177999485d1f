// tavo_instruments: writes the Timidity renderer's instrument set for the game's songs into a folder: the
// freepats patches the songs play, a timidity.cfg that maps every program and drum note, and freepats' licence.
// Usage: tavo_instruments FREEPATS_CFG LICENCE OUT_FOLDER SONG.mid...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/instruments/instrument_set.h"

namespace {

namespace fs = std::filesystem;

bool ReadFile(const fs::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *text = all.str();
  return true;
}

// Copies one patch into the set's folder under its relative path; false (with a line on stderr) on failure.
bool CopyPatch(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::create_directories(to.parent_path(), error);
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  if (error)
    std::fprintf(stderr, "tavo_instruments: cannot copy %s: %s\n", from.string().c_str(), error.message().c_str());
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: tavo_instruments FREEPATS_CFG LICENCE OUT_FOLDER SONG.mid...\n");
    return 2;
  }
  const fs::path freepatsConfig = argv[1], licence = argv[2], out = argv[3];
  std::string configText;
  if (!ReadFile(freepatsConfig, &configText)) {
    std::fprintf(stderr, "tavo_instruments: cannot read %s (install freepats)\n", freepatsConfig.string().c_str());
    return 1;
  }
  const instruments::PatchSet freepats = instruments::ReadPatchSet(configText);
  const fs::path patchFolder = freepats.folder.empty() ? freepatsConfig.parent_path() : fs::path(freepats.folder);

  instruments::SongInstruments song;
  for (int i = 4; i < argc; ++i) {
    std::string bytes;
    if (!ReadFile(argv[i], &bytes) ||
        !instruments::ReadSongInstruments(std::vector<uint8_t>(bytes.begin(), bytes.end()), &song)) {
      std::fprintf(stderr, "tavo_instruments: cannot read the song %s\n", argv[i]);
      return 1;
    }
  }
  instruments::InstrumentPlan plan;
  if (!instruments::PlanInstrumentSet(song, freepats, &plan)) {
    std::fprintf(stderr, "tavo_instruments: %s holds no patch for the songs\n", freepatsConfig.string().c_str());
    return 1;
  }

  std::error_code error;
  fs::remove_all(out, error);
  bool copied = true;
  for (int program : plan.shippedTones) {
    const std::string& file = freepats.tones.at(program).file;
    copied = CopyPatch(patchFolder / file, out / file) && copied;
  }
  for (int note : plan.shippedDrums) {
    const std::string& file = freepats.drums.at(note).file;
    copied = CopyPatch(patchFolder / file, out / file) && copied;
  }
  copied = CopyPatch(licence, out / "freepats-copyright.txt") && copied;
  if (!copied) return 1;
  // The config last: a set without it was cut short.
  std::ofstream config(out / "timidity.cfg", std::ios::binary);
  config << instruments::WriteConfig(plan, freepats);
  config.close();
  if (!config) return 1;

  // The songs' own slots and what plays them, for whoever reads the build log.
  for (int program : song.programs)
    std::printf("program %3d <- %s\n", program, freepats.tones.at(plan.toneSource[program]).file.c_str());
  for (int note : song.drumNotes)
    std::printf("drum note %3d <- %s\n", note, freepats.drums.at(plan.drumSource[note]).file.c_str());
  return 0;
}
