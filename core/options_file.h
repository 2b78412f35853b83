#pragma once
// "optionen.cfg": the program's own settings for all users, two signed 32-bit little-endian
// numbers (JoystickUse, OptionValue2) and nothing else.

#include "core/program_state.h"

#include <optional>
#include <string>
#include <string_view>

namespace quendal {

constexpr std::size_t kOptionsFileSize = 8;
constexpr int32_t kDefaultJoystickUse = 1;
constexpr int32_t kDefaultOptionValue2 = 30;
inline constexpr const char* kOptionsFileName = "optionen.cfg";

OptionsRecord defaultOptions();
std::string encodeOptions(const OptionsRecord& options);
// nullopt for fewer than 8 bytes; bytes after the eighth are ignored.
std::optional<OptionsRecord> decodeOptions(std::string_view bytes);

// LoadOptionen: programState().options from DataFolder + "optionen.cfg", or the defaults
// 1 and 30 when the file is missing, short or unreadable. Nothing is reported.
void LoadOptionen();
// SaveOptionen: writes programState().options safely; returns whether it was written (the
// program ignores a failure).
bool SaveOptionen();

} // namespace quendal
