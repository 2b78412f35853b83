#pragma once
// The four user tags and their files: the name file of each tag (one 51-byte record: a
// length byte and up to 50 Windows-1252 characters), the empty result file every tag gets,
// the rules for names typed by the user, and the non-visual part of a login.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quendal {

constexpr std::size_t kNameRecordSize = 51;
constexpr std::size_t kMaxNameLength = 50;
constexpr int kTagCount = 4;

// "user1" .. "user4" for the tags 1..4.
std::string tagKey(int tag);
// 1..4 for "user1" .. "user4", 0 for anything else.
int tagOfKey(std::string_view key);

// --- Names typed by the user (UTF-8 in, UTF-8 out) ---

// Removes leading and trailing blanks and control characters; inner blanks stay.
std::string trimName(std::string_view text);
// A name is accepted when something other than blanks is left after trimming.
bool nameAccepted(std::string_view text);
// The name as it is kept: the first 50 characters, each character that Windows-1252 cannot
// hold replaced by '?', so a name is never lost or emptied by the conversion.
std::string storableName(std::string_view text);

// --- The name file's record ---

// The 51 bytes of the record; the bytes after the name are zero.
std::string encodeNameRecord(std::string_view name);
// The name held by a record; empty when the record is shorter than 51 bytes. A length byte
// above 50 (never written by the program) is read as 50. Bytes after the 51st are ignored.
std::string decodeNameRecord(std::string_view bytes);

// ReadUserName: DataFolder + CurrentUser.SettingsFileName into CurrentUser.DisplayName;
// any failure leaves the name empty.
void ReadUserName();
// WriteUserName: CurrentUser.DisplayName as the record of DataFolder +
// CurrentUser.SettingsFileName, replacing the file safely. Failures are not reported to the
// user; the result says whether the file was written.
bool WriteUserName();

// --- Preparing the tags (PrepareUserTags without its screen) ---

struct UserTagsPrepared {
    // Whether "userN.dat" exists or could be created empty, for the tags 1..4 (index 0..3).
    std::array<bool, kTagCount> resultFileReady{};
    // The names of the tags 1..4 (index 0..3); empty for an unused tag.
    std::array<std::string, kTagCount> names{};
    bool allResultFilesReady() const;
};

// Creates missing result files, then reads the four names through ReadUserName, leaving
// CurrentUser.SettingsFileName and CurrentUser.DisplayName at tag 4's values.
UserTagsPrepared prepareUserTagFiles();

// --- Logging in by a tag (LoginByTag without its dialog) ---

struct LoginStart {
    bool needsName = false; // the name dialog must be shown
    std::string setAside;   // the stored name, put back when a rename is cancelled
};

// Steps 1 to 4: the CurrentUser fields of the tag, its name, round count 0, and for a
// rename the name set aside and emptied.
LoginStart beginLogin(int tag, bool rename);
// The name dialog was confirmed with this text.
void acceptLoginName(std::string_view text);
// The name dialog was cancelled: the set-aside name comes back.
void cancelLogin(const LoginStart& start);

// Removes from DataFolder the temporary files that an interrupted replace of a name file or
// of the options file left behind (at start, when no other copy of the program runs).
void RemoveReplaceLeftovers();

// No user is logged in: folder and result file name empty.
void clearCurrentUser();

} // namespace quendal
