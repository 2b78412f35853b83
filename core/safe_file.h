#pragma once
// Writing a small settings file so that a crash or a full disk never leaves it truncated:
// the new content goes to a temporary file in the same folder, is flushed to the disk and
// then renamed over the old file in one step.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quendal {

// Replaces the file at path by content. Returns false on any failure; the old file (if any)
// is then left exactly as it was and no temporary file stays behind.
bool writeFileSafely(const std::string& path, std::string_view content);

// Reads at most maxBytes from the start of the file; nullopt when it cannot be opened.
std::optional<std::string> readFileStart(const std::string& path, std::size_t maxBytes);

} // namespace quendal
