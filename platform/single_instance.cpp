#include "platform/single_instance.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/folders.h"

namespace {

int gLockFd = -1; // open for the life of the process: closing it would drop the lock
int gLockError = 0;

} // namespace

InstanceLock acquireInstanceLock(const std::string& lockPath) {
    releaseInstanceLock();
    gLockError = 0;
    size_t slash = lockPath.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : lockPath.substr(0, slash > 0 ? slash : 1);
    makeFolders(folder);
    // Every copy must lock the same thing, whatever the folder allows: the file (made when missing), the
    // same opened for reading (a read-only file, or a folder in its place), else the folder that holds it
    // (read-only, or out of room for a new file). flock works on any of them.
    int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        gLockError = errno;
        return InstanceLock::unavailable;
    }
    // The lock, not the file, tells that a copy runs: a file left behind by a killed copy is unlocked.
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        bool held = errno == EWOULDBLOCK;
        gLockError = errno;
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

const char* instanceLockError() {
    return gLockError ? std::strerror(gLockError) : "";
}

std::string instanceLockPath() {
    return configFolder() + "instance.lock";
}
