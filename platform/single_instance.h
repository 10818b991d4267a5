// One copy of the game per user: an exclusive lock held on a file in the per-user folder for the life
// of the process. The kernel drops the lock when the process ends, so a file left by a killed copy does
// not block the next start.
#pragma once

#include <string>

enum class InstanceLock {
    acquired,    // this is the only copy
    heldByOther, // another copy runs: this one ends silently
    unavailable, // the lock file could not be made; the game runs unguarded rather than not at all
};

InstanceLock acquireInstanceLock(const std::string& lockPath); // keeps the lock until releaseInstanceLock
void releaseInstanceLock();                                    // tests; the process end releases it too
std::string instanceLockPath();                                // the lock file in the per-user folder
