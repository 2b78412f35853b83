#pragma once
// The records that carry a run between the screens: its settings, its rounds, its header
// and its statistics. Every number is a signed 32-bit integer, as stored in the files.

#include <array>
#include <cstdint>
#include <string>

namespace quendal {

// A value names a colour or a number, 1 to 4; 0 stands for "no answer in time".
constexpr int32_t kNoAnswer = 0;
constexpr int kMaxRounds = 200;
constexpr int kHeaderFieldCount = 9;
constexpr std::size_t kHeaderTextMax = 20; // single-byte characters per header text

struct RunSettings {
    int32_t kind = 0;           // 1 colour, 2 number
    int32_t version = 1;        // 1..4
    int32_t timeLimitMs = 3000; // 500..5000
    int32_t roundCount = 20;    // 4..200, a multiple of 4
    int32_t currentRound = 0;   // 0..201
    int32_t feedback = 1;       // 1 optical, 2 acoustic
    int32_t frameMode = 2;      // 1 variable, 2 fixed target positions
};

struct RoundRecord {
    int32_t targetValue = 0;
    int32_t chosenValue = 0; // 0: no answer within the time limit
    int32_t reactionTimeMs = 0;
    int32_t distractorValue = 0;

    friend bool operator==(const RoundRecord&, const RoundRecord&) = default;
};

// One column of the statistics table: all rounds (column 0) or one target value (1..4).
struct StatisticsColumn {
    int32_t correct = 0;
    int32_t meanCorrect = 0;
    int32_t sdCorrect = 0;
    int32_t wrong = 0;
    int32_t meanWrong = 0;
    int32_t sdWrong = 0;
    int32_t interference = 0;
    int32_t eliminated = 0;

    friend bool operator==(const StatisticsColumn&, const StatisticsColumn&) = default;
};

struct RunStatistics {
    std::array<StatisticsColumn, 5> columns{};

    friend bool operator==(const RunStatistics&, const RunStatistics&) = default;
};

// The nine header texts in file order: "$ prname", "$ svdate", "$ svtime", "$ prtkey",
// "$ info 1" .. "$ info 5". Texts are held as UTF-8 in memory; the files hold Windows-1252.
enum HeaderField : int {
    kPrname = 0,
    kSvdate,
    kSvtime,
    kPrtkey,
    kInfo1,
    kInfo2,
    kInfo3,
    kInfo4,
    kInfo5,
};

struct ResultRecord {
    std::array<std::string, kHeaderFieldCount> header{};
    int32_t roundCount = 0;
    RunStatistics statistics{};
    // rounds[r] is round r of the run, 1..200; rounds[0] is unused.
    std::array<RoundRecord, kMaxRounds + 1> rounds{};

    friend bool operator==(const ResultRecord&, const ResultRecord&) = default;
};

} // namespace quendal
