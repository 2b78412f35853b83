#include "core/user_files.h"

#include "core/cp1252.h"
#include "core/options_file.h"
#include "core/program_state.h"
#include "core/safe_file.h"

#include <algorithm>
#include <chrono>

namespace quendal {
namespace {

bool isBlankOrControl(unsigned char c) {
    return c <= 0x20 || c == 0x7F;
}

std::string dataPath(const std::string& fileName) {
    return programState().DataFolder + fileName;
}

// A temporary file of a replace is made and renamed within milliseconds; one older than this
// was left by a replace that never ended.
constexpr std::chrono::seconds kLeftoverAge{60};

} // namespace

std::string tagKey(int tag) {
    return "user" + std::to_string(tag);
}

int tagOfKey(std::string_view key) {
    for (int tag = 1; tag <= kTagCount; ++tag) {
        if (key == tagKey(tag)) {
            return tag;
        }
    }
    return 0;
}

std::string trimName(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlankOrControl(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    while (end > begin && isBlankOrControl(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

bool nameAccepted(std::string_view text) {
    return !trimName(text).empty();
}

std::string storableName(std::string_view text) {
    return cp1252::toUtf8(cp1252::fromUtf8(cp1252::left(text, kMaxNameLength)));
}

std::string encodeNameRecord(std::string_view name) {
    std::string bytes = cp1252::fromUtf8(cp1252::left(name, kMaxNameLength));
    std::string record(kNameRecordSize, '\0');
    record[0] = static_cast<char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), record.begin() + 1);
    return record;
}

std::string decodeNameRecord(std::string_view bytes) {
    if (bytes.size() < kNameRecordSize) {
        return {};
    }
    const std::size_t n =
        std::min<std::size_t>(static_cast<unsigned char>(bytes[0]), kMaxNameLength);
    return cp1252::toUtf8(bytes.substr(1, n));
}

void ReadUserName() {
    auto& user = programState().CurrentUser;
    user.DisplayName.clear();
    if (user.SettingsFileName.empty() || programState().DataFolder.empty()) {
        return;
    }
    if (const auto bytes = readFileStart(dataPath(user.SettingsFileName), kNameRecordSize)) {
        user.DisplayName = decodeNameRecord(*bytes);
    }
}

bool WriteUserName() {
    const auto& user = programState().CurrentUser;
    if (user.SettingsFileName.empty() || programState().DataFolder.empty()) {
        return false;
    }
    return writeFileSafely(dataPath(user.SettingsFileName), encodeNameRecord(user.DisplayName));
}

bool UserTagsPrepared::allResultFilesReady() const {
    return std::all_of(resultFileReady.begin(), resultFileReady.end(), [](bool b) { return b; });
}

UserTagsPrepared prepareUserTagFiles() {
    UserTagsPrepared prepared;
    for (int tag = 1; tag <= kTagCount; ++tag) {
        prepared.resultFileReady[tag - 1] =
            !programState().DataFolder.empty() && createEmptyFile(dataPath(tagKey(tag) + ".dat"));
    }
    auto& user = programState().CurrentUser;
    for (int tag = 1; tag <= kTagCount; ++tag) {
        user.SettingsFileName = tagKey(tag) + ".cfg";
        ReadUserName();
        prepared.names[tag - 1] = user.DisplayName;
    }
    return prepared;
}

LoginStart beginLogin(int tag, bool rename) {
    auto& state = programState();
    auto& user = state.CurrentUser;
    user.Folder = state.DataFolder;
    user.ResultFileName = tagKey(tag) + ".dat";
    user.SettingsFileName = tagKey(tag) + ".cfg";
    user.tag = tag;
    ReadUserName();
    state.current.roundCount = 0;
    LoginStart start;
    if (rename) {
        start.setAside = user.DisplayName;
        user.DisplayName.clear();
    }
    start.needsName = user.DisplayName.empty();
    return start;
}

void acceptLoginName(std::string_view text) {
    programState().CurrentUser.DisplayName = storableName(trimName(text));
}

void cancelLogin(const LoginStart& start) {
    auto& user = programState().CurrentUser;
    user.DisplayName = start.setAside;
}

void RemoveReplaceLeftovers() {
    const std::string& folder = programState().DataFolder;
    if (folder.empty()) {
        return;
    }
    for (int tag = 1; tag <= kTagCount; ++tag) {
        removeReplaceLeftovers(folder + tagKey(tag) + ".cfg", kLeftoverAge);
    }
    removeReplaceLeftovers(folder + kOptionsFileName, kLeftoverAge);
}

void clearCurrentUser() {
    auto& user = programState().CurrentUser;
    user.Folder.clear();
    user.ResultFileName.clear();
    user.tag = 0;
}

} // namespace quendal
