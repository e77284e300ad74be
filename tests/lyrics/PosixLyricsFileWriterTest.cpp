// Lyrics files written back natively (the Windows builds test theirs under Wine): the file is
// replaced whole, or refused and left byte for byte as it was, with nothing left beside it.
#ifndef _WIN32
#include "lyrics/PosixLyricsFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

class PosixSaveFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/sorvane-save-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override {
        setImmutable(0);
        std::system(("chmod -R u+w '" + root + "'; rm -rf '" + root + "'").c_str());
    }

    std::string file(const std::string& name, const std::string& contents, mode_t mode = 0644) {
        std::string path = root + "/" + name;
        std::ofstream(path, std::ios::binary) << contents;
        chmod(path.c_str(), mode);
        return path;
    }
    static std::string contents(const std::string& path) {
        std::ostringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }
    std::set<std::string> names() const {
        std::set<std::string> found;
        DIR* folder = opendir(root.c_str());
        while (dirent* entry = readdir(folder))
            if (entry->d_name[0] != '.') found.insert(entry->d_name);
        closedir(folder);
        return found;
    }
    // The folder lets its files change but takes no new ones. 0 where the system does not allow it.
    int setImmutable(int on) {
        int folder = open(root.c_str(), O_RDONLY | O_DIRECTORY);
        if (folder < 0) return 0;
        int flags = 0;
        int done = ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ioctl(folder, FS_IOC_SETFLAGS, &flags) == 0;
        }
        close(folder);
        return done;
    }

    std::string root;
    PosixLyricsFileWriter writer;
    SaveFailure failure = SaveFailure::kNone;
};

}  // namespace

TEST_F(PosixSaveFolder, ReplacesTheFileWholeKeepingItsPermissionsAndLinks) {
    std::string path = file("a.lrc", "[00:01]old\n", 0640);
    ASSERT_EQ(writer.replaceFile(path.c_str(), "[offset:+300]\n[00:01]old\n", failure), 1);
    EXPECT_EQ(contents(path), "[offset:+300]\n[00:01]old\n");
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(names(), std::set<std::string>{"a.lrc"});

    // Through a link, the file it names takes the new content; the link stays a link.
    std::string link = root + "/link.lrc";
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    ASSERT_EQ(writer.replaceFile(link.c_str(), "new", failure), 1);
    EXPECT_EQ(contents(path), "new");
    ASSERT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
}

TEST_F(PosixSaveFolder, RefusesAndLeavesTheFileAsItWas) {
    // Read-only for everyone (root included, as the read-only attribute is on Windows).
    std::string readOnly = file("read-only.lrc", "[00:01]a\r\n", 0444);
    EXPECT_EQ(writer.replaceFile(readOnly.c_str(), "x", failure), 0);
    EXPECT_EQ(failure, SaveFailure::kReadOnly);
    EXPECT_EQ(contents(readOnly), "[00:01]a\r\n");

    std::string gone = root + "/gone.lrc";
    EXPECT_EQ(writer.replaceFile(gone.c_str(), "x", failure), 0);
    EXPECT_EQ(failure, SaveFailure::kGone);
    std::string bytes;
    EXPECT_EQ(writer.readFile(gone.c_str(), 100, bytes, failure), 0);
    EXPECT_EQ(failure, SaveFailure::kGone);
    EXPECT_EQ(names(), std::set<std::string>{"read-only.lrc"});

    std::string writable = file("b.lrc", "[00:01]b");
    if (!setImmutable(1)) GTEST_SKIP() << "the system does not let this process lock a folder";
    EXPECT_EQ(writer.replaceFile(writable.c_str(), "x", failure), 0);
    EXPECT_EQ(failure, SaveFailure::kFolderRefused);
    EXPECT_EQ(contents(writable), "[00:01]b");
    EXPECT_EQ(names(), (std::set<std::string>{"b.lrc", "read-only.lrc"}));
}
#endif
