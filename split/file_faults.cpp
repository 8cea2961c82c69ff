#include "file_faults.h"

#include <utility>

namespace {
int64_t armedCall = 0;
int64_t callCount = 0;
bool fired = false;
FileCall failedCall = FileCall::Find;
std::function<void(FileCall)> callWatcher;
}  // namespace

void ArmFileFault(int64_t callNumber) {
    armedCall = callNumber;
    callCount = 0;
    fired = false;
}

int64_t FileCallCount() { return callCount; }

FileCall FailedFileCall() { return failedCall; }

bool FileFaultFired() { return fired; }

void WatchFileCalls(std::function<void(FileCall)> watcher) { callWatcher = std::move(watcher); }

bool FileCallFails(FileCall call) {
    if (callWatcher) callWatcher(call);
    ++callCount;
    if (armedCall == 0 || callCount != armedCall) return false;
    fired = true;
    failedCall = call;
    return true;
}
