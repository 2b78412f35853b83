#include "core/folders.h"

#include "core/run_layout.h"
#include "core/text_trim.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace quendal {
namespace {

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

} // namespace

std::string IncludeBackslash(std::string_view folder) {
    const std::string_view t = trimBlanks(folder);
    if (t.empty()) {
        return {};
    }
    std::string out(t);
    if (out.back() != '/') {
        out += '/';
    }
    return out;
}

std::string dataFolderBase(const char* quendalDataDir, std::string_view xdgDataHome) {
    if (quendalDataDir != nullptr && *quendalDataDir != '\0') {
        return quendalDataDir;
    }
    return std::string(xdgDataHome);
}

std::string xdgDataHome(const char* xdgDataHomeVariable, const char* home) {
    if (xdgDataHomeVariable != nullptr && xdgDataHomeVariable[0] == '/') {
        return xdgDataHomeVariable;
    }
    if (home == nullptr || home[0] == '\0') {
        return {};
    }
    std::string folder = home;
    if (folder.back() == '/') {
        folder.pop_back();
    }
    return folder + "/.local/share";
}

std::string composeDataFolder(std::string_view base, std::string_view programFolder) {
    const std::string p = IncludeBackslash(base);
    if (!p.empty()) {
        return p + "Quendal/Varon/Daten/";
    }
    std::string folder(programFolder);
    if (folder.size() > 7) {
        folder = folder.substr(0, folder.size() - 8) + folder.back();
    }
    return folder + "Daten/";
}

// Every file-system call here takes an error code: a path the system refuses (no access, a
// name too long, a loop of links) is a failure to report, never an exception.
bool createFolder(const std::string& folder, std::string* error) {
    std::error_code created;
    std::filesystem::create_directories(folder, created);
    std::error_code checked;
    if (std::filesystem::is_directory(folder, checked)) {
        return true;
    }
    if (error != nullptr) {
        const std::error_code& why = created ? created : checked;
        *error = why ? why.message() : std::string("not a folder");
    }
    return false;
}

std::string resolveNoCase(const std::string& folder, std::string_view relative) {
    namespace fs = std::filesystem;
    std::string path = folder;
    std::size_t start = 0;
    while (start <= relative.size()) {
        const std::size_t slash = std::min(relative.find('/', start), relative.size());
        const std::string part(relative.substr(start, slash - start));
        start = slash + 1;
        if (part.empty()) {
            continue;
        }
        if (!path.empty() && path.back() != '/') {
            path += '/';
        }
        std::error_code ec;
        std::string chosen = part;
        if (!fs::exists(path + part, ec)) {
            const std::string wanted = lowerAscii(part);
            for (fs::directory_iterator it(path.empty() ? "." : path, ec), end; !ec && it != end;
                 it.increment(ec)) {
                const std::string name = it->path().filename().string();
                if (lowerAscii(name) == wanted) {
                    chosen = name;
                    break;
                }
            }
        }
        path += chosen;
        if (slash < relative.size() && slash + 1 == relative.size()) {
            path += '/';
        }
    }
    return path;
}

std::string programDataFolder(const std::string& programFolder) {
    return resolveNoCase(programFolder, "DATA/");
}

std::optional<int64_t> parseDecimal(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    const std::string first = args.empty() ? std::string() : args[0];
    const std::string second = args.size() > 1 ? args[1] : std::string();
    line.windowed = first == "win";
    if (first == "debug") {
        line.debugSize = true;
        const auto w = args.size() > 1 ? parseDecimal(args[1]) : std::nullopt;
        const auto h = args.size() > 2 ? parseDecimal(args[2]) : std::nullopt;
        constexpr int64_t kMaxSide = 100000;
        if (w && h && *w > 0 && *h > 0 && *w <= kMaxSide && *h <= kMaxSide) {
            line.debugWidth = static_cast<int>(*w);
            line.debugHeight = static_cast<int>(*h);
        } else {
            line.sizeInvalid = true;
        }
    }
    if (lowerAscii(second).find("hwnd=") != std::string::npos) {
        const auto value = parseDecimal(std::string_view(second).substr(second.find('=') + 1));
        line.hostWindowHandle = value.value_or(-1);
        if (line.hostWindowHandle < 0) {
            line.hostWindowHandle = -1;
        }
    }
    return line;
}

PlayFieldSize fitPlayField(int width, int height, int screenWidth, int screenHeight) {
    if (screenWidth < width || screenHeight < height) {
        return {screenWidth, screenHeight, true};
    }
    return {width, height, false};
}

bool fullScreenRequested(bool windowed, int screenWidth, int screenHeight, int colourDepth) {
    if (windowed) {
        return false;
    }
    return !(screenWidth == 1024 && screenHeight == 768 && colourDepth >= 15);
}

std::string resolutionFolder(int playWidth) {
    return std::to_string(layoutClass(playWidth)) + "/";
}

} // namespace quendal
