#pragma once
// The statistics table of a run: correct and wrong answers, their mean reaction times and
// deviations, interference errors and eliminated rounds, for all rounds and per target value.

#include "core/records.h"

#include <cstdint>

namespace quendal {

// A reaction time of this many milliseconds or less is too fast to be a real answer.
constexpr int32_t EliminationLimitMs = 80;

// Overwrites record.statistics from its round count and rounds 1..round count. Rounds whose
// target value lies outside 1..4 are left out of every column, so that column 0 stays the sum
// of columns 1..4. A round count outside 0..200 is taken as the nearest bound.
void ComputeRunStatistics(ResultRecord& record);

} // namespace quendal
