#pragma once

namespace morvane {

// The program's version and the source revision it was built from ("unknown" outside a git
// checkout).
const char* morvaneVersion();
const char* morvaneRevision();

}  // namespace morvane
