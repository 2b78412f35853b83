#include "core/safe_file.h"
#include "scratch_folder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

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
