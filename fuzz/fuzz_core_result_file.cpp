// Feeds arbitrary bytes to the result-file reader as a real file: it must never crash, never
// read outside its buffer, never keep more than 200 rounds, give the same records whatever
// its buffer size, and whatever it reads must come back unchanged through the writer.
#include "core/program_state.h"
#include "core/records.h"
#include "core/result_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace quendal;

namespace {

struct MemoryFile {
    MemoryFile()
        : fd(memfd_create("result-file", 0)), path("/proc/self/fd/" + std::to_string(fd)) {}
    void fill(const uint8_t* data, size_t size) const {
        if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
            __builtin_trap();
        }
    }
    int fd;
    std::string path;
};

struct Seen {
    int32_t number;
    ResultRecord record;
    bool faulty;
};

std::vector<Seen> readAll(const std::string& path) {
    std::vector<Seen> seen;
    programState().current = ResultRecord{};
    ForEachResultRecord(path, [&](int32_t k, const ResultRecord& r, bool faulty) {
        seen.push_back({k, r, faulty});
    });
    return seen;
}

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

std::string withoutTrailingBlanks(std::string text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
        text.pop_back();
    }
    return text;
}

bool sameRounds(const ResultRecord& written, const ResultRecord& back) {
    int32_t n = 0;
    for (int32_t r = 1; r <= written.roundCount; ++r) {
        if (written.rounds[r].targetValue > 0) {
            ++n;
            if (n > back.roundCount || !(written.rounds[r] == back.rounds[n])) {
                return false;
            }
        }
    }
    return n == back.roundCount;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const MemoryFile input;
    static const MemoryFile output;
    if (size == 0) {
        return 0;
    }
    const std::size_t chunk = data[0] % 64 + 1;
    input.fill(data + 1, size - 1);

    programState().reset();
    detail::SetResultFileChunkSize(4096);
    ResultList list;
    check(static_cast<bool>(ReadResultFile(input.path, 0, false, list)));
    check(static_cast<std::size_t>(programState().RecordsRead) == list.size());

    const std::vector<Seen> seen = readAll(input.path);
    check(seen.size() == list.size());
    detail::SetResultFileChunkSize(chunk);
    const std::vector<Seen> small = readAll(input.path);
    detail::SetResultFileChunkSize(4096);
    check(small.size() == seen.size());

    output.fill(nullptr, 0);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const ResultRecord& r = seen[i].record;
        check(r.header == small[i].record.header && r.roundCount == small[i].record.roundCount &&
              r.statistics == small[i].record.statistics && seen[i].faulty == small[i].faulty);
        check(r.roundCount >= 0 && r.roundCount <= kMaxRounds);
        const auto& all = r.statistics.columns[0];
        check(all.correct + all.wrong + all.eliminated <= r.roundCount);
        check(all.interference <= all.wrong);
        for (const auto& text : r.header) {
            check(text.find('\n') == std::string::npos);
        }
        programState().current = r;
        check(AppendResultRecord(output.path) == kAppendOk);
    }

    // Whatever was read is written and read back the same.
    const std::vector<Seen> again = readAll(output.path);
    check(again.size() == seen.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        check(!again[i].faulty);
        // A value cut to 20 characters may end in blanks, which the padding then swallows.
        for (std::size_t h = 0; h < seen[i].record.header.size(); ++h) {
            check(again[i].record.header[h] == withoutTrailingBlanks(seen[i].record.header[h]));
        }
        check(sameRounds(seen[i].record, again[i].record));
    }
    return 0;
}
