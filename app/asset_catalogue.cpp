// The game's asset variables and their loaders.
// Sound ids start at -1 ("not loaded"); the sound table refuses -1, so an unloaded sound plays nothing.
#include "app/asset_catalogue.h"

int32_t BounceSound = -1;
int32_t ScoreSound = -1;
