// The display choices in force, kept for the window and the presenters.
// They start as the game's own default: full screen, picture fitted with its aspect kept.
#include "platform/display_choices.h"

namespace platform {

namespace {
DisplayChoices current;
}

void SetDisplayChoices(const DisplayChoices& choices) { current = choices; }

const DisplayChoices& CurrentDisplayChoices() { return current; }

}  // namespace platform
