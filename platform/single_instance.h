// One copy of the game per user: an exclusive lock held on a file in the per-user folder for the life
// of the process. The kernel drops the lock when the process ends, so a file left by a killed copy does
// not block the next start. When the file cannot be made (a read-only folder, a folder of that name), the
// lock is taken on what is there, so that a second copy still finds it; when nothing can be locked the
// game does not run, since two copies would write the same player files.
#pragma once

#include <string>

enum class InstanceLock {
    acquired,    // this is the only copy
    heldByOther, // another copy runs: this one ends silently
    unavailable, // nothing could be locked: whether another copy runs cannot be told
};

InstanceLock acquireInstanceLock(const std::string& lockPath); // keeps the lock until releaseInstanceLock
void releaseInstanceLock();                                    // tests; the process end releases it too
const char* instanceLockError(); // the system's reason when the lock was unavailable
std::string instanceLockPath();  // the lock file in the per-user folder
