#include "toolkit/dbf_table.h"

#include "core/cp1252.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <shapefil.h>
#include <system_error>

namespace quendal {

namespace {

// shapelib puts its own extension ".dbf" on the names it opens. The hooks below send every
// table file it opens to the exact path asked for, so "drucktmp.DBF" stays spelt that way;
// a companion code-page file is neither read nor written (the header's language byte
// carries the code page).
thread_local const std::string* exactPath = nullptr;

bool isTableName(const char* name) {
    const std::string n(name);
    if (n.size() < 4) {
        return false;
    }
    std::string ext = n.substr(n.size() - 4);
    for (char& c : ext) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return ext == ".dbf";
}

SAFile openExact(const char* name, const char* access) {
    if (exactPath == nullptr || !isTableName(name)) {
        return nullptr;
    }
    return reinterpret_cast<SAFile>(std::fopen(exactPath->c_str(), access));
}

int removeNothing(const char* /*name*/) {
    return 0;
}

void quiet(const char* /*message*/) {}

SAHooks exactHooks() {
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = openExact;
    hooks.Remove = removeNothing;
    hooks.Error = quiet;
    return hooks;
}

class ExactPath {
  public:
    explicit ExactPath(const std::string& path) : previous_(exactPath) { exactPath = &path; }
    ExactPath(const ExactPath&) = delete;
    ExactPath& operator=(const ExactPath&) = delete;
    ~ExactPath() { exactPath = previous_; }

  private:
    const std::string* previous_;
};

// Language driver 3: Windows ANSI (code page 1252).
constexpr const char* windowsAnsi = "LDID/3";

DBFHandle dbfOf(void* handle) {
    return static_cast<DBFHandle>(handle);
}

// The header tells the day of the last change; shapelib would write a fixed day.
void stampToday(DBFHandle dbf) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DBFSetLastModifiedDate(dbf, local.tm_year, local.tm_mon + 1, local.tm_mday);
}

} // namespace

DbfTable::CreateResult DbfTable::create(const std::string& path,
                                        const std::vector<DbfField>& fields) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (std::filesystem::exists(path, ec)) {
        return CreateResult::CannotCreate;
    }
    const ExactPath exact(path);
    SAHooks hooks = exactHooks();
    DBFHandle dbf = DBFCreateLL(path.c_str(), windowsAnsi, &hooks);
    if (dbf == nullptr) {
        return CreateResult::CannotCreate;
    }
    stampToday(dbf);
    bool defined = !fields.empty();
    for (const DbfField& f : fields) {
        if (!defined) {
            break;
        }
        defined = f.name.size() <= XBASE_FLDNAME_LEN_WRITE && f.width >= 1 && f.width <= 254 &&
                  DBFAddField(dbf, f.name.c_str(), FTString, f.width, 0) >= 0;
    }
    DBFClose(dbf); // writes the header
    if (!defined) {
        std::filesystem::remove(path, ec);
        return CreateResult::CannotDefineFields;
    }
    // The definition is finished when the file reads back with every field.
    DbfTable check;
    if (!check.open(path) || check.fields().size() != fields.size()) {
        check.close();
        std::filesystem::remove(path, ec);
        return CreateResult::CannotDefineFields;
    }
    return CreateResult::Created;
}

DbfTable::~DbfTable() {
    close();
}

bool DbfTable::open(const std::string& path) {
    close();
    const ExactPath exact(path);
    SAHooks hooks = exactHooks();
    handle_ = DBFOpenLL(path.c_str(), "rb+", &hooks);
    if (handle_ != nullptr) {
        stampToday(dbfOf(handle_));
    }
    return handle_ != nullptr;
}

void DbfTable::close() {
    if (handle_ != nullptr) {
        DBFClose(dbfOf(handle_));
        handle_ = nullptr;
    }
}

std::vector<DbfField> DbfTable::fields() const {
    std::vector<DbfField> result;
    if (handle_ == nullptr) {
        return result;
    }
    const int n = DBFGetFieldCount(dbfOf(handle_));
    for (int i = 0; i < n; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(dbfOf(handle_), i, name, &width, &decimals);
        result.push_back({name, width});
    }
    return result;
}

int DbfTable::rowCount() const {
    return handle_ == nullptr ? 0 : DBFGetRecordCount(dbfOf(handle_));
}

bool DbfTable::appendRow(const std::vector<std::string>& texts) {
    if (handle_ == nullptr) {
        return false;
    }
    const int row = DBFGetRecordCount(dbfOf(handle_));
    const int n = DBFGetFieldCount(dbfOf(handle_));
    bool written = true;
    for (int i = 0; i < n; ++i) {
        const std::string bytes =
            static_cast<std::size_t>(i) < texts.size() ? cp1252::fromUtf8(texts[i]) : "";
        // Cut to the field's width here: shapelib would cut too, but report it as a failure.
        int width = 0;
        DBFGetFieldInfo(dbfOf(handle_), i, nullptr, &width, nullptr);
        const std::string cut = bytes.substr(0, static_cast<std::size_t>(width));
        written = DBFWriteStringAttribute(dbfOf(handle_), row, i, cut.c_str()) != 0 && written;
    }
    return written && DBFGetRecordCount(dbfOf(handle_)) == row + 1;
}

std::vector<std::string> DbfTable::row(int index) const {
    std::vector<std::string> texts;
    if (handle_ == nullptr || index < 0 || index >= DBFGetRecordCount(dbfOf(handle_))) {
        return texts;
    }
    const int n = DBFGetFieldCount(dbfOf(handle_));
    for (int i = 0; i < n; ++i) {
        const char* raw = DBFReadStringAttribute(dbfOf(handle_), index, i);
        texts.push_back(cp1252::toUtf8(raw != nullptr ? raw : ""));
    }
    return texts;
}

} // namespace quendal
