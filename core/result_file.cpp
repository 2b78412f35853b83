#include "core/result_file.h"

#include "core/cp1252.h"
#include "core/program_state.h"
#include "core/result_file_io.h"
#include "core/safe_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <string_view>
#include <unistd.h>

namespace quendal {
namespace {

using namespace result_file_io;

constexpr std::array<std::string_view, kHeaderFieldCount> kHeaderKeys = {
    "$ prname", "$ svdate", "$ svtime", "$ prtkey", "$ info 1",
    "$ info 2", "$ info 3", "$ info 4", "$ info 5",
};
constexpr std::string_view kEndLine = "$ eodata ";
constexpr std::string_view kLineEnd = "\r\n";

void appendPaddedLeft(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width) {
        out.append(width - text.size(), ' ');
    }
    out.append(text);
}

// A data field: the number in decimal, right-aligned in 10 characters. The reader never
// yields a number below -999999999 (it would not fit the field), so nothing real is clipped.
void appendField(std::string& out, int32_t value) {
    int64_t v = std::max<int64_t>(value, -999999999);
    std::array<char, 12> digits{};
    std::size_t n = 0;
    const bool negative = v < 0;
    if (negative) {
        v = -v;
    }
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v > 0);
    if (negative) {
        digits[n++] = '-';
    }
    out.append(kFieldWidth - n, ' ');
    for (std::size_t k = n; k > 0; --k) {
        out.push_back(digits[k - 1]);
    }
}

// Keeps SIGXFSZ, which a file-size limit raises on a write beyond it, from ending the
// program: the signal is blocked around the write and a pending one is taken away after it.
class FileSizeSignalGuard {
  public:
    FileSizeSignalGuard() {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &set, &previous_);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGXFSZ) == 1;
    }
    FileSizeSignalGuard(const FileSizeSignalGuard&) = delete;
    FileSizeSignalGuard& operator=(const FileSizeSignalGuard&) = delete;
    ~FileSizeSignalGuard() {
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending_ && sigismember(&pending, SIGXFSZ) == 1) {
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGXFSZ);
            const timespec zero{};
            sigtimedwait(&set, nullptr, &zero);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }

  private:
    sigset_t previous_{};
    bool wasPending_ = false;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// What must come before a record appended to a file of size bytes so that its first line
// starts a line of its own: nothing when the file is empty or ends with LF, LF after a CR,
// CR LF after anything else. A file that cannot be read gets CR LF: an empty line between
// records is skipped by the reader.
std::string_view lineEndBefore(int fd, off_t size) {
    if (size == 0) {
        return {};
    }
    char last = 0;
    ssize_t n = 0;
    do {
        n = ::pread(fd, &last, 1, size - 1);
    } while (n < 0 && errno == EINTR);
    if (n == 1 && last == '\n') {
        return {};
    }
    if (n == 1 && last == '\r') {
        return kLineEnd.substr(1);
    }
    return kLineEnd;
}

} // namespace

std::string FormatResultRecord(const ResultRecord& record) {
    std::string out;
    const int32_t rounds = std::clamp<int32_t>(record.roundCount, 0, kMaxRounds);
    out.reserve(std::size_t{kHeaderFieldCount} * 31 + static_cast<std::size_t>(rounds) * 42 + 11);
    for (int h = 0; h < kHeaderFieldCount; ++h) {
        std::string value = cp1252::fromUtf8(record.header[h]);
        if (value.size() > kHeaderTextMax) {
            value.resize(kHeaderTextMax);
        }
        std::replace(value.begin(), value.end(), '\n', ' '); // one header, one line
        out.append(kHeaderKeys[h]);
        out.push_back(' ');
        appendPaddedLeft(out, value, kHeaderTextMax);
        out.append(kLineEnd);
    }
    for (int32_t r = 1; r <= rounds; ++r) {
        const RoundRecord& round = record.rounds[r];
        if (round.targetValue <= 0) {
            continue;
        }
        appendField(out, round.targetValue);
        appendField(out, round.chosenValue);
        appendField(out, round.reactionTimeMs);
        appendField(out, round.distractorValue);
        out.append(kLineEnd);
    }
    out.append(kEndLine);
    out.append(kLineEnd);
    return out;
}

int AppendResultRecord(const std::string& path) {
    ProgramState& state = programState();
    // Only a regular file takes a record: a named pipe or a device in its place counts as no
    // file and is never waited on. The last byte is read to see whether the file ends a line.
    OpenedFile opened = openRegularFile(path, O_RDWR);
    if (opened.status == OpenStatus::Failed && opened.error == EACCES) {
        opened = openRegularFile(path, O_WRONLY);
    }
    if (opened.status == OpenStatus::Missing || opened.status == OpenStatus::NotRegularFile) {
        return kAppendFileMissing;
    }
    state.RunUnsaved = false;
    if (opened.status != OpenStatus::Opened) {
        return kAppendIoError;
    }
    const FileHandle file(opened.fd);
    const int fd = file.get();
    const off_t before = ::lseek(fd, 0, SEEK_END);
    if (before < 0) {
        return kAppendIoError;
    }
    std::string bytes(lineEndBefore(fd, before));
    bytes += FormatResultRecord(state.current);
    bool ok = false;
    {
        const FileSizeSignalGuard guard;
        ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    }
    if (!ok) {
        // Whatever part of the record reached the file goes again.
        if (::ftruncate(fd, before) == 0) {
            ::fsync(fd);
        }
        return kAppendIoError;
    }
    return kAppendOk;
}

void SaveCurrentRun(MessageSink& messages) {
    ProgramState& state = programState();
    if (state.CurrentUser.ResultFileName.empty() || !state.RunUnsaved) {
        return;
    }
    if (AppendResultRecord(state.CurrentUser.Folder + state.CurrentUser.ResultFileName) !=
        kAppendOk) {
        const bool german = state.UiLanguage == 1;
        messages.Show(german ? "Fehler beim Speichern der Statistik."
                             : "Error saving the statistics.",
                      german ? "Hinweis" : "Info", false, true, 4);
    }
}

} // namespace quendal
