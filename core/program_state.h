#pragma once
// The program-wide records that carry state between the screens. There is one ProgramState
// for the whole program, reached through programState(); tests call reset() between cases.

#include "core/local_clock.h"
#include "core/records.h"
#include "core/vocabulary.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace quendal {

// Relevant and distractor value of every exercise picture 0..87.
struct StimulusEntry {
    int32_t relevant = 0;
    int32_t distractor = 0;
};
using StimulusTable = std::array<StimulusEntry, 88>;

// The stimulus picture of every round of a run: entry r - 1 holds round r.
using RoundSequence = std::array<int32_t, kMaxRounds>;

// One target place of the play field: its value (0 to 4) and its picture.
struct TargetSlot {
    int32_t value = 0;
    int32_t picture = 0;

    friend bool operator==(const TargetSlot&, const TargetSlot&) = default;
};
// Slot 0 is the empty answer (value 0); slots 1 top, 2 left, 3 right, 4 bottom.
using TargetSlots = std::array<TargetSlot, 5>;

struct CurrentUserRecord {
    std::string Folder;           // ends with '/'
    std::string ResultFileName;   // "user1.dat" .. "user4.dat"
    std::string SettingsFileName; // "user1.cfg" .. "user4.cfg"
    std::string DisplayName;      // at most 50 characters
    int tag = 0;                  // 1..4 once logged in, 0 before
};

struct OptionsRecord {
    int32_t JoystickUse = 0;  // 1: steer with the joystick; any other value: do not
    int32_t OptionValue2 = 0; // kept and written back; 30 by default
};

struct ProgramState {
    RunSettings runSettings{};
    ResultRecord current{};
    bool RunUnsaved = true;
    // The number of records the last pass of the result-file reader found.
    int32_t RecordsRead = 0;
    // The overall statistics view: true while its list shows only today's runs, which the
    // chart then follows too.
    bool DayListMode = false;
    // The number of records the overall statistics view found when it was opened; the chart
    // covers the record numbers 1 to this count.
    int32_t OverallRecordCount = 0;
    StimulusTable stimulusTable{};
    RoundSequence roundSequence{};
    TargetSlots targetSlots{};
    // The local date and time; tests set a fixed clock.
    std::function<LocalDateTime()> LocalClock = SystemLocalTime;
    ExerciseVocabulary vocabulary = ExerciseVocabulary::german();
    int UiLanguage = 1; // 1 German, 2 English
    CurrentUserRecord CurrentUser{};
    OptionsRecord options{};
    int PlayWidth = 1024;
    int PlayHeight = 768;
    bool FullScreenMode = true;
    int64_t HostWindowHandle = -1;
    bool JoystickPresent = false;
    std::string ProgramFolder; // ends with '/'
    std::string DataFolder;    // ends with '/'

    // The joystick acts only when it is present and the user wants it.
    bool joystickActive() const { return JoystickPresent && options.JoystickUse == 1; }

    void reset() { *this = ProgramState{}; }
};

ProgramState& programState();

} // namespace quendal
