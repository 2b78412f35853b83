// quendal-results: the runs of a result file for use elsewhere.
//   list FILE [--today] [--english]  the list lines of the overall statistics view
//   show FILE N [--english]          the statistics table of record N
//   csv FILE                         every round of every record as CSV
// "--user N" in place of FILE reads user N's result file in the program's data folder.
#include "core/cp1252.h"
#include "core/folders.h"
#include "core/program_state.h"
#include "core/result_file.h"
#include "core/statistics.h"
#include "core/user_files.h"
#include "core/vocabulary.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

using namespace quendal;

namespace {

constexpr std::string_view kUsage =
    "Usage: quendal-results COMMAND FILE [ARGUMENTS]\n"
    "       quendal-results COMMAND --user N [ARGUMENTS]\n"
    "Prints the runs stored in a Quendal result file (user1.dat .. user4.dat).\n"
    "\n"
    "Commands:\n"
    "  list FILE [--today] [--english]  one line per run, fields separated by ';', as the\n"
    "                                   overall statistics list them (--today: only the runs\n"
    "                                   saved today)\n"
    "  show FILE N [--english]          the statistics table of run N (1 = the oldest)\n"
    "  csv FILE                         one CSV line per round of every run (UTF-8)\n"
    "\n"
    "Options:\n"
    "  --user N    read user N's file (1 to 4) in the program's data folder instead of FILE:\n"
    "              $QUENDAL_DATA_DIR, else $XDG_DATA_HOME or ~/.local/share, followed by\n"
    "              Quendal/Varon/Daten/userN.dat\n"
    "  --verbose   name the file that is read (on standard error)\n"
    "  --english   English texts instead of German (list and show)\n"
    "  --help      print this text\n";

struct UsageError {
    std::string message;
};
struct FileError {
    std::string message;
};

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    bool today = false;
    bool english = false;
    bool verbose = false;
    int user = 0;     // 1..4 with --user
    std::string file; // the result file to read
};

int parseUser(std::string_view text) {
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') {
        return text[0] - '0';
    }
    throw UsageError{"not a user number (1 to 4): " + std::string(text)};
}

// User N's result file in the data folder the program uses.
std::string userResultFile(int user) {
    const std::string base =
        dataFolderBase(std::getenv("QUENDAL_DATA_DIR"),
                       xdgDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    if (IncludeBackslash(base).empty()) {
        throw FileError{"no data folder: neither QUENDAL_DATA_DIR, XDG_DATA_HOME nor HOME is set"};
    }
    return composeDataFolder(base, "") + tagKey(user) + ".dat";
}

Arguments parse(int argc, char** argv) {
    Arguments args;
    if (argc < 2) {
        throw UsageError{"no command given (try --help)"};
    }
    args.command = argv[1];
    if (args.command != "list" && args.command != "show" && args.command != "csv") {
        throw UsageError{"unknown command '" + args.command + "' (try --help)"};
    }
    for (int i = 2; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--today" && args.command == "list") {
            args.today = true;
        } else if (a == "--english" && args.command != "csv") {
            args.english = true;
        } else if (a == "--verbose") {
            args.verbose = true;
        } else if (a == "--user" || a.rfind("--user=", 0) == 0) {
            if (args.user != 0) {
                throw UsageError{"--user is given twice"};
            }
            if (a == "--user") {
                if (i + 1 >= argc) {
                    throw UsageError{"--user needs a user number (1 to 4)"};
                }
                args.user = parseUser(argv[++i]);
            } else {
                args.user = parseUser(a.substr(7));
            }
        } else if (a.size() > 1 && a.front() == '-') {
            throw UsageError{"option '" + std::string(a) + "' does not belong to " + args.command};
        } else {
            args.positional.emplace_back(a);
        }
    }
    const bool show = args.command == "show";
    if (args.user != 0) {
        // The user's file takes the place of FILE.
        if (args.positional.size() != (show ? 1 : 0)) {
            throw UsageError{args.command + " --user N takes " +
                             (show ? std::string("a record number") : std::string("no file"))};
        }
        args.positional.insert(args.positional.begin(), userResultFile(args.user));
    }
    const std::size_t wanted = show ? 2 : 1;
    if (args.positional.size() != wanted) {
        throw UsageError{
            args.command + " takes " +
            (wanted == 2 ? std::string("a file and a record number") : std::string("one file"))};
    }
    args.file = args.positional[0];
    return args;
}

void setLanguage(bool english) {
    ProgramState& state = programState();
    state.UiLanguage = english ? 2 : 1;
    state.vocabulary = ExerciseVocabulary::forLanguage(state.UiLanguage);
}

// Why a pass over the file at path failed. A named pipe or a device is refused unread.
FileError unreadable(const std::string& path, const ReadOutcome& outcome) {
    std::error_code ec;
    switch (outcome.status) {
    case ReadStatus::Missing:
        return {"no such file: " + path};
    case ReadStatus::NotRegularFile:
        if (std::filesystem::is_directory(path, ec)) {
            return {"is a folder, not a result file: " + path};
        }
        return {"is not a regular file, not a result file: " + path};
    default:
        return {"cannot read " + path + ": " +
                std::generic_category().message(outcome.error != 0 ? outcome.error : EIO)};
    }
}

int list(const Arguments& args) {
    setLanguage(args.english);
    ResultList entries;
    // Nothing is printed unless the whole file was read.
    if (const ReadOutcome read = ReadResultFile(args.positional[0], 0, args.today, entries);
        !read) {
        throw unreadable(args.positional[0], read);
    }
    for (const std::string& entry : entries) {
        std::cout << entry << '\n';
    }
    return 0;
}

std::string padLeft(const std::string& text, std::size_t width) {
    const std::size_t n = cp1252::length(text);
    return n >= width ? text : std::string(width - n, ' ') + text;
}

int show(const Arguments& args) {
    setLanguage(args.english);
    const std::string& number = args.positional[1];
    int32_t n = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (ec != std::errc{} || end != number.data() + number.size() || n < 1) {
        throw UsageError{"not a record number: " + number};
    }
    ResultList unused;
    if (const ReadOutcome read = ReadResultFile(args.positional[0], n, false, unused); !read) {
        throw unreadable(args.positional[0], read);
    }
    const ProgramState& state = programState();
    if (state.RecordsRead < n) {
        throw FileError{"record " + number + " is out of range: " + args.positional[0] + " holds " +
                        std::to_string(state.RecordsRead) + " records"};
    }
    const ResultRecord& record = state.current;
    const bool german = state.UiLanguage == 1;

    // Column heads: the colour names for the colour exercise (kind digit 1), else the numbers.
    const std::string key = cp1252::fromUtf8(record.header[kPrtkey]);
    const auto& names = key.size() >= 3 && key[2] == '1' ? state.vocabulary.colourNames
                                                         : state.vocabulary.numberNames;
    const std::array<std::string, 5> heads = {german ? "Alle" : "All", names[1], names[2], names[3],
                                              names[4]};
    const std::array<std::string, 8> captions =
        german ? std::array<std::string, 8>{"Richtige",    "Mittelwert", "Standardabw.",
                                            "Falsche",     "Mittelwert", "Standardabw.",
                                            "Interferenz", "Eliminierte"}
               : std::array<std::string, 8>{"Correct",      "Average value", "Stand.dev.",
                                            "Incorrect",    "Average value", "Stand.dev.",
                                            "Interference", "Eliminated"};
    std::array<std::array<std::string, 5>, 8> cells;
    for (std::size_t c = 0; c < 5; ++c) {
        const StatisticsColumn& col = record.statistics.columns[c];
        const std::array<int32_t, 8> values = {col.correct,      col.meanCorrect, col.sdCorrect,
                                               col.wrong,        col.meanWrong,   col.sdWrong,
                                               col.interference, col.eliminated};
        for (std::size_t r = 0; r < 8; ++r) {
            cells[r][c] = std::to_string(values[r]);
        }
    }
    std::size_t captionWidth = 0;
    for (const auto& caption : captions) {
        captionWidth = std::max(captionWidth, cp1252::length(caption));
    }
    std::array<std::size_t, 5> widths{};
    for (std::size_t c = 0; c < 5; ++c) {
        widths[c] = cp1252::length(heads[c]);
        for (const auto& row : cells) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    std::string line(captionWidth, ' ');
    for (std::size_t c = 0; c < 5; ++c) {
        line += "  " + padLeft(heads[c], widths[c]);
    }
    std::cout << line << '\n';
    for (std::size_t r = 0; r < 8; ++r) {
        line = padLeft(captions[r], captionWidth);
        for (std::size_t c = 0; c < 5; ++c) {
            line += "  " + padLeft(cells[r][c], widths[c]);
        }
        std::cout << line << '\n';
    }
    return 0;
}

// A CSV field: quoted when it holds a comma, a quote or a line break, quotes doubled.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

// The digit at position i of the program key ("V-" + kind + version + frame), or nothing.
std::string keyDigit(const std::string& key, std::size_t i) {
    return i < key.size() && key[i] >= '0' && key[i] <= '9' ? std::string(1, key[i]) : "";
}

int csv(const Arguments& args) {
    std::string out = "record,date,time,program_key,kind,version,frame_mode,round,target_value,"
                      "chosen_value,reaction_time_ms,distractor_value,correct,eliminated\r\n";
    const ReadOutcome read = ForEachResultRecord(
        args.positional[0], [&out](int32_t number, const ResultRecord& record, bool) {
            const std::string& key = record.header[kPrtkey];
            const std::string common =
                std::to_string(number) + ',' + csvField(record.header[kSvdate]) + ',' +
                csvField(record.header[kSvtime]) + ',' + csvField(key) + ',' + keyDigit(key, 2) +
                ',' + keyDigit(key, 3) + ',' + keyDigit(key, 4);
            for (int32_t r = 1; r <= record.roundCount; ++r) {
                const RoundRecord& round = record.rounds[r];
                const bool eliminated = round.reactionTimeMs <= EliminationLimitMs;
                const bool correct =
                    !eliminated && round.chosenValue != 0 && round.chosenValue == round.targetValue;
                out += common + ',' + std::to_string(r) + ',' + std::to_string(round.targetValue) +
                       ',' + std::to_string(round.chosenValue) + ',' +
                       std::to_string(round.reactionTimeMs) + ',' +
                       std::to_string(round.distractorValue) + ',' + (correct ? '1' : '0') + ',' +
                       (eliminated ? '1' : '0') + "\r\n";
            }
            if (out.size() > (1u << 20)) {
                std::cout << out;
                out.clear();
            }
        });
    if (!read) {
        throw unreadable(args.positional[0], read);
    }
    std::cout << out;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::cout << kUsage;
            return 0;
        }
    }
    try {
        const Arguments args = parse(argc, argv);
        if (args.verbose) {
            std::cerr << "quendal-results: reading " << args.file << '\n';
        }
        const int result = args.command == "list"   ? list(args)
                           : args.command == "show" ? show(args)
                                                    : csv(args);
        std::cout.flush();
        if (!std::cout) {
            std::cerr << "quendal-results: could not write the output\n";
            return 1;
        }
        return result;
    } catch (const UsageError& e) {
        std::cerr << "quendal-results: " << e.message << '\n';
        return 2;
    } catch (const FileError& e) {
        std::cerr << "quendal-results: " << e.message << '\n';
        return 1;
    }
}
