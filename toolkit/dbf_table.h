#pragma once
// A dBase table file of character fields, written and read through shapelib. Texts are
// UTF-8 in memory and Windows-1252 in the file (no OEM translation); the header's language
// byte says so. The file keeps exactly the name the caller gives ("drucktmp.DBF").

#include <string>
#include <vector>

namespace quendal {

struct DbfField {
    std::string name; // at most 10 characters
    int width = 10;   // 1 to 254 characters
};

class DbfTable {
  public:
    enum class CreateResult {
        Created,
        CannotCreate,       // the file could not be created
        CannotDefineFields, // a field was refused, or the definition could not be finished
    };

    // Creates the table file anew: an existing file of that name is deleted first. The file
    // holds the fields in the given order and no rows.
    static CreateResult create(const std::string& path, const std::vector<DbfField>& fields);

    DbfTable() = default;
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;
    ~DbfTable();

    // Opens an existing table for reading and writing; false when it cannot.
    bool open(const std::string& path);
    bool isOpen() const { return handle_ != nullptr; }
    // Writes everything and closes the file.
    void close();

    std::vector<DbfField> fields() const;
    int rowCount() const;

    // Appends a row; texts beyond the field count are ignored, missing ones stay empty,
    // longer texts are cut to the field's width. False when the row could not be written.
    bool appendRow(const std::vector<std::string>& texts);
    // The texts of a row, without the blanks that pad them; empty when there is no such row.
    std::vector<std::string> row(int index) const;

  private:
    void* handle_ = nullptr; // shapelib's DBFHandle, kept out of this header
};

} // namespace quendal
