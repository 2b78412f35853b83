#include "core/options_file.h"
#include "core/program_state.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

using namespace quendal;
using quendal::testing::ScratchFolder;

namespace {

class OptionsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        programState().reset();
        programState().DataFolder = scratch.folder();
    }
    void TearDown() override { programState().reset(); }

    // Loads the file and writes it back, as a start and an end of the program do.
    std::string loadAndSave() {
        LoadOptionen();
        EXPECT_TRUE(SaveOptionen());
        return scratch.read("optionen.cfg");
    }

    ScratchFolder scratch;
};

const std::string kOneAndThirty("\x01\x00\x00\x00\x1E\x00\x00\x00", 8);

} // namespace

TEST_F(OptionsFile, NoFileGivesOneAndThirty) {
    EXPECT_EQ(programState().options.JoystickUse, 0); // before the file is read
    EXPECT_EQ(loadAndSave(), kOneAndThirty);
    EXPECT_EQ(programState().options.JoystickUse, 1);
    EXPECT_EQ(programState().options.OptionValue2, 30);
}

TEST_F(OptionsFile, ShortFilesCountAsMissing) {
    for (int size : {0, 1, 2, 4, 7}) {
        scratch.write("optionen.cfg", std::string(static_cast<std::size_t>(size), '\x02'));
        EXPECT_EQ(loadAndSave(), kOneAndThirty) << size << " bytes";
    }
}

TEST_F(OptionsFile, JoystickUseTwoMeansNoJoystickAndIsKeptUntilChanged) {
    scratch.write("optionen.cfg", std::string("\x02\x00\x00\x00\x1E\x00\x00\x00", 8));
    LoadOptionen();
    EXPECT_EQ(programState().options.JoystickUse, 2);
    programState().JoystickPresent = true;
    EXPECT_FALSE(programState().joystickActive());
    // Confirming the options dialog with the box unchecked stores 0.
    programState().options.JoystickUse = 0;
    ASSERT_TRUE(SaveOptionen());
    EXPECT_EQ(scratch.read("optionen.cfg"), std::string("\0\0\0\0\x1E\0\0\0", 8));
}

TEST_F(OptionsFile, SecondValueIsWrittenBackUnchangedAndExtraBytesIgnored) {
    scratch.write("optionen.cfg", std::string("\x01\x00\x00\x00\x4D\x00\x00\x00trailing", 16));
    EXPECT_EQ(loadAndSave(), std::string("\x01\x00\x00\x00\x4D\x00\x00\x00", 8));
    EXPECT_EQ(programState().options.OptionValue2, 77);
}

TEST_F(OptionsFile, NumbersAreSignedLittleEndian) {
    const OptionsRecord options{-2, 0x01020304};
    const std::string bytes = encodeOptions(options);
    EXPECT_EQ(bytes, std::string("\xFE\xFF\xFF\xFF\x04\x03\x02\x01", 8));
    const auto back = decodeOptions(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->JoystickUse, -2);
    EXPECT_EQ(back->OptionValue2, 0x01020304);
}

TEST_F(OptionsFile, UnwritableFolderFailsQuietly) {
    programState().DataFolder = scratch.folder() + "gone/";
    EXPECT_FALSE(SaveOptionen());
    programState().DataFolder.clear();
    EXPECT_FALSE(SaveOptionen());
    LoadOptionen();
    EXPECT_EQ(programState().options.JoystickUse, 1);
}
