#pragma once

#include <csignal>

namespace soten::platform {

// Half-written files that Ctrl+C, SIGTERM or SIGHUP must not leave behind.
// While a file is registered, those signals (where the process has not
// chosen to ignore them or handle them itself) remove it and end the
// process with the status 128 + the signal's number. Async-signal-safe on
// the signal's side; at most a few files at once.
class RemovedOnInterrupt {
public:
    // `folder` stays open and `name` (plain ASCII, under 64 bytes) stays
    // valid while registered.
    RemovedOnInterrupt(int folder, const char* name);
    ~RemovedOnInterrupt();
    RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
    RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

private:
    int slot_ = -1;
};

// The signals that end the program with its files cleaned up.
inline constexpr int InterruptSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace soten::platform
