#pragma once

#include <string>

#include "core/world.h"

namespace morvane {

// The board as an image: each cell a square in its user colour with a centred dot in its bug colour.
// Written to a temporary file and renamed over the target; false with a reason when it fails.
bool saveBoardPng(const World& w, const std::string& path, std::string* error);

}  // namespace morvane
