#include "io/interrupt_policy.h"

#include <pthread.h>
#include <unistd.h>

#include "io/temp_file_table.h"

namespace morvane {

namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

void onInterrupt(int signal) {
    temp_files::removeAll();
    _exit(128 + signal);
}

sigset_t interruptSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kInterrupts) sigaddset(&set, s);
    return set;
}

}  // namespace

void installInterruptPolicy() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    // While one interrupt is handled the others wait: the table is walked once.
    action.sa_mask = interruptSet();
    for (int s : kInterrupts) sigaction(s, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
}

ScopedSignalHold::ScopedSignalHold() {
    const sigset_t set = interruptSet();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

ScopedSignalHold::~ScopedSignalHold() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace morvane
