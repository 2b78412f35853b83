#include "core/cp1252.h"
#include "core/local_clock.h"
#include "core/program_state.h"
#include "core/result_file.h"
#include "core/result_file_io.h"
#include "core/safe_file.h"
#include "core/statistics.h"
#include "core/text_trim.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <unistd.h>

namespace quendal {
namespace {

using namespace result_file_io;

constexpr std::string_view kRecordStart = "$ prname";
constexpr std::string_view kRecordEnd = "$ eodata";

constexpr std::size_t kValueStart = 9; // a header value starts at character 10
constexpr std::size_t kDataLineLength = 40;
constexpr std::size_t kDefaultChunk = std::size_t{64} * 1024;

std::size_t chunkSize = kDefaultChunk;

// What the reader needs of one line, gathered piece by piece so that a line of any length
// passes through a fixed buffer. A trailing CR (before LF or at the end of the file) is
// not part of the line.
struct Line {
    std::size_t length = 0;
    bool hasRecordStart = false;
    bool hasRecordEnd = false;
    std::array<char, kDataLineLength> head{}; // the first 40 bytes
    // The whole line when it lay in the buffer in one piece (valid until the next line).
    std::string_view whole;
    bool inOnePiece = true;
    // For a line in several pieces: the header value, built as the pieces pass.
    std::string value;
    bool valueStarted = false;
    bool moreAfterValue = false;
    // The last bytes of the pieces so far, to find a key split between two pieces.
    std::array<char, 7> tail{};
    std::size_t tailLength = 0;

    void clear() {
        length = 0;
        hasRecordStart = hasRecordEnd = false;
        whole = {};
        inOnePiece = true;
        value.clear();
        valueStarted = moreAfterValue = false;
        tailLength = 0;
    }

    static bool contains(std::string_view s, std::string_view key) {
        return s.find(key) != std::string_view::npos;
    }

    void findKeys(std::string_view piece) {
        // A key split between pieces begins with the '$' in the tail.
        if (tailLength > 0 && std::memchr(tail.data(), '$', tailLength) != nullptr) {
            std::array<char, 14> joint{};
            std::memcpy(joint.data(), tail.data(), tailLength);
            const std::size_t extra = std::min<std::size_t>(7, piece.size());
            std::memcpy(joint.data() + tailLength, piece.data(), extra);
            const std::string_view j(joint.data(), tailLength + extra);
            hasRecordStart = hasRecordStart || contains(j, kRecordStart);
            hasRecordEnd = hasRecordEnd || contains(j, kRecordEnd);
        }
        const void* dollar = std::memchr(piece.data(), '$', piece.size());
        if (dollar != nullptr) {
            const std::string_view rest = piece.substr(
                static_cast<std::size_t>(static_cast<const char*>(dollar) - piece.data()));
            hasRecordStart = hasRecordStart || contains(rest, kRecordStart);
            hasRecordEnd = hasRecordEnd || contains(rest, kRecordEnd);
        }
        // Keep the last 7 bytes of the line so far.
        if (piece.size() >= tail.size()) {
            std::memcpy(tail.data(), piece.data() + piece.size() - tail.size(), tail.size());
            tailLength = tail.size();
        } else {
            const std::size_t keep = std::min(tailLength, tail.size() - piece.size());
            std::memmove(tail.data(), tail.data() + tailLength - keep, keep);
            std::memcpy(tail.data() + keep, piece.data(), piece.size());
            tailLength = keep + piece.size();
        }
    }

    // The header value of a line in pieces: from character 10, leading blanks and control
    // characters skipped, at most 20 bytes kept; whether anything but blanks follows them
    // decides at the end whether the kept bytes lose their trailing blanks.
    void streamValue(std::string_view piece, std::size_t offset) {
        for (std::size_t k = 0; k < piece.size() && !moreAfterValue; ++k) {
            if (offset + k < kValueStart) {
                continue;
            }
            const char c = piece[k];
            if (!valueStarted) {
                if (!isBlankOrControl(c)) {
                    valueStarted = true;
                    value.push_back(c);
                }
            } else if (value.size() < kHeaderTextMax) {
                value.push_back(c);
            } else if (!isBlankOrControl(c)) {
                moreAfterValue = true;
            }
        }
    }

    void absorb(std::string_view piece, bool alone) {
        const std::size_t offset = length;
        if (offset < head.size()) {
            const std::size_t n = std::min(head.size() - offset, piece.size());
            std::memcpy(head.data() + offset, piece.data(), n);
        }
        length += piece.size();
        findKeys(piece);
        if (alone) {
            whole = piece;
        } else {
            inOnePiece = false;
            streamValue(piece, offset);
        }
    }

    // The header value as raw bytes: character 10 to the end, trimmed, cut to 20 bytes.
    std::string headerValue() const {
        if (inOnePiece) {
            const std::string_view v =
                whole.size() > kValueStart ? trimBlanks(whole.substr(kValueStart)) : "";
            return std::string(v.substr(0, kHeaderTextMax));
        }
        std::string_view v = value;
        if (!moreAfterValue) {
            v = trimBlanks(v);
        }
        return std::string(v);
    }

    bool isDataLine() const {
        return length == kDataLineLength &&
               std::memchr(head.data(), '$', kDataLineLength) == nullptr;
    }
};

// Splits the file into lines at LF, through a buffer of fixed size.
class LineSource {
  public:
    explicit LineSource(int fd) : fd_(fd), size_(chunkSize), buffer_(new char[size_]) {}

    // False at the end of the file or after a read error; a last line without LF is still a
    // line.
    bool next(Line& line) {
        line.clear();
        bool any = false;
        bool heldCr = false; // the previous piece ended in CR: it belongs to the line only
                             // when something other than LF follows it
        for (;;) {
            if (pos_ == end_ && !refill()) {
                return any && error_ == 0; // a CR held back at the very end is dropped
            }
            any = true;
            const char* start = buffer_.get() + pos_;
            const std::size_t available = end_ - pos_;
            const void* lf = std::memchr(start, '\n', available);
            std::size_t n = lf != nullptr
                                ? static_cast<std::size_t>(static_cast<const char*>(lf) - start)
                                : available;
            pos_ += lf != nullptr ? n + 1 : n;
            if (heldCr && n > 0) {
                line.absorb("\r", false);
            }
            heldCr = false;
            if (n > 0 && start[n - 1] == '\r') {
                --n;
                heldCr = lf == nullptr;
            }
            if (lf != nullptr) {
                line.absorb(std::string_view(start, n), line.length == 0 && line.inOnePiece);
                return true;
            }
            if (n > 0) {
                line.absorb(std::string_view(start, n), false);
            }
        }
    }

  private:
    bool refill() {
        if (eof_) {
            return false;
        }
        for (;;) {
            const ssize_t n = ::read(fd_, buffer_.get(), size_);
            if (n > 0) {
                pos_ = 0;
                end_ = static_cast<std::size_t>(n);
                return true;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                error_ = errno != 0 ? errno : EIO;
            }
            eof_ = true;
            return false;
        }
    }

  public:
    // The errno of a read that failed; 0 while none has.
    int error() const { return error_; }

  private:
    int fd_;
    std::size_t size_;
    std::unique_ptr<char[]> buffer_; // not cleared: only bytes read are looked at
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    int error_ = 0;
};

// One data field: blanks around it are dropped; an optional sign and at least one decimal
// digit must remain, and the number must fit 32 bits.
bool convertField(std::string_view field, int32_t& out) {
    while (!field.empty() && field.front() == ' ') {
        field.remove_prefix(1);
    }
    while (!field.empty() && field.back() == ' ') {
        field.remove_suffix(1);
    }
    bool negative = false;
    if (!field.empty() && (field.front() == '+' || field.front() == '-')) {
        negative = field.front() == '-';
        field.remove_prefix(1);
    }
    if (field.empty()) {
        return false;
    }
    int64_t v = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + (c - '0'); // at most 10 digits: no overflow of 64 bits
    }
    if (negative) {
        v = -v;
    }
    if (v < INT32_MIN || v > INT32_MAX) {
        return false;
    }
    out = static_cast<int32_t>(v);
    return true;
}

// Opens the file for a pass; a named pipe or a device in its place is refused unread.
int openForReading(const std::string& path, ReadOutcome& outcome) {
    const OpenedFile opened = openRegularFile(path, O_RDONLY);
    switch (opened.status) {
    case OpenStatus::Opened:
        break;
    case OpenStatus::Missing:
        outcome.status = ReadStatus::Missing;
        break;
    case OpenStatus::NotRegularFile:
        outcome.status = ReadStatus::NotRegularFile;
        break;
    case OpenStatus::Failed:
        outcome.status = ReadStatus::Unreadable;
        outcome.error = opened.error;
        break;
    }
    return opened.fd;
}

// Walks the records of a file. A record starts at a line that contains "$ prname"; its
// header values come from that line and the eight lines after it, whatever their keys;
// its rounds are the 40-character lines without "$" up to the line with "$ eodata". A line
// with "$ prname" before that ends a record that was cut off and starts the next one. A
// record cut off by the end of the file keeps what was read of it; one cut off by a read
// error is not a record.
class RecordReader {
  public:
    explicit RecordReader(int fd) : lines_(fd) {}

    // Reads the next record into record; false when the file holds no further record or
    // reading failed (failed() tells).
    bool next(ResultRecord& record, bool& faulty) {
        if (!pending_) {
            do {
                if (!lines_.next(line_)) {
                    return false;
                }
            } while (!line_.hasRecordStart);
        }
        pending_ = false;
        faulty = false;

        bool open = true; // the record still goes on
        std::array<std::string, kHeaderFieldCount> values{};
        values[0] = line_.headerValue();
        for (int h = 1; h < kHeaderFieldCount && open; ++h) {
            if (!lines_.next(line_)) {
                open = false;
            } else if (line_.hasRecordStart) {
                pending_ = true;
                open = false;
            } else {
                values[h] = line_.headerValue();
            }
        }
        for (int h = 0; h < kHeaderFieldCount; ++h) {
            record.header[h] = cp1252::toUtf8(values[h]);
        }

        int32_t count = 0;
        while (open && lines_.next(line_)) {
            if (line_.hasRecordEnd) {
                break;
            }
            if (line_.hasRecordStart) {
                pending_ = true;
                break;
            }
            if (!line_.isDataLine()) {
                continue;
            }
            if (count == kMaxRounds) {
                faulty = true; // no run has more rounds; the rest are not kept
                continue;
            }
            ++count;
            RoundRecord& round = record.rounds[count];
            std::array<int32_t*, 4> fields = {&round.targetValue, &round.chosenValue,
                                              &round.reactionTimeMs, &round.distractorValue};
            for (std::size_t f = 0; f < fields.size(); ++f) {
                const std::string_view text(line_.head.data() + f * kFieldWidth, kFieldWidth);
                if (!convertField(text, *fields[f])) {
                    *fields[f] = 0;
                    faulty = true;
                }
            }
        }
        if (failed()) {
            return false;
        }
        record.roundCount = count;
        ComputeRunStatistics(record);
        return true;
    }

    bool failed() const { return lines_.error() != 0; }
    // The outcome of the pass so far.
    ReadOutcome outcome() const {
        return failed() ? ReadOutcome{ReadStatus::Unreadable, lines_.error()} : ReadOutcome{};
    }

  private:
    LineSource lines_;
    Line line_;
    bool pending_ = false; // line_ starts the next record
};

std::string listText(int uiLanguage, const char* german, const char* english) {
    return uiLanguage == 1 ? german : english;
}

} // namespace

std::string ExerciseText(const ResultRecord& record) {
    const ProgramState& state = programState();
    const std::string key = cp1252::fromUtf8(trimBlanks(record.header[kPrtkey]));
    std::string unknown = listText(state.UiLanguage, "Unbekannt", "Unknown");
    if (key.size() < 4) {
        return unknown;
    }
    const char kind = key[2];
    const char version = key[3];
    // A kind that is no digit or a version outside 1..4 names no exercise.
    if (kind < '0' || kind > '9' || version < '1' || version > '4') {
        return unknown;
    }
    const auto& names =
        kind == '1' ? state.vocabulary.colourVersionNames : state.vocabulary.numberVersionNames;
    return record.header[kInfo1] + " - " + names[static_cast<std::size_t>(version - '0')];
}

std::string ResultListEntry(int32_t recordNumber, const ResultRecord& record, bool faulty) {
    const int language = programState().UiLanguage;
    const std::string& key = record.header[kPrtkey];
    if (key == "\\" || key == "/") {
        const std::string mark =
            key == "\\" ? listText(language, "Datenfehler", "File error")
                        : listText(language, "Keine Daten vorhanden", "No data available");
        return "-;-;" + mark + ";0;0;0;0;0;0";
    }
    if (faulty) {
        return listText(language, "Datenfehler", "File error");
    }
    const StatisticsColumn& all = record.statistics.columns[0];
    std::string entry = std::to_string(recordNumber);
    for (const std::string& field : {record.header[kSvdate], ExerciseText(record),
                                     std::to_string(record.roundCount), std::to_string(all.correct),
                                     std::to_string(all.meanCorrect), std::to_string(all.sdCorrect),
                                     std::to_string(all.wrong), std::to_string(all.interference)}) {
        entry += ';';
        entry += field;
    }
    return entry;
}

ReadOutcome ReadResultFile(const std::string& path, int32_t recordNumber, bool todayOnly,
                           ResultList& list) {
    ProgramState& state = programState();
    const std::string today = FormatDate(state.LocalClock ? state.LocalClock() : SystemLocalTime());
    ReadOutcome outcome;
    const FileHandle file(openForReading(path, outcome));
    if (outcome.status == ReadStatus::Missing || outcome.status == ReadStatus::NotRegularFile) {
        return outcome;
    }
    state.RecordsRead = 0;
    if (recordNumber == 0) {
        list.clear();
    }
    if (file.get() >= 0) {
        RecordReader reader(file.get());
        bool faulty = false;
        while (reader.next(state.current, faulty)) {
            ++state.RecordsRead;
            if (recordNumber > 0) {
                if (state.RecordsRead == recordNumber) {
                    break;
                }
                continue;
            }
            if (recordNumber < 0) {
                continue;
            }
            const std::string& key = state.current.header[kPrtkey];
            const bool marked = key == "\\" || key == "/";
            const bool listed =
                marked ? !todayOnly : !todayOnly || state.current.header[kSvdate] == today;
            if (listed) {
                list.push_back(ResultListEntry(state.RecordsRead, state.current, faulty));
            }
        }
        outcome = reader.outcome();
    }
    if (!outcome && recordNumber == 0) {
        // The list says that the file could not be read whole.
        list.push_back(listText(state.UiLanguage, "Datenfehler", "File error"));
    }
    return outcome;
}

ReadOutcome ForEachResultRecord(
    const std::string& path,
    const std::function<void(int32_t recordNumber, const ResultRecord& record, bool faulty)>&
        visit) {
    ProgramState& state = programState();
    ReadOutcome outcome;
    const FileHandle file(openForReading(path, outcome));
    if (file.get() < 0) {
        return outcome;
    }
    state.RecordsRead = 0;
    RecordReader reader(file.get());
    bool faulty = false;
    while (reader.next(state.current, faulty)) {
        ++state.RecordsRead;
        visit(state.RecordsRead, state.current, faulty);
    }
    return reader.outcome();
}

ReadOutcome
WalkResultFile(const std::string& path, int32_t recordCount,
               const std::function<void(int32_t recordNumber, const ResultRecord& record)>& visit) {
    ProgramState& state = programState();
    ReadOutcome outcome;
    const FileHandle file(openForReading(path, outcome));
    if (file.get() < 0) {
        if (outcome.status != ReadStatus::Unreadable) {
            // Each reading would find nothing and leave the current record as it is.
            for (int32_t k = 1; k <= recordCount; ++k) {
                visit(k, state.current);
            }
        }
        return outcome;
    }
    RecordReader reader(file.get());
    int32_t read = 0;
    bool atEnd = false;
    bool faulty = false;
    for (int32_t k = 1; k <= recordCount; ++k) {
        // Reading record k past the end leaves the last record current, as a fresh pass would.
        if (!atEnd && reader.next(state.current, faulty)) {
            read = k;
        } else if (reader.failed()) {
            break;
        } else {
            atEnd = true;
        }
        state.RecordsRead = read;
        visit(k, state.current);
    }
    return reader.outcome();
}

namespace detail {
void SetResultFileChunkSize(std::size_t bytes) {
    chunkSize = bytes == 0 ? kDefaultChunk : bytes;
}
} // namespace detail

} // namespace quendal
