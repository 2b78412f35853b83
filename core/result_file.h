#pragma once
// The user's result file: every finished run appended as one text record, and the reader
// that walks the file again for the lists, the details of one past run and the chart.
//
// A record is nine header lines ("$ prname" .. "$ info 5": the key, one blank, the value
// right-aligned in 20 characters), one data line per round (four numbers right-aligned in
// 10 characters each: target, chosen, reaction time, distractor) and the end line
// "$ eodata ". Lines end with CR LF; texts are Windows-1252 on disk and UTF-8 in memory.

#include "core/message_sink.h"
#include "core/records.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quendal {

// Results of AppendResultRecord.
constexpr int kAppendOk = 0;
constexpr int kAppendIoError = -1;
constexpr int kAppendFileMissing = -2;

// The bytes that AppendResultRecord adds to the file for this record.
std::string FormatResultRecord(const ResultRecord& record);

// Appends the current ResultRecord to the existing file path: kAppendOk, kAppendIoError, or
// kAppendFileMissing when there is no such file or it is not a regular file (nothing is
// written, RunUnsaved is kept; a named pipe there is never waited on). The record starts on
// a line of its own, also when the file's last line lacks its line end. It goes to the disk
// in one write and is flushed; when anything fails the file is cut back to its length before
// the append, so it never holds a partial record. Every attempt that found the file clears
// RunUnsaved. A file-size limit makes the append fail; it never ends the program.
int AppendResultRecord(const std::string& path);

// The save step after a run: appends the current run to the logged-in user's file when it
// still waits for its append, and shows "Fehler beim Speichern der Statistik." /
// "Error saving the statistics." when that fails.
void SaveCurrentRun(MessageSink& messages);

// The exercise of a record as the lists show it, e.g. "Farbe/Wort - Version 3", in the
// installed vocabulary; "Unbekannt" / "Unknown" when the program key does not name one.
std::string ExerciseText(const ResultRecord& record);

// The ";"-separated list line of a record: the marked form for the program keys "\" and
// "/", the data-error form for a faulty record, otherwise the record form with its number.
std::string ResultListEntry(int32_t recordNumber, const ResultRecord& record, bool faulty);

using ResultList = std::vector<std::string>;

// How a pass over the result file went. It converts to true when the whole file was read.
enum class ReadStatus {
    Read,
    Missing,        // no such file: nothing was read and nothing changed
    NotRegularFile, // a folder, a named pipe or a device: refused unread, nothing changed
    Unreadable,     // opening or reading failed: the records read before count, no others
};
struct ReadOutcome {
    ReadStatus status = ReadStatus::Read;
    int error = 0; // the errno of the failure when Unreadable
    explicit operator bool() const { return status == ReadStatus::Read; }
};

// Reads the file from its start; every record read becomes the current ResultRecord with
// fresh statistics, and RecordsRead ends as the number of records read. With recordNumber 0
// the list is refilled with one entry per record (with todayOnly only the records saved
// today); with recordNumber n > 0 reading stops after record n and the list is untouched.
// A file that is missing or not a regular file changes nothing. When the file cannot be
// opened or reading fails on the way, the list holds the entries of the records read before
// the failure followed by the data-error entry, since the file could not be read whole.
ReadOutcome ReadResultFile(const std::string& path, int32_t recordNumber, bool todayOnly,
                           ResultList& list);

// Reads the whole file once, handing every record in file order to visit while it is the
// current ResultRecord (faulty: a number did not convert, or the record held more than 200
// rounds). RecordsRead ends as the number of records visited; a read error ends the pass.
ReadOutcome ForEachResultRecord(
    const std::string& path,
    const std::function<void(int32_t recordNumber, const ResultRecord& record, bool faulty)>&
        visit);

// The chart's pass in one reading: the same calls of visit, the same current ResultRecord
// and the same RecordsRead as ReadResultFile(path, k, ...) followed by visit(k, current) for
// every k from 1 to recordCount. When the file cannot be opened or reading fails on the way,
// the pass ends there: nothing from the failure on is visited.
ReadOutcome
WalkResultFile(const std::string& path, int32_t recordCount,
               const std::function<void(int32_t recordNumber, const ResultRecord& record)>& visit);

namespace detail {
// The reader's buffer size; tests and the fuzz target shrink it so that line ends fall on
// every buffer boundary. 0 restores the default.
void SetResultFileChunkSize(std::size_t bytes);
} // namespace detail

} // namespace quendal
