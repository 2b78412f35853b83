#include "core/options_file.h"

#include "core/safe_file.h"

#include <cstdint>

namespace quendal {
namespace {

void putInt32(std::string& out, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((u >> shift) & 0xFFu);
    }
}

int32_t getInt32(std::string_view bytes, std::size_t at) {
    uint32_t u = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        u |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + k])) << (8 * k);
    }
    return static_cast<int32_t>(u);
}

} // namespace

OptionsRecord defaultOptions() {
    return OptionsRecord{kDefaultJoystickUse, kDefaultOptionValue2};
}

std::string encodeOptions(const OptionsRecord& options) {
    std::string bytes;
    putInt32(bytes, options.JoystickUse);
    putInt32(bytes, options.OptionValue2);
    return bytes;
}

std::optional<OptionsRecord> decodeOptions(std::string_view bytes) {
    if (bytes.size() < kOptionsFileSize) {
        return std::nullopt;
    }
    return OptionsRecord{getInt32(bytes, 0), getInt32(bytes, 4)};
}

void LoadOptionen() {
    auto& state = programState();
    const auto bytes = state.DataFolder.empty()
                           ? std::nullopt
                           : readFileStart(state.DataFolder + kOptionsFileName, kOptionsFileSize);
    const auto options = bytes ? decodeOptions(*bytes) : std::nullopt;
    state.options = options.value_or(defaultOptions());
}

bool SaveOptionen() {
    const auto& state = programState();
    if (state.DataFolder.empty()) {
        return false;
    }
    return writeFileSafely(state.DataFolder + kOptionsFileName, encodeOptions(state.options));
}

} // namespace quendal
