#include "platform/files/InterruptCleanup.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>

namespace soten::platform {

namespace {

struct Slot {
    std::atomic<int> folder{-1};
    char name[64] = {};
};

Slot slots[8];
std::mutex slotsMutex;

extern "C" void RemoveAndExit(int signal) {
    for (Slot& slot : slots) {
        const int folder = slot.folder.load();
        if (folder >= 0) ::unlinkat(folder, slot.name, 0);
    }
    ::_exit(128 + signal);
}

void InstallHandlers() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (const int signal : InterruptSignals) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0) continue;
            // An ignored signal (nohup) or a handler of the program's own stays.
            if ((current.sa_flags & SA_SIGINFO) || current.sa_handler != SIG_DFL) continue;
            struct sigaction action {};
            action.sa_handler = &RemoveAndExit;
            sigfillset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
    });
}

}  // namespace

RemovedOnInterrupt::RemovedOnInterrupt(int folder, const char* name) {
    if (folder < 0 || std::strlen(name) >= sizeof slots[0].name) return;
    InstallHandlers();
    const std::lock_guard lock(slotsMutex);
    for (int i = 0; i < static_cast<int>(std::size(slots)); ++i) {
        if (slots[i].folder.load() >= 0) continue;
        std::strcpy(slots[i].name, name);
        slots[i].folder.store(folder);
        slot_ = i;
        return;
    }
}

RemovedOnInterrupt::~RemovedOnInterrupt() {
    if (slot_ < 0) return;
    const std::lock_guard lock(slotsMutex);
    slots[slot_].folder.store(-1);
}

}  // namespace soten::platform
