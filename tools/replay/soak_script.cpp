// The soak script's generator. The pointer's y changes only in menu frames, and every menu visit starts with
// Escape (a menu frame whether play was running or not) and ends back in the new-game band, so the generator
// always knows where the pointer is and never takes it into the quit band. Play stretches press the button now
// and then: it does nothing in play, and starts a new game when Space after a game over has opened the menu.
#include "soak_script.h"

#include "app/title_menu_layout.h"

namespace {

// A y inside the player-count band; the players entry's marker row lies in it.
constexpr int32_t kPlayersBandY = kPlayersRow;
static_assert(kPlayersBandY >= kPlayersBandTop && kPlayersBandY <= kPlayersBandBottom);
// The rows between the player-count band and the quit band pick nothing.
constexpr int32_t kGapTop = kPlayersBandBottom + 1;
constexpr int32_t kGapRows = kQuitBandTop - kGapTop;

struct SoakWriter {
  int64_t frames = 0;
  int64_t made = 0;
  int64_t state = 1;  // the Park-Miller generator's state, 1 .. 2^31 - 2
  int32_t pointerY = 0;
  std::string text;

  double Random() {
    state = state * 16807 % 2147483647;
    return static_cast<double>(state) / 2147483647.0;
  }
  int32_t Pick(int32_t n) { return static_cast<int32_t>(Random() * n); }

  // A line of `count` frames (cut to the frames still wanted).
  void Emit(int64_t count, const std::string& rest) {
    if (count > frames - made) count = frames - made;
    if (count <= 0) return;
    text += std::to_string(count) + (rest.empty() ? "" : " " + rest) + "\n";
    made += count;
  }
  void MoveTo(int32_t y) {
    Emit(1, "dy=" + std::to_string(y - pointerY));
    pointerY = y;
  }

  void PlayStretch() {
    for (int32_t runs = 1 + Pick(12); runs > 0; --runs) {
      std::string keys;
      if (Random() < 0.5) keys += ",RCONTROL";
      if (Random() < 0.3) keys += ",LSHIFT";
      if (Random() < 0.15) keys += Random() < 0.5 ? ",LEFT" : ",RIGHT";
      if (Random() < 0.1) {
        Emit(1, "keys=SPACE dx=" + std::to_string(Pick(81) - 40));
        continue;
      }
      if (Random() < 0.05) {
        Emit(1, "btn");
        continue;
      }
      const std::string motion = "dx=" + std::to_string(Pick(41) - 20);
      const int64_t count = 1 + Pick(40);
      Emit(count, motion + (keys.empty() ? "" : " keys=" + keys.substr(1)));
    }
  }

  void GameOverRun() {
    for (int32_t misses = 0; misses < 3; ++misses) {
      Emit(1, std::string("keys=SPACE dx=") + (misses % 2 == 0 ? "400" : "-400"));
      Emit(60, "");
    }
    Emit(2, "keys=SPACE");
    Emit(1, "btn");
  }

  int32_t NewGameBandY() { return Pick(kNewGameBandBottom + 1); }

  void MenuVisit() {
    Emit(1, "keys=ESC");
    for (int32_t stays = 1 + Pick(4); stays > 0; --stays) {
      if (Random() < 0.6) {
        MoveTo(kPlayersBandY);
        Emit(1 + Pick(3), "btn");
      }
      if (Random() < 0.3) Emit(1 + Pick(4), "keys=CHORD");
      MoveTo(Random() < 0.5 ? NewGameBandY() : kGapTop + Pick(kGapRows));
      const int64_t count = 1 + Pick(30);
      Emit(count, "dx=" + std::to_string(Pick(21) - 10));
    }
    MoveTo(NewGameBandY());
    Emit(1, Random() < 0.5 ? "btn" : "keys=RETURN");
  }
};

}  // namespace

std::string SoakScript(int64_t frames, int64_t seed) {
  SoakWriter writer;
  writer.frames = frames;
  writer.state = seed % 2147483646 + 1;
  writer.text = "# soak script: " + std::to_string(frames) + " frames, seed " + std::to_string(seed) + "\n";
  writer.Emit(1, "");
  writer.Emit(1, "btn");
  while (writer.made < frames) {
    const double choice = writer.Random();
    if (choice < 0.75) {
      writer.PlayStretch();
    } else if (choice < 0.93) {
      writer.MenuVisit();
    } else {
      writer.GameOverRun();
    }
  }
  return writer.text;
}
