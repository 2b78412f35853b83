#include "core/cp1252.h"
#include "core/program_state.h"
#include "core/result_file.h"
#include "core/statistics.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

using namespace quendal;

namespace {

// The example record of the file format, byte for byte.
const std::string kExample = "$ prname            V a r o n\r\n"
                             "$ svdate           03.11.2004\r\n"
                             "$ svtime                09.41\r\n"
                             "$ prtkey                V-131\r\n"
                             "$ info 1           Farbe/Wort\r\n"
                             "$ info 2            Version 3\r\n"
                             "$ info 3     Variabler Rahmen\r\n"
                             "$ info 4                     \r\n"
                             "$ info 5                     \r\n"
                             "         2         2       812         4\r\n"
                             "         4         1      1066         1\r\n"
                             "         1         0      3000         3\r\n"
                             "$ eodata \r\n";

std::string withoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

class RecordingSink : public MessageSink {
  public:
    int Show(const std::string& text, const std::string& caption, bool yesNo, bool centred,
             int lines) override {
        shown.emplace_back(text, caption, yesNo, centred, lines);
        return kMessageNo;
    }
    std::vector<std::tuple<std::string, std::string, bool, bool, int>> shown;
};

class ResultFile : public ::testing::Test {
  protected:
    void SetUp() override {
        programState().reset();
        programState().LocalClock = [] { return LocalDateTime{2026, 12, 9, 10, 41}; };
        char pattern[] = "/tmp/quendal-results-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        ::chmod(dir.c_str(), 0755); // a child that drops its rights still finds the files
        path = dir + "/user1.dat";
    }
    void TearDown() override {
        detail::SetResultFileChunkSize(0);
        std::filesystem::remove_all(dir);
        programState().reset();
    }

    static void write(const std::string& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // A finished run as the run engine leaves it in the current record.
    static void makeRun(const std::string& key, const std::vector<RoundRecord>& rounds) {
        ResultRecord& r = programState().current;
        r.header = {"V a r o n", "09.12.2026",       "10.41", key, "Farbe/Wort",
                    "Version 3", "Variabler Rahmen", "",      ""};
        r.roundCount = static_cast<int32_t>(rounds.size());
        for (std::size_t i = 0; i < rounds.size(); ++i) {
            r.rounds[i + 1] = rounds[i];
        }
        ComputeRunStatistics(r);
        programState().RunUnsaved = true;
    }

    // Runs body in a child process and returns its exit status (or 128 + signal).
    static int inChild(const std::function<int()>& body) {
        const pid_t pid = fork();
        if (pid == 0) {
            _exit(body());
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    ResultList list(bool todayOnly = false) {
        ResultList entries{"stale"};
        EXPECT_TRUE(ReadResultFile(path, 0, todayOnly, entries));
        return entries;
    }

    std::string dir;
    std::string path;
};

} // namespace

// --- Writing ---

TEST_F(ResultFile, AppendLaysDownTheRecordByteForByte) {
    write(path, "");
    makeRun("V-131", {{2, 2, 812, 4}, {4, 1, 1066, 1}, {1, 0, 3000, 3}});
    ResultRecord& r = programState().current;
    r.header[kSvdate] = "03.11.2004";
    r.header[kSvtime] = "09.41";
    EXPECT_EQ(AppendResultRecord(path), kAppendOk);
    EXPECT_EQ(read(path), kExample);
    EXPECT_FALSE(programState().RunUnsaved);

    // The existing content is kept; texts go to the file in Windows-1252, rounds with a
    // target of 0 or less are left out, numbers are signed.
    r.header[kInfo1] = "Grün";
    r.roundCount = 3;
    r.rounds[1] = {0, 1, 500, 1};
    r.rounds[2] = {-1, 1, 500, 1};
    r.rounds[3] = {3, -12, 999999999, -999999999};
    EXPECT_EQ(AppendResultRecord(path), kAppendOk);
    const std::string second = read(path).substr(kExample.size());
    EXPECT_NE(second.find("$ info 1                 Gr\xFCn\r\n"), std::string::npos);
    EXPECT_NE(second.find("$ info 5                     \r\n"
                          "         3       -12 999999999-999999999\r\n"
                          "$ eodata \r\n"),
              std::string::npos);
    EXPECT_EQ(second.size(), 9 * 31 + 42 + 11);
}

TEST_F(ResultFile, ARecordOfTwentyRoundsIsThirtyLinesOfFixedWidth) {
    write(path, "");
    std::vector<RoundRecord> rounds;
    rounds.reserve(20);
    for (int i = 0; i < 20; ++i) {
        rounds.push_back({i % 4 + 1, (i * 7) % 5, 300 + 37 * i, (i + 1) % 4 + 1});
    }
    makeRun("V-241", rounds);
    programState().current.header[kInfo3] = "a text much longer than twenty characters";
    ASSERT_EQ(AppendResultRecord(path), kAppendOk);
    std::istringstream in(read(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r');
        lines.push_back(line.substr(0, line.size() - 1));
    }
    ASSERT_EQ(lines.size(), 30u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].size(), 29u) << i;
    }
    for (int i = 9; i < 29; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].size(), 40u) << i;
    }
    EXPECT_EQ(lines[29], "$ eodata ");
    EXPECT_EQ(lines[6], "$ info 3 a text much longer t");
}

TEST_F(ResultFile, AppendToAMissingFileWritesNothingAndKeepsTheRunUnsaved) {
    makeRun("V-111", {{1, 1, 500, 1}});
    EXPECT_EQ(AppendResultRecord(path), kAppendFileMissing);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(programState().RunUnsaved);
    EXPECT_EQ(AppendResultRecord(dir), kAppendFileMissing); // a folder is no file
    EXPECT_TRUE(programState().RunUnsaved);
}

TEST_F(ResultFile, AnAppendStartsOnALineOfItsOwnWhateverTheFileEndsWith) {
    makeRun("V-131", {{2, 2, 812, 4}, {4, 1, 1066, 1}, {1, 0, 3000, 3}});
    programState().current.header[kSvdate] = "03.11.2004";
    programState().current.header[kSvtime] = "09.41";
    const std::string cut = kExample.substr(0, kExample.size() - 2); // no line end at the end
    const std::vector<std::pair<std::string, std::string>> cases = {
        {cut + "\r\n", ""}, {cut + "\n", ""}, {cut, "\r\n"}, {cut + "\r", "\n"}};
    for (const auto& [before, added] : cases) {
        write(path, before);
        programState().RunUnsaved = true;
        ASSERT_EQ(AppendResultRecord(path), kAppendOk);
        std::string expected = before;
        expected += added;
        expected += kExample;
        EXPECT_EQ(read(path), expected);
        const ResultList entries = list();
        ASSERT_EQ(entries.size(), 2u) << entries.size();
        std::string second = entries[0];
        second[0] = '2';
        EXPECT_EQ(entries[1], second);
    }
}

TEST_F(ResultFile, ANamedPipeInPlaceOfTheFileIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    makeRun("V-111", {{1, 1, 500, 1}});
    const int status = inChild([this] {
        ::alarm(10); // a blocking open() of a pipe without its other end would wait for ever
        if (AppendResultRecord(path) != kAppendFileMissing || !programState().RunUnsaved) {
            return 1;
        }
        ResultList entries{"kept"};
        programState().RecordsRead = 7;
        if (ReadResultFile(path, 0, false, entries).status != ReadStatus::NotRegularFile ||
            entries != ResultList{"kept"} || programState().RecordsRead != 7) {
            return 2;
        }
        const auto nothing = [](int32_t, const ResultRecord&, bool) {};
        return ForEachResultRecord(path, nothing).status == ReadStatus::NotRegularFile ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
}

TEST_F(ResultFile, AReadErrorIsAnErrorAndTheListSaysSo) {
    // The process's own memory read as a file: the first read fails with an I/O error.
    const std::string failing = "/proc/self/mem";
    ResultList entries{"stale"};
    const ReadOutcome outcome = ReadResultFile(failing, 0, false, entries);
    EXPECT_FALSE(outcome);
    EXPECT_EQ(outcome.status, ReadStatus::Unreadable);
    EXPECT_EQ(outcome.error, EIO);
    EXPECT_EQ(entries, ResultList{"Datenfehler"});
    EXPECT_EQ(programState().RecordsRead, 0);
    EXPECT_EQ(ReadResultFile(failing, 1, false, entries).status, ReadStatus::Unreadable);

    int visited = 0;
    const auto count = [&visited](int32_t, const ResultRecord&, bool) { ++visited; };
    EXPECT_EQ(ForEachResultRecord(failing, count).status, ReadStatus::Unreadable);
    EXPECT_EQ(WalkResultFile(failing, 3, [&](int32_t, const ResultRecord&) { ++visited; }).status,
              ReadStatus::Unreadable);
    EXPECT_EQ(visited, 0);

    write(path, kExample);
    EXPECT_EQ(ReadResultFile(path, 0, false, entries).status, ReadStatus::Read);
}

TEST_F(ResultFile, AFileThatCannotBeOpenedForWritingStaysAsItWas) {
    write(path, kExample);
    ::chmod(path.c_str(), 0444);
    makeRun("V-111", {{1, 1, 500, 1}});
    const int status = inChild([this] {
        // Root may write any file; the child gives up its rights first.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 77;
        }
        const int result = AppendResultRecord(path);
        return result == kAppendIoError && !programState().RunUnsaved ? 0 : 1;
    });
    if (status == 77) {
        GTEST_SKIP() << "cannot drop root rights here";
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read(path), kExample);
}

TEST_F(ResultFile, AWriteRefusedHalfWayLeavesNoPartialRecordAndDoesNotEndTheProgram) {
    write(path, kExample);
    std::vector<RoundRecord> rounds(200, RoundRecord{1, 2, 700, 2});
    makeRun("V-131", rounds);
    const int status = inChild([this] {
        // The kernel refuses every byte beyond 100 more than the file holds now.
        const rlimit limit{static_cast<rlim_t>(kExample.size() + 100),
                           static_cast<rlim_t>(kExample.size() + 100)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 2;
        }
        RecordingSink sink;
        programState().CurrentUser.Folder = dir + "/";
        programState().CurrentUser.ResultFileName = "user1.dat";
        SaveCurrentRun(sink);
        const bool reported = sink.shown.size() == 1 &&
                              std::get<0>(sink.shown[0]) == "Fehler beim Speichern der Statistik.";
        // A failed attempt is not repeated.
        SaveCurrentRun(sink);
        return reported && sink.shown.size() == 1 && !programState().RunUnsaved ? 0 : 1;
    });
    EXPECT_EQ(status, 0); // not 128 + SIGXFSZ
    EXPECT_EQ(read(path), kExample);

    // Without the limit the same append goes through whole.
    EXPECT_EQ(AppendResultRecord(path), kAppendOk);
    EXPECT_EQ(read(path).size(), kExample.size() + std::size_t{9 * 31 + 200 * 42 + 11});
}

TEST_F(ResultFile, SaveCurrentRunAppendsAnUnsavedRunOnceAndReportsFailures) {
    RecordingSink sink;
    makeRun("V-111", {{1, 1, 500, 1}});
    SaveCurrentRun(sink); // nobody logged in
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(programState().RunUnsaved);

    programState().CurrentUser.Folder = dir + "/";
    programState().CurrentUser.ResultFileName = "user1.dat";
    SaveCurrentRun(sink); // the file is missing
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], std::make_tuple(std::string("Fehler beim Speichern der Statistik."),
                                             std::string("Hinweis"), false, true, 4));
    EXPECT_TRUE(programState().RunUnsaved);

    programState().UiLanguage = 2;
    SaveCurrentRun(sink);
    ASSERT_EQ(sink.shown.size(), 2u);
    EXPECT_EQ(std::get<0>(sink.shown[1]), "Error saving the statistics.");
    EXPECT_EQ(std::get<1>(sink.shown[1]), "Info");

    write(path, "");
    SaveCurrentRun(sink);
    SaveCurrentRun(sink); // already saved: nothing more
    EXPECT_EQ(sink.shown.size(), 2u);
    EXPECT_FALSE(programState().RunUnsaved);
    ResultList entries;
    ReadResultFile(path, 0, false, entries);
    EXPECT_EQ(entries.size(), 1u);
}

// --- Reading ---

TEST_F(ResultFile, ReadsTheExampleWithCrLfOrLfLineEnds) {
    for (const std::string& bytes : {kExample, withoutCr(kExample)}) {
        write(path, bytes);
        EXPECT_EQ(list(), ResultList{"1;03.11.2004;Farbe/Wort - Version 3;3;1;812;0;2;1"});
        const ResultRecord& r = programState().current;
        EXPECT_EQ(r.header[kInfo3], "Variabler Rahmen");
        EXPECT_EQ(r.header[kInfo4], "");
        EXPECT_EQ(r.roundCount, 3);
        EXPECT_EQ(r.rounds[2], (RoundRecord{4, 1, 1066, 1}));
        EXPECT_EQ(programState().RecordsRead, 1);
    }
}

TEST_F(ResultFile, AnEmptyFileClearsTheListAndAMissingOneChangesNothing) {
    programState().RecordsRead = 9;
    ResultList entries{"old"};
    EXPECT_FALSE(ReadResultFile(path, 0, false, entries));
    EXPECT_EQ(entries, ResultList{"old"});
    EXPECT_EQ(programState().RecordsRead, 9);

    write(path, "");
    EXPECT_TRUE(ReadResultFile(path, 0, false, entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(programState().RecordsRead, 0);
}

TEST_F(ResultFile, HeaderValuesAreTrimmedAndCutAndOnlyFortyCharacterLinesAreRounds) {
    std::string bytes = kExample;
    bytes.replace(bytes.find("$ info 4                     "), 29,
                  "$ info 4 \t   a value far longer than twenty   ");
    bytes.replace(bytes.find("$ info 5                     "), 29, "$ info 5    Gr\xFCn  \x01");
    const std::string extra = "         1         1       500         1 \r\n" // 41
                              "        1         1       500         1\r\n"   // 39
                              "         1         1       $00         1\r\n"  // has "$"
                              "\r\n"
                              "         3         3       600         1\r\n";
    bytes.insert(bytes.find("$ eodata"), extra);
    write(path, bytes);
    list();
    const ResultRecord& r = programState().current;
    EXPECT_EQ(r.header[kInfo4], "a value far longer t");
    EXPECT_EQ(r.header[kInfo5], "Grün");
    EXPECT_EQ(r.roundCount, 4);
    EXPECT_EQ(r.rounds[4], (RoundRecord{3, 3, 600, 1}));
}

TEST_F(ResultFile, MarkedRecordsKeepTheirNumbersAndStayOutOfTheDayList) {
    const std::string rounds = "         1         1       500         1\r\n";
    std::string first = kExample;
    std::string marked = kExample;
    marked.replace(marked.find("          V-131"), 15, "              /");
    std::string third = kExample;
    third.replace(third.find("03.11.2004"), 10, "09.12.2026");
    write(path, first + marked + third);
    EXPECT_EQ(list(), (ResultList{"1;03.11.2004;Farbe/Wort - Version 3;3;1;812;0;2;1",
                                  "-;-;Keine Daten vorhanden;0;0;0;0;0;0",
                                  "3;09.12.2026;Farbe/Wort - Version 3;3;1;812;0;2;1"}));
    EXPECT_EQ(list(true), ResultList{"3;09.12.2026;Farbe/Wort - Version 3;3;1;812;0;2;1"});
    EXPECT_EQ(programState().RecordsRead, 3);

    programState().UiLanguage = 2;
    programState().vocabulary = ExerciseVocabulary::english();
    marked.replace(marked.find("              /"), 15, "             \\ ");
    write(path, marked + marked.substr(0, marked.find("$ prtkey")));
    // The second record is cut off by the end of the file; it is still counted and listed.
    EXPECT_EQ(list(),
              (ResultList{"-;-;File error;0;0;0;0;0;0", "2;03.11.2004;Unknown;0;0;0;0;0;0"}));
}

TEST_F(ResultFile, ReadingOneRecordLeavesItCurrentAndTheListUntouched) {
    std::string second = kExample;
    second.replace(second.find("       812"), 10, "       999");
    std::string third = kExample;
    third.replace(third.find("09.41"), 5, "17.05");
    write(path, kExample + second + third);
    ResultList entries{"untouched"};
    EXPECT_TRUE(ReadResultFile(path, 2, false, entries));
    EXPECT_EQ(entries, ResultList{"untouched"});
    EXPECT_EQ(programState().RecordsRead, 2);
    EXPECT_EQ(programState().current.rounds[1].reactionTimeMs, 999);
    EXPECT_EQ(programState().current.statistics.columns[0].meanCorrect, 999);

    EXPECT_TRUE(ReadResultFile(path, 5, false, entries));
    EXPECT_EQ(programState().RecordsRead, 3);
    EXPECT_EQ(programState().current.header[kSvtime], "17.05");
}

TEST_F(ResultFile, ExerciseTextFollowsTheProgramKeyAndTheInstalledVocabulary) {
    ResultRecord r;
    r.header[kInfo1] = "Zahl/Anzahl";
    r.header[kPrtkey] = "V-231";
    EXPECT_EQ(ExerciseText(r), "Zahl/Anzahl - Version 3");
    programState().UiLanguage = 2;
    programState().vocabulary = ExerciseVocabulary::english();
    EXPECT_EQ(ExerciseText(r), "Zahl/Anzahl - version 3"); // info 1 is never translated
    for (const char* key : {"V-2", " V-1 ", "V-x1", "V-15", "V-10"}) {
        r.header[kPrtkey] = key;
        EXPECT_EQ(ExerciseText(r), "Unknown") << key;
    }
    r.header[kPrtkey] = "V-942"; // any digit other than 1 is the number exercise
    EXPECT_EQ(ExerciseText(r), "Zahl/Anzahl - version 4");
}

TEST_F(ResultFile, NumbersThatDoNotConvertMakeOnlyTheirRecordADataError) {
    const std::string good = kExample;
    for (const char* field :
         {"       abc", "9999999999", "          ", "      -+12", "   1 2    ", "         +"}) {
        std::string bad = kExample;
        bad.replace(bad.find("      1066"), 10, std::string(field).substr(0, 10));
        bad.replace(bad.find("03.11.2004"), 10, "09.12.2026");
        write(path, bad + good);
        EXPECT_EQ(list(),
                  (ResultList{"Datenfehler", "2;03.11.2004;Farbe/Wort - Version 3;3;1;812;0;2;1"}))
            << field;
        EXPECT_EQ(list(true), ResultList{"Datenfehler"});
        ResultList unused;
        ReadResultFile(path, 1, false, unused);
        EXPECT_EQ(programState().current.rounds[2], (RoundRecord{4, 1, 0, 1})) << field;
    }
    std::string signs = kExample;
    signs.replace(signs.find("       812"), 10, "      +812");
    signs.replace(signs.find("         4\r\n"), 10, "        -4");
    write(path, signs);
    EXPECT_EQ(list().front()[0], '1');
    EXPECT_EQ(programState().current.rounds[1], (RoundRecord{2, 2, 812, -4}));
}

TEST_F(ResultFile, NeverKeepsMoreThanTwoHundredRounds) {
    std::string many;
    for (int i = 0; i < 3000; ++i) {
        many += "         1         1       " + std::to_string(100 + i % 900) + "         1\r\n";
    }
    std::string bytes = kExample;
    bytes.insert(bytes.find("$ eodata"), many);
    write(path, bytes + kExample);
    EXPECT_EQ(list(),
              (ResultList{"Datenfehler", "2;03.11.2004;Farbe/Wort - Version 3;3;1;812;0;2;1"}));
    ResultList unused;
    ReadResultFile(path, 1, false, unused);
    EXPECT_EQ(programState().current.roundCount, 200);
    EXPECT_EQ(programState().current.statistics.columns[0].correct, 198);
}

TEST_F(ResultFile, ACutOffRecordDoesNotSwallowTheRecordAfterIt) {
    // A record broken off inside its header, then one broken off inside its rounds, then a
    // whole one: three records, the last intact.
    const std::string head = kExample.substr(0, kExample.find("$ svtime"));
    const std::string part = kExample.substr(0, kExample.find("         4         1"));
    write(path, head + part + kExample);
    const ResultList entries = list();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], "1;03.11.2004;Unbekannt;0;0;0;0;0;0");
    EXPECT_EQ(entries[1], "2;03.11.2004;Farbe/Wort - Version 3;1;1;812;0;0;0");
    EXPECT_EQ(entries[2], "3;03.11.2004;Farbe/Wort - Version 3;3;1;812;0;2;1");
}

TEST_F(ResultFile, SurvivesBinaryBytesAndLinesOfMegabytes) {
    std::string junk(3 << 20, 'x');
    junk[1000] = '\0';
    junk[2000] = '\r';
    std::string bytes = junk + "\r\n" + std::string("\0\xFF\x1A\n", 4);
    std::string longHeader = kExample;
    longHeader.replace(longHeader.find("$ info 2            Version 3"), 29,
                       "$ info 2 " + std::string(2 << 20, ' ') + "Version 3" +
                           std::string(1 << 20, ' ') + "\x01");
    longHeader.insert(longHeader.find("$ eodata"), std::string(5 << 20, '7') + "\r\n");
    bytes += longHeader + "$ prname" + junk; // ends without a line end
    write(path, bytes);
    for (const std::size_t chunk : {std::size_t{0}, std::size_t{4096}, std::size_t{65537}}) {
        detail::SetResultFileChunkSize(chunk);
        EXPECT_EQ(list(), (ResultList{"1;03.11.2004;Farbe/Wort - Version 3;3;1;812;0;2;1",
                                      "2;;Unbekannt;0;0;0;0;0;0"}))
            << chunk;
        ResultList unused;
        ReadResultFile(path, 1, false, unused);
        EXPECT_EQ(programState().current.header[kInfo2], "Version 3");
        ReadResultFile(path, 2, false, unused);
        EXPECT_EQ(programState().current.header[kPrname], std::string(20, 'x'));
    }
}

// --- Random files ---

namespace {

std::string randomText(std::mt19937& gen) {
    static const std::vector<std::string> pieces = {"a", "Z", "7", "ü", "€", "ß", "/",
                                                    "-", ".", " ", "é", "$", "Œ"};
    std::uniform_int_distribution<std::size_t> length(0, 20);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::string text;
    const std::size_t n = length(gen);
    for (std::size_t i = 0; i < n; ++i) {
        text += pieces[pick(gen)];
    }
    // What the reader gives back has no blanks at either end.
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    while (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
    }
    return text;
}

ResultRecord randomRecord(std::mt19937& gen) {
    ResultRecord r;
    for (auto& text : r.header) {
        text = randomText(gen);
    }
    std::uniform_int_distribution<int32_t> rounds(0, 200);
    std::uniform_int_distribution<int32_t> target(-1, 5);
    std::uniform_int_distribution<int32_t> value(0, 4);
    std::uniform_int_distribution<int32_t> time(0, 5000);
    std::uniform_int_distribution<int32_t> extreme(-999999999, 2147483647);
    std::bernoulli_distribution rare(0.02);
    r.roundCount = rounds(gen);
    for (int32_t i = 1; i <= r.roundCount; ++i) {
        r.rounds[i] = {target(gen), value(gen), rare(gen) ? extreme(gen) : time(gen),
                       rare(gen) ? extreme(gen) : value(gen)};
    }
    return r;
}

// The record as reading it back must give it: rounds with a target of 0 or less left out.
ResultRecord asStored(const ResultRecord& r) {
    ResultRecord stored = r;
    int32_t n = 0;
    for (int32_t i = 1; i <= r.roundCount; ++i) {
        if (r.rounds[i].targetValue > 0) {
            stored.rounds[++n] = r.rounds[i];
        }
    }
    stored.roundCount = n;
    ComputeRunStatistics(stored);
    return stored;
}

bool sameRun(const ResultRecord& a, const ResultRecord& b) {
    if (a.header != b.header || a.roundCount != b.roundCount || a.statistics != b.statistics) {
        return false;
    }
    for (int32_t i = 1; i <= a.roundCount; ++i) {
        if (!(a.rounds[i] == b.rounds[i])) {
            return false;
        }
    }
    return true;
}

// A file of records, damaged records and stray lines, with mixed line ends.
std::string randomFile(std::mt19937& gen) {
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> count(0, 6);
    std::string file;
    const int records = count(gen);
    for (int i = 0; i < records; ++i) {
        std::string text = FormatResultRecord(randomRecord(gen));
        switch (kind(gen)) {
        case 0: // cut off anywhere
            text.resize(std::uniform_int_distribution<std::size_t>(0, text.size())(gen));
            break;
        case 1: // LF only
            std::erase(text, '\r');
            break;
        case 2: // a number that does not convert
            if (const auto at = text.find("\r\n  ");
                at != std::string::npos && at + 40 < text.size()) {
                text[at + 5] = '#';
            }
            break;
        case 3: // a marked record
            text.replace(text.find("$ prtkey") + 9, 20, std::string(19, ' ') + "/");
            break;
        case 4: // stray bytes between records
            file += std::string("\r\n\n$ eodata\r garbage \0\r", 22);
            break;
        default:
            break;
        }
        file += text;
    }
    return file;
}

} // namespace

TEST_F(ResultFile, RandomRecordsComeBackAsTheyWereWritten) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 gen(seed);
        write(path, "");
        std::vector<ResultRecord> written;
        const int records = 1 + static_cast<int>(seed % 3);
        for (int i = 0; i < records; ++i) {
            programState().current = randomRecord(gen);
            written.push_back(asStored(programState().current));
            ASSERT_EQ(AppendResultRecord(path), kAppendOk);
        }
        std::vector<ResultRecord> read;
        ASSERT_TRUE(ForEachResultRecord(path, [&](int32_t k, const ResultRecord& r, bool faulty) {
            EXPECT_EQ(k, static_cast<int32_t>(read.size()) + 1);
            EXPECT_FALSE(faulty);
            read.push_back(r);
        }));
        ASSERT_EQ(read.size(), written.size()) << seed;
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_TRUE(sameRun(read[i], written[i])) << "seed " << seed << " record " << i;
        }
    }
}

TEST_F(ResultFile, TheChartWalkEqualsReadingRecordByRecord) {
    ResultRecord before;
    before.header[kPrtkey] = "V-999";
    before.roundCount = 3;
    before.rounds[3] = {4, 4, 4444, 4};
    using Visits = std::vector<std::pair<int32_t, ResultRecord>>;

    const auto compare = [&](int32_t n, const std::string& label) {
        programState().current = before;
        programState().RecordsRead = 77;
        Visits one;
        ResultList unused;
        for (int32_t k = 1; k <= n; ++k) {
            ReadResultFile(path, k, false, unused);
            one.emplace_back(k, programState().current);
        }
        const ResultRecord afterOne = programState().current;
        const int32_t countOne = programState().RecordsRead;

        programState().current = before;
        programState().RecordsRead = 77;
        Visits walk;
        WalkResultFile(path, n, [&](int32_t k, const ResultRecord& r) { walk.emplace_back(k, r); });
        EXPECT_TRUE(walk == one) << label << " n=" << n;
        EXPECT_TRUE(programState().current == afterOne) << label << " n=" << n;
        EXPECT_EQ(programState().RecordsRead, countOne) << label << " n=" << n;
    };

    compare(3, "missing file");
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 gen(seed);
        write(path, randomFile(gen));
        ResultList entries;
        ReadResultFile(path, 0, false, entries);
        const int32_t m = programState().RecordsRead;
        for (const int32_t n : {0, 1, m - 1, m, m + 2}) {
            compare(n, "seed " + std::to_string(seed));
        }
    }
}

TEST_F(ResultFile, TheBufferSizeNeverChangesWhatIsRead) {
    using Seen = std::vector<std::tuple<int32_t, ResultRecord, bool>>;
    const auto readAll = [&] {
        Seen seen;
        ForEachResultRecord(path, [&](int32_t k, const ResultRecord& r, bool faulty) {
            seen.emplace_back(k, r, faulty);
        });
        return seen;
    };
    std::uniform_int_distribution<int> byte(0, 255);
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 gen(seed);
        std::string file = randomFile(gen);
        // Sprinkle CRs, LFs and dollars so that line ends and keys fall on every boundary.
        for (std::size_t i = 0; i < file.size(); i += 1 + static_cast<std::size_t>(byte(gen))) {
            file[i] = "\r\n$ x"[byte(gen) % 5];
        }
        write(path, file);
        detail::SetResultFileChunkSize(0);
        programState().current = ResultRecord{};
        const Seen expected = readAll();
        for (const std::size_t chunk : {1, 2, 3, 7, 8, 9, 29, 40, 41, 42, 43, 1000}) {
            detail::SetResultFileChunkSize(chunk);
            programState().current = ResultRecord{};
            EXPECT_TRUE(readAll() == expected) << "seed " << seed << " chunk " << chunk;
        }
    }
}
