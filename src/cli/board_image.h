#pragma once

#include <string>

#include "state/world.h"

namespace morvane {

// The board as a PNG image, encoded in memory: each cell a square in its user colour with a centred
// dot in its bug colour. Empty if the image could not be encoded. The writer puts it on disk.
std::string boardPng(const World& w);

}  // namespace morvane
