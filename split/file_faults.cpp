#include "file_faults.h"

namespace {
int64_t armedCall = 0;
int64_t callCount = 0;
bool fired = false;
FileCall failedCall = FileCall::Find;
}  // namespace

void ArmFileFault(int64_t callNumber) {
    armedCall = callNumber;
    callCount = 0;
    fired = false;
}

int64_t FileCallCount() { return callCount; }

FileCall FailedFileCall() { return failedCall; }

bool FileFaultFired() { return fired; }

bool FileCallFails(FileCall call) {
    ++callCount;
    if (armedCall == 0 || callCount != armedCall) return false;
    fired = true;
    failedCall = call;
    return true;
}
