// Runs the built quendal-results on a small result file and checks its output byte for byte.
#include "core/local_clock.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string header(const std::string& key, const std::string& value) {
    return key + " " + std::string(20 - value.size(), ' ') + value + "\r\n";
}

std::string record(const std::string& date, const std::string& time, const std::string& key,
                   const std::string& info1, const std::string& info2, const std::string& rounds) {
    return header("$ prname", "V a r o n") + header("$ svdate", date) + header("$ svtime", time) +
           header("$ prtkey", key) + header("$ info 1", info1) + header("$ info 2", info2) +
           header("$ info 3", "Fester Rahmen") + header("$ info 4", "") + header("$ info 5", "") +
           rounds + "$ eodata \r\n";
}

class ResultsTool : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quendal-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        file = dir + "/user2.dat";
        today = quendal::FormatDate(quendal::SystemLocalTime());
        // 1: a colour run of three rounds; 2: a marked record; 3: a number run saved today
        // whose time field holds a comma, quotes and a Windows-1252 letter.
        std::ofstream(file, std::ios::binary)
            << record("03.11.2004", "09.41", "V-131", "Farbe/Wort", "Version 3",
                      "         2         2       812         4\r\n"
                      "         4         1      1066         1\r\n"
                      "         1         0      3000         3\r\n")
            << record("04.11.2004", "10.00", "/", "", "", "")
            << record(today, "Gr\xFCn, \"x\"", "V-242", "Zahl/Anzahl", "Version 4",
                      "         3         3        80         1\r\n"
                      "         1         1       500         1\r\n");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // env: "NAME=value" sets a variable for the tool, "NAME" removes it.
    ToolRun run(const std::vector<std::string>& args,
                const std::vector<std::string>& env = {}) const {
        ToolRun result;
        const std::string out = dir + "/stdout";
        const std::string err = dir + "/stderr";
        const pid_t pid = fork();
        if (pid == 0) {
            for (const auto& e : env) {
                const auto eq = e.find('=');
                if (eq == std::string::npos) {
                    unsetenv(e.c_str());
                } else {
                    setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
                }
            }
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(o, 1);
            dup2(e, 2);
            std::vector<char*> argv{const_cast<char*>(QUENDAL_RESULTS_TOOL)};
            for (const auto& a : args) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            alarm(20); // a tool that waits for ever ends as a failure
            execv(QUENDAL_RESULTS_TOOL, argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.out = slurp(out);
        result.err = slurp(err);
        return result;
    }

    std::string dir;
    std::string file;
    std::string today;
};

} // namespace

TEST_F(ResultsTool, ListsTheRunsAsTheOverallViewDoes) {
    const ToolRun german = run({"list", file});
    EXPECT_EQ(german.status, 0);
    EXPECT_EQ(german.out, "1;03.11.2004;Farbe/Wort - Version 3;3;1;812;0;2;1\n"
                          "-;-;Keine Daten vorhanden;0;0;0;0;0;0\n"
                          "3;" +
                              today + ";Zahl/Anzahl - Version 4;2;1;500;0;0;0\n");
    EXPECT_EQ(german.err, "");

    const ToolRun english = run({"list", "--english", file, "--today"});
    EXPECT_EQ(english.status, 0);
    EXPECT_EQ(english.out, "3;" + today + ";Zahl/Anzahl - version 4;2;1;500;0;0;0\n");
}

TEST_F(ResultsTool, ShowsTheStatisticsTableWithTheHeadsOfTheExercise) {
    const ToolRun colour = run({"show", file, "1"});
    EXPECT_EQ(colour.status, 0);
    EXPECT_EQ(colour.out, "              Alle  Blau  Gelb  Grün   Rot\n"
                          "    Richtige     1     0     1     0     0\n"
                          "  Mittelwert   812     0   812     0     0\n"
                          "Standardabw.     0     0     0     0     0\n"
                          "     Falsche     2     1     0     0     1\n"
                          "  Mittelwert  2033  3000     0     0  1066\n"
                          "Standardabw.   967     0     0     0     0\n"
                          " Interferenz     1     0     0     0     1\n"
                          " Eliminierte     0     0     0     0     0\n");

    const ToolRun number = run({"show", file, "3", "--english"});
    EXPECT_EQ(number.status, 0);
    EXPECT_EQ(number.out, "               All  one  two  three  four\n"
                          "      Correct    1    1    0      0     0\n"
                          "Average value  500  500    0      0     0\n"
                          "   Stand.dev.    0    0    0      0     0\n"
                          "    Incorrect    0    0    0      0     0\n"
                          "Average value    0    0    0      0     0\n"
                          "   Stand.dev.    0    0    0      0     0\n"
                          " Interference    0    0    0      0     0\n"
                          "   Eliminated    1    0    0      1     0\n");
}

TEST_F(ResultsTool, WritesEveryRoundAsCsv) {
    const ToolRun csv = run({"csv", file});
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out, "record,date,time,program_key,kind,version,frame_mode,round,target_value,"
                       "chosen_value,reaction_time_ms,distractor_value,correct,eliminated\r\n"
                       "1,03.11.2004,09.41,V-131,1,3,1,1,2,2,812,4,1,0\r\n"
                       "1,03.11.2004,09.41,V-131,1,3,1,2,4,1,1066,1,0,0\r\n"
                       "1,03.11.2004,09.41,V-131,1,3,1,3,1,0,3000,3,0,0\r\n"
                       "3," +
                           today +
                           ",\"Grün, \"\"x\"\"\",V-242,2,4,2,1,3,3,80,1,0,1\r\n"
                           "3," +
                           today + ",\"Grün, \"\"x\"\"\",V-242,2,4,2,2,1,1,500,1,1,0\r\n");
}

TEST_F(ResultsTool, RefusesBadInputWithOneLineAndAFailingStatus) {
    // A named pipe with no writer would keep a blocking open() waiting for ever; the tool's
    // own memory read as a file fails with an input/output error at its first byte.
    const std::string pipe = dir + "/pipe.dat";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string failing = "/proc/self/mem";
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"list"},
        {"list", dir + "/missing.dat"},
        {"list", dir},
        {"show", file, "4"},
        {"show", file, "0"},
        {"show", file, "1x"},
        {"show", file},
        {"csv", file, "--today"},
        {"print", file},
        {"list", pipe},
        {"show", pipe, "1"},
        {"csv", pipe},
        {"list", failing},
        {"show", failing, "1"},
        {"csv", failing},
    };
    for (const auto& args : bad) {
        const ToolRun r = run(args);
        const std::string label =
            args.empty() ? "(none)" : args[0] + " " + std::to_string(args.size());
        EXPECT_NE(r.status, 0) << label;
        EXPECT_EQ(r.out, "") << label;
        ASSERT_FALSE(r.err.empty()) << label;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << label << ": " << r.err;
        EXPECT_EQ(r.err.rfind("quendal-results: ", 0), 0u) << label;
    }
    EXPECT_EQ(run({"show", file, "4"}).err,
              "quendal-results: record 4 is out of range: " + file + " holds 3 records\n");
    const ToolRun fromPipe = run({"list", pipe});
    EXPECT_EQ(fromPipe.status, 1);
    EXPECT_EQ(fromPipe.err,
              "quendal-results: is not a regular file, not a result file: " + pipe + "\n");
    const ToolRun readError = run({"list", failing});
    EXPECT_EQ(readError.status, 1);
    EXPECT_EQ(readError.err, "quendal-results: cannot read " + failing + ": Input/output error\n");

    const ToolRun help = run({"list", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: quendal-results", 0), 0u);
}

TEST_F(ResultsTool, FindsAUsersFileInTheProgramsDataFolder) {
    const std::string expectedList = run({"list", file}).out;
    ASSERT_FALSE(expectedList.empty());
    const std::string expectedShow = run({"show", file, "3", "--english"}).out;
    const std::string expectedCsv = run({"csv", file}).out;
    const auto place = [this](const std::string& base) {
        const std::string folder = base + "/Quendal/Varon/Daten";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(file, folder + "/user2.dat");
        return folder + "/user2.dat";
    };

    // QUENDAL_DATA_DIR wins over the XDG data home.
    const std::string own = place(dir + "/own");
    place(dir + "/xdg");
    const std::vector<std::string> ownEnv = {"QUENDAL_DATA_DIR=" + dir + "/own",
                                             "XDG_DATA_HOME=" + dir + "/xdg", "HOME=" + dir};
    const ToolRun listed = run({"list", "--user", "2", "--verbose"}, ownEnv);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, expectedList);
    EXPECT_EQ(listed.err, "quendal-results: reading " + own + "\n");
    const ToolRun shown = run({"show", "--english", "--user=2", "3"}, ownEnv);
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, expectedShow);
    EXPECT_EQ(shown.err, "");
    EXPECT_EQ(run({"csv", "--user", "2"}, ownEnv).out, expectedCsv);

    // Without it: $XDG_DATA_HOME, then ~/.local/share; a relative XDG_DATA_HOME is ignored.
    EXPECT_EQ(run({"list", "--user", "2", "--verbose"},
                  {"QUENDAL_DATA_DIR", "XDG_DATA_HOME=" + dir + "/xdg", "HOME=" + dir})
                  .err,
              "quendal-results: reading " + dir + "/xdg/Quendal/Varon/Daten/user2.dat\n");
    const std::string home = place(dir + "/.local/share");
    for (const std::string xdg : {"XDG_DATA_HOME", "XDG_DATA_HOME=", "XDG_DATA_HOME=xdg"}) {
        const ToolRun r =
            run({"list", "--verbose", "--user", "2"}, {"QUENDAL_DATA_DIR=", xdg, "HOME=" + dir});
        EXPECT_EQ(r.status, 0) << xdg;
        EXPECT_EQ(r.out, expectedList) << xdg;
        EXPECT_EQ(r.err, "quendal-results: reading " + home + "\n") << xdg;
    }

    // A user whose file is not there, and users that do not exist.
    const ToolRun missing = run({"list", "--user", "4"}, ownEnv);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "quendal-results: no such file: " + dir + "/own/Quendal/Varon/Daten/user4.dat\n");
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"list", "--user", "5"},
             {"list", "--user", "0"},
             {"list", "--user"},
             {"list", "--user", "2", file},
             {"list", "--user", "2", "--user", "2"},
             {"show", "--user", "2"},
         }) {
        const ToolRun r = run(bad, ownEnv);
        EXPECT_EQ(r.status, 2) << bad.size();
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(run({"list", "--user", "2"}, {"QUENDAL_DATA_DIR", "XDG_DATA_HOME", "HOME"}).status,
              1);
}
