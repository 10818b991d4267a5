#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>

namespace {

struct InstanceLockFile : testing::Test {
    void SetUp() override {
        char pattern[] = "/tmp/pebblecraft-lock-XXXXXX";
        folder = mkdtemp(pattern);
        path = folder + "/sub/instance.lock";
    }
    void TearDown() override {
        releaseInstanceLock();
        std::system(("rm -rf " + folder).c_str());
    }
    std::string folder, path;
};

TEST_F(InstanceLockFile, TheFirstCopyGetsTheLockAndItsFolderIsMade) {
    EXPECT_EQ(acquireInstanceLock(path), InstanceLock::acquired);
    EXPECT_EQ(access(path.c_str(), F_OK), 0);
}

TEST_F(InstanceLockFile, ASecondCopyFindsItHeld) {
    ASSERT_EQ(acquireInstanceLock(path), InstanceLock::acquired);
    // Another copy opens the file on its own; flock locks belong to the open file, so this stands in for
    // a second process.
    int other = open(path.c_str(), O_RDWR);
    ASSERT_GE(other, 0);
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0);
    close(other);
}

TEST_F(InstanceLockFile, AFileLeftBehindDoesNotBlock) {
    std::system(("mkdir -p " + folder + "/sub").c_str());
    std::ofstream(path) << "left by a killed copy";
    EXPECT_EQ(acquireInstanceLock(path), InstanceLock::acquired);
}

TEST_F(InstanceLockFile, ALockHeldElsewhereIsReported) {
    std::system(("mkdir -p " + folder + "/sub").c_str());
    int holder = open(path.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(acquireInstanceLock(path), InstanceLock::heldByOther);
    close(holder); // the holder ends: the lock is free again
    EXPECT_EQ(acquireInstanceLock(path), InstanceLock::acquired);
}

// Another copy's view of a lock: whether it could take it on the same path (a folder or a file).
bool freeForAnother(const std::string& at) {
    int other = open(at.c_str(), O_RDONLY);
    if (other < 0) return false;
    bool free = flock(other, LOCK_EX | LOCK_NB) == 0;
    close(other);
    return free;
}

TEST_F(InstanceLockFile, AFolderInPlaceOfTheLockFileStillKeepsASecondCopyOut) {
    std::system(("mkdir -p " + path).c_str());
    ASSERT_EQ(acquireInstanceLock(path), InstanceLock::acquired);
    EXPECT_FALSE(freeForAnother(path));
    releaseInstanceLock();
    EXPECT_TRUE(freeForAnother(path));
}

TEST_F(InstanceLockFile, AReadOnlyFolderStillKeepsASecondCopyOut) {
    std::system(("mkdir -p " + folder + "/sub && chmod 555 " + folder + "/sub").c_str());
    // The folder as a copy run by an ordinary user finds it (root may write anywhere).
    if (access((folder + "/sub").c_str(), W_OK) == 0) {
        ASSERT_EQ(acquireInstanceLock(path), InstanceLock::acquired);
        EXPECT_FALSE(freeForAnother(path));
        releaseInstanceLock();
    }
    // A lock file left read-only by an earlier copy.
    std::system(("chmod 755 " + folder + "/sub && touch " + path + " && chmod 444 " + path).c_str());
    ASSERT_EQ(acquireInstanceLock(path), InstanceLock::acquired);
    EXPECT_FALSE(freeForAnother(path));
    // With the file gone and the folder read-only, the folder itself is locked.
    std::system(("rm -f " + path + " && chmod 555 " + folder + "/sub").c_str());
    if (access((folder + "/sub").c_str(), W_OK) != 0) {
        ASSERT_EQ(acquireInstanceLock(path), InstanceLock::acquired);
        EXPECT_FALSE(freeForAnother(folder + "/sub"));
    }
    releaseInstanceLock();
    std::system(("chmod 755 " + folder + "/sub").c_str());
}

TEST_F(InstanceLockFile, NothingToLockIsReportedWithItsReason) {
    std::ofstream(folder + "/file") << "not a folder";
    EXPECT_EQ(acquireInstanceLock(folder + "/file/instance.lock"), InstanceLock::unavailable);
    EXPECT_STRNE(instanceLockError(), "");
}

} // namespace
