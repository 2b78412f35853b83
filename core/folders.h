#pragma once
// Where the program finds its own files and keeps the users' files, and what its command
// line asks for. Folders are held with a trailing '/'.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendal {

// Trims blanks; empty text stays empty; otherwise the folder separator "/" is appended
// unless the text already ends with one.
std::string IncludeBackslash(std::string_view folder);

// The folder whose "Quendal/Varon/Daten/" holds the users' files: $QUENDAL_DATA_DIR when it
// is set and not empty, else the XDG data home the caller found.
std::string dataFolderBase(const char* quendalDataDir, std::string_view xdgDataHome);

// The XDG data home: $XDG_DATA_HOME when it holds an absolute path (relative ones are
// ignored, as the XDG rules say), else home + "/.local/share"; empty when neither is known.
std::string xdgDataHome(const char* xdgDataHomeVariable, const char* home);

// DataFolder for a base folder: base + "Quendal/Varon/Daten/". Without a base it is the
// folder beside the program folder: the program folder's last folder of six characters is
// replaced by "Daten/" ("/apps/Module/" becomes "/apps/Daten/"); a program folder of seven
// characters or fewer keeps all of them.
std::string composeDataFolder(std::string_view base, std::string_view programFolder);

// Creates the folder with every missing parent; true when it exists afterwards. The error
// text of the system is put into *error when it fails.
bool createFolder(const std::string& folder, std::string* error = nullptr);

// The path of relative (components separated by '/') inside folder, each component matched
// without regard to letter case when the exact name does not exist ("DATA" and "data" name
// the same folder). Components that match nothing are kept as written.
std::string resolveNoCase(const std::string& folder, std::string_view relative);

// The program's data folder, ProgramFolder + "DATA/" in whatever letter case it exists.
std::string programDataFolder(const std::string& programFolder);

// --- Command line ---

struct CommandLine {
    bool windowed = false; // first parameter "win": no display mode change
    bool debugSize = false;
    int debugWidth = 0;
    int debugHeight = 0;
    int64_t hostWindowHandle = -1; // second parameter "hwnd=" N, -1 without a valid one
    bool sizeInvalid = false;      // "debug" sizes that are not positive whole numbers
};

// The parameters after the program's own name. "win" and "debug" are compared with letter
// case; "hwnd=" is found in the lower-cased second parameter.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// A decimal whole number with optional blanks around it and an optional sign; nullopt for
// anything else, including numbers beyond 64 bits.
std::optional<int64_t> parseDecimal(std::string_view text);

// --- Play field and display ---

struct PlayFieldSize {
    int width = 1024;
    int height = 768;
    bool reduced = false; // the requested size did not fit the screen
};

// The "debug" size as shown: reduced to the screen's size when the screen is narrower or
// lower than the request.
PlayFieldSize fitPlayField(int width, int height, int screenWidth, int screenHeight);

// Whether the display should be switched to the 1024 x 768 play field.
bool fullScreenRequested(bool windowed, int screenWidth, int screenHeight, int colourDepth);

// "640/" for a play field 1 to 750 wide, "800/" for 751 to 820, "1024/" otherwise.
std::string resolutionFolder(int playWidth);

} // namespace quendal
