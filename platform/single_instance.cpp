#include "platform/single_instance.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/folders.h"

namespace {

int gLockFd = -1; // open for the life of the process: closing it would drop the lock

} // namespace

InstanceLock acquireInstanceLock(const std::string& lockPath) {
    releaseInstanceLock();
    size_t slash = lockPath.find_last_of('/');
    if (slash != std::string::npos && slash > 0) makeFolders(lockPath.substr(0, slash));
    int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return InstanceLock::unavailable;
    // The lock, not the file, tells that a copy runs: a file left behind by a killed copy is unlocked.
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? InstanceLock::heldByOther : InstanceLock::unavailable;
    }
    gLockFd = fd;
    return InstanceLock::acquired;
}

void releaseInstanceLock() {
    if (gLockFd < 0) return;
    close(gLockFd);
    gLockFd = -1;
}

std::string instanceLockPath() {
    return configFolder() + "instance.lock";
}
