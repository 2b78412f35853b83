#include "core/safe_file.h"
#include "scratch_folder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quendal;
using quendal::testing::ScratchFolder;

namespace {

std::size_t filesIn(const ScratchFolder& scratch) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(scratch.folder())) {
        ++n;
    }
    return n;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

TEST(SafeFile, ReplacesTheWholeFile) {
    ScratchFolder scratch;
    scratch.write("a.cfg", std::string(100, 'x'));
    ASSERT_TRUE(writeFileSafely(scratch.file("a.cfg"), std::string("\0\1\2", 3)));
    EXPECT_EQ(scratch.read("a.cfg"), std::string("\0\1\2", 3));
    EXPECT_EQ(filesIn(scratch), 1u);
}

TEST(SafeFile, FailedWriteLeavesTheOldFileIntactAndNoTemporaryFile) {
    ScratchFolder scratch;
    scratch.write("optionen.cfg", "old content");
    // A file-size limit makes the write itself fail half-way, as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeFileSafely(scratch.file("optionen.cfg"), "new content, too long");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(scratch.read("optionen.cfg"), "old content");
    EXPECT_EQ(filesIn(scratch), 1u);
}

TEST(SafeFile, MissingFolderFailsWithoutCreatingIt) {
    ScratchFolder scratch;
    EXPECT_FALSE(writeFileSafely(scratch.file("no/such/a.cfg"), "x"));
    EXPECT_FALSE(scratch.exists("no"));
}

TEST(SafeFile, ReadsOnlyTheStart) {
    ScratchFolder scratch;
    scratch.write("f", "0123456789");
    EXPECT_EQ(readFileStart(scratch.file("f"), 4), "0123");
    EXPECT_EQ(readFileStart(scratch.file("f"), 40), "0123456789");
    EXPECT_FALSE(readFileStart(scratch.file("missing"), 4).has_value());
}

TEST(SafeFile, ANewFileFollowsTheUmaskAndAReplacedOneKeepsItsPermissions) {
    ScratchFolder scratch;
    scratch.write("kept.cfg", "old");
    ASSERT_EQ(::chmod(scratch.file("kept.cfg").c_str(), 0640), 0);
    const mode_t before = ::umask(077);
    const bool privateWritten = writeFileSafely(scratch.file("private.cfg"), "x");
    const bool keptWritten = writeFileSafely(scratch.file("kept.cfg"), "new");
    ::umask(022);
    const bool sharedWritten = writeFileSafely(scratch.file("shared.cfg"), "x");
    ::umask(before);

    ASSERT_TRUE(privateWritten && keptWritten && sharedWritten);
    EXPECT_EQ(modeOf(scratch.file("private.cfg")), 0600u);
    EXPECT_EQ(modeOf(scratch.file("shared.cfg")), 0644u);
    EXPECT_EQ(modeOf(scratch.file("kept.cfg")), 0640u);
    EXPECT_EQ(scratch.read("kept.cfg"), "new");
    EXPECT_EQ(filesIn(scratch), 3u);
}

TEST(SafeFile, NothingWaitsOnANamedPipeInPlaceOfAFile) {
    ScratchFolder scratch;
    const std::string pipe = scratch.file("user1.cfg");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A blocking open() of a pipe without a writer would wait here for ever.
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10);
        _exit(readFileStart(pipe, 51).has_value() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // Writing the settings puts a regular file in its place.
    ASSERT_TRUE(writeFileSafely(pipe, "x"));
    EXPECT_EQ(readFileStart(pipe, 51), "x");
}
