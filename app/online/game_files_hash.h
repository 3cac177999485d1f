// The fingerprint of the game's files as this machine has them: the online handshake compares it, so two machines
// whose pictures or sounds differ are refused before their traces could differ.
#pragma once
#include <cstdint>

// FNV-1a over each asset file's name and bytes, in the catalogue's order; a missing file counts by its name alone.
// Read once and kept.
uint64_t GameFilesHash();
