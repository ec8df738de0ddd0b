#pragma once

#include <signal.h>

namespace morvane {

// The command line's answer to being interrupted: SIGINT, SIGTERM and SIGHUP abandon the work in
// flight, remove every temporary file the writer has open and end the process with 128 + the
// signal's number (130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP); every output already renamed
// into place stays. SIGPIPE and SIGXFSZ are ignored, so a closed pipe or an oversize file is a
// write error with its reason instead of a silent death that would leave temporary files behind.
void installInterruptPolicy();

// Holds SIGINT, SIGTERM and SIGHUP back on this thread while it lives; a signal that arrives
// meanwhile is delivered when it ends.
class ScopedSignalHold {
  public:
    ScopedSignalHold();
    ~ScopedSignalHold();
    ScopedSignalHold(const ScopedSignalHold&) = delete;
    ScopedSignalHold& operator=(const ScopedSignalHold&) = delete;

  private:
    sigset_t previous_;
};

}  // namespace morvane
