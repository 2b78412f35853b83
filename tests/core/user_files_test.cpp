#include "core/cp1252.h"
#include "core/program_state.h"
#include "core/user_files.h"
#include "scratch_folder.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

using namespace quendal;
using quendal::testing::ScratchFolder;

namespace {

class UserFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        programState().reset();
        programState().DataFolder = scratch.folder();
    }
    void TearDown() override { programState().reset(); }

    std::string record(const std::string& cp1252Name) {
        std::string r(51, '\0');
        r[0] = static_cast<char>(cp1252Name.size());
        r.replace(1, cp1252Name.size(), cp1252Name);
        return r;
    }

    ScratchFolder scratch;
};

} // namespace

TEST(UserNames, TrimsBlanksAndControlCharactersButKeepsInnerBlanks) {
    EXPECT_EQ(trimName("  Anna  Maria \t\r\n"), "Anna  Maria");
    EXPECT_EQ(trimName("\x01Jo\x7F"), "Jo");
    EXPECT_FALSE(nameAccepted("    "));
    EXPECT_FALSE(nameAccepted(""));
    EXPECT_FALSE(nameAccepted(" \t "));
    EXPECT_TRUE(nameAccepted(" x "));
}

TEST(UserNames, KeepsFiftyCharactersAndEveryCharacterItCan) {
    const std::string sixty(60, 'a');
    EXPECT_EQ(storableName(sixty), std::string(50, 'a'));
    // Fifty characters, not fifty bytes.
    std::string umlauts;
    for (int i = 0; i < 60; ++i) {
        umlauts += "ü";
    }
    EXPECT_EQ(cp1252::length(storableName(umlauts)), 50u);
    // Characters without a Windows-1252 byte become '?', so no name ever ends up empty.
    EXPECT_EQ(storableName("Zoë Łukasz"), "Zoë ?ukasz");
    EXPECT_EQ(storableName("李明"), "??");
}

TEST(UserNames, RecordHoldsLengthAndWindows1252Bytes) {
    const std::string r = encodeNameRecord("Jürgen €");
    ASSERT_EQ(r.size(), 51u);
    EXPECT_EQ(r[0], 8);
    EXPECT_EQ(r.substr(1, 8), std::string("J\xFCrgen \x80"));
    EXPECT_EQ(r.substr(9), std::string(42, '\0'));
    EXPECT_EQ(decodeNameRecord(r), "Jürgen €");
    EXPECT_EQ(encodeNameRecord(std::string(60, 'z'))[0], 50);
}

TEST(UserNames, DecodesShortLongAndOddRecords) {
    std::string r(51, 'x');
    r[0] = 3;
    EXPECT_EQ(decodeNameRecord(r), "xxx");
    EXPECT_EQ(decodeNameRecord(r.substr(0, 50)), ""); // shorter than a record
    EXPECT_EQ(decodeNameRecord(r + "ignored"), "xxx");
    r[0] = static_cast<char>(200); // never written by the program: read as 50
    EXPECT_EQ(decodeNameRecord(r), std::string(50, 'x'));
    r[0] = 0;
    EXPECT_EQ(decodeNameRecord(r), "");
}

TEST_F(UserFiles, WriteAndReadTheNameFileByteByByte) {
    auto& user = programState().CurrentUser;
    user.SettingsFileName = "user2.cfg";
    user.DisplayName = "Grün";
    ASSERT_TRUE(WriteUserName());
    EXPECT_EQ(scratch.read("user2.cfg"), record("Gr\xFCn"));
    user.DisplayName = "other";
    ReadUserName();
    EXPECT_EQ(user.DisplayName, "Grün");
}

TEST_F(UserFiles, ReadingMissingOrShortNameFilesGivesNoName) {
    auto& user = programState().CurrentUser;
    user.SettingsFileName = "user1.cfg";
    user.DisplayName = "stale";
    ReadUserName();
    EXPECT_EQ(user.DisplayName, "");
    scratch.write("user1.cfg", record("Ann").substr(0, 50));
    user.DisplayName = "stale";
    ReadUserName();
    EXPECT_EQ(user.DisplayName, "");
    scratch.write("user1.cfg", record("Ann") + "Bob trailing bytes");
    ReadUserName();
    EXPECT_EQ(user.DisplayName, "Ann");
}

TEST_F(UserFiles, RewritingTruncatesALongerOldFile) {
    scratch.write("user3.cfg", std::string(200, 'q'));
    auto& user = programState().CurrentUser;
    user.SettingsFileName = "user3.cfg";
    user.DisplayName = "Li";
    ASSERT_TRUE(WriteUserName());
    EXPECT_EQ(scratch.read("user3.cfg"), record("Li"));
}

TEST_F(UserFiles, FirstStartCreatesFourEmptyResultFilesAndNoNameFiles) {
    scratch.write("user2.dat", "$ existing result data\n");
    scratch.write("user3.cfg", record("Carla"));
    const auto prepared = prepareUserTagFiles();
    EXPECT_TRUE(prepared.allResultFilesReady());
    for (const char* name : {"user1.dat", "user3.dat", "user4.dat"}) {
        EXPECT_TRUE(scratch.exists(name)) << name;
        EXPECT_EQ(scratch.read(name), "") << name;
    }
    EXPECT_EQ(scratch.read("user2.dat"), "$ existing result data\n");
    EXPECT_FALSE(scratch.exists("user1.cfg"));
    EXPECT_EQ(prepared.names[0], "");
    EXPECT_EQ(prepared.names[2], "Carla");
    // The last tag read stays in CurrentUser until a tag is clicked.
    EXPECT_EQ(programState().CurrentUser.SettingsFileName, "user4.cfg");
    EXPECT_EQ(programState().CurrentUser.DisplayName, "");
}

TEST_F(UserFiles, ResultFileThatCannotBeCreatedIsReported) {
    programState().DataFolder = scratch.folder() + "missing/";
    const auto prepared = prepareUserTagFiles();
    EXPECT_FALSE(prepared.allResultFilesReady());
    EXPECT_FALSE(prepared.resultFileReady[0]);
    EXPECT_FALSE(prepared.resultFileReady[3]);
    // Without a data folder nothing is created in the working folder.
    programState().DataFolder.clear();
    EXPECT_FALSE(prepareUserTagFiles().resultFileReady[0]);
    EXPECT_FALSE(std::filesystem::exists("user1.dat"));
}

TEST_F(UserFiles, TheStartClearsWhatInterruptedReplacesLeftAndNothingElse) {
    namespace fs = std::filesystem;
    const std::vector<std::string> leftovers = {"user1.cfg.Ab3xY9", "user4.cfg.000000",
                                                "optionen.cfg.q7W2e1"};
    const std::vector<std::string> others = {
        "user1.cfg",        "user1.dat",        "user1.dat.Ab3xY9", "user2.cfg.backup1",
        "user2.cfg.bak",    "user3.cfg.Ab-xY9", "user5.cfg.Ab3xY9", "other.cfg.Ab3xY9",
        "user3.cfg.Young1", // made a moment ago: it may belong to a replace going on
    };
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    for (const auto& names : {leftovers, others}) {
        for (const std::string& name : names) {
            scratch.write(name, record("x"));
            if (name != "user3.cfg.Young1") {
                fs::last_write_time(scratch.file(name), old);
            }
        }
    }
    fs::create_directory(scratch.file("user2.cfg.Folder"));
    fs::last_write_time(scratch.file("user2.cfg.Folder"), old);

    RemoveReplaceLeftovers();
    for (const std::string& name : leftovers) {
        EXPECT_FALSE(scratch.exists(name)) << name;
    }
    for (const std::string& name : others) {
        EXPECT_TRUE(scratch.exists(name)) << name;
    }
    EXPECT_TRUE(scratch.exists("user2.cfg.Folder"));
}

TEST_F(UserFiles, LoginOnANamedTagNeedsNoDialog) {
    scratch.write("user1.cfg", record("Ida"));
    programState().current.roundCount = 40;
    const auto start = beginLogin(1, false);
    const auto& user = programState().CurrentUser;
    EXPECT_FALSE(start.needsName);
    EXPECT_EQ(user.Folder, scratch.folder());
    EXPECT_EQ(user.ResultFileName, "user1.dat");
    EXPECT_EQ(user.SettingsFileName, "user1.cfg");
    EXPECT_EQ(user.DisplayName, "Ida");
    EXPECT_EQ(user.tag, 1);
    EXPECT_EQ(programState().current.roundCount, 0);
}

TEST_F(UserFiles, LoginOnAnUnusedTagAsksForATrimmedCutName) {
    const auto start = beginLogin(4, false);
    EXPECT_TRUE(start.needsName);
    acceptLoginName("   " + std::string(60, 'N') + "  ");
    EXPECT_EQ(programState().CurrentUser.DisplayName, std::string(50, 'N'));
    // The name file is written only by the next WriteUserName.
    EXPECT_FALSE(scratch.exists("user4.cfg"));
    ASSERT_TRUE(WriteUserName());
    EXPECT_EQ(scratch.read("user4.cfg"), record(std::string(50, 'N')));
}

TEST_F(UserFiles, RenameAsksAlwaysAndCancelPutsTheNameBack) {
    scratch.write("user2.cfg", record("Old"));
    auto start = beginLogin(2, true);
    EXPECT_TRUE(start.needsName);
    EXPECT_EQ(programState().CurrentUser.DisplayName, "");
    cancelLogin(start);
    EXPECT_EQ(programState().CurrentUser.DisplayName, "Old");
    start = beginLogin(2, true);
    acceptLoginName("  New Name ");
    EXPECT_EQ(programState().CurrentUser.DisplayName, "New Name");
    EXPECT_EQ(scratch.read("user2.cfg"), record("Old"));
}

TEST_F(UserFiles, ClearingTheUserLeavesNoResultFile) {
    beginLogin(3, false);
    clearCurrentUser();
    EXPECT_EQ(programState().CurrentUser.Folder, "");
    EXPECT_EQ(programState().CurrentUser.ResultFileName, "");
}

TEST(UserTags, KeysAndTags) {
    EXPECT_EQ(tagKey(1), "user1");
    EXPECT_EQ(tagOfKey("user4"), 4);
    EXPECT_EQ(tagOfKey("user5"), 0);
    EXPECT_EQ(tagOfKey("User1"), 0);
}
