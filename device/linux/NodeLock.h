#pragma once

// The lock by which programs of this system keep a counter to themselves: an exclusive flock on
// the device node, taken without waiting. When another process has it, /proc/locks tells which.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "device/HidBackend.h"

namespace kvelt::hid {

// Takes the lock on the node at `path`. A node that cannot be opened is not locked (the device
// cannot be used then anyway, and its open says why).
HidLockResult LockNode(const std::string& path);

// The process holding a flock on the file (device number, inode) according to the text of
// /proc/locks; nullopt when none is listed.
std::optional<int> FlockHolderPid(std::string_view procLocks, dev_t device, ino_t inode);

// A process's program name (/proc/PID/comm); empty when it cannot be read.
std::string ProgramOfProcess(int pid);

}  // namespace kvelt::hid
