#include "base/version.h"

#include "base/revision_stamp.h"

namespace morvane {

const char* morvaneVersion() {
    return MORVANE_VERSION;
}

const char* morvaneRevision() {
    return MORVANE_REVISION;
}

}  // namespace morvane
