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

TEST_F(InstanceLockFile, AnUnusableFolderLetsTheGameRunUnguarded) {
    std::ofstream(folder + "/file") << "not a folder";
    EXPECT_EQ(acquireInstanceLock(folder + "/file/instance.lock"), InstanceLock::unavailable);
}

} // namespace
