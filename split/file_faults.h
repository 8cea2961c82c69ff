// A seam for tests: make the k-th call of the file layer fail as if the platform refused it.
#pragma once

#include <cstdint>
#include <functional>

enum class FileCall { Find, Open, Measure, Read, Create, Write, Flush, Close, Check, Delete };

// Fails the call numbered callNumber (from 1) counted from now; 0 disarms and fails nothing.
void ArmFileFault(int64_t callNumber);
// How many file-layer calls were made since the last ArmFileFault.
int64_t FileCallCount();
// The kind of the call that the armed fault failed; valid once FileFaultFired() is true.
FileCall FailedFileCall();
bool FileFaultFired();

// Calls watcher with the kind of every file-layer call before the call reaches the platform,
// so a test can change the file system at an exact step; an empty watcher stops watching.
void WatchFileCalls(std::function<void(FileCall)> watcher);

// Counts one call of the file layer; true when this is the call to fail.
bool FileCallFails(FileCall call);
