#pragma once
// The draw of a run's stimuli and the set-up of the four targets of every round.

#include "core/program_state.h"
#include "core/records.h"

#include <cstdint>

namespace quendal {

// Fills the first roundCount entries of the sequence (at most 200) for the exercise of the
// settings so that each relevant value 1..4 is the answer equally often, never with a
// congruent picture; the rest of the list is set to 0. Returns false, with the whole list 0,
// for an exercise outside the catalogue.
bool BuildRoundSequence(RoundSequence& sequence, const RunSettings& settings);
// The same for the program-wide sequence and settings.
bool BuildRoundSequence();

// The targets of a round: slot s holds value s and its target picture; with frameMode 1
// (variable) they are then shuffled.
TargetSlots SetUpTargets(int32_t kind, int32_t frameMode);
// The same into the program-wide slots for the program-wide settings.
void SetUpTargets();

// Four times: swap slot 1 with slot RandomBelow(4) + 1.
void ShuffleTargets(TargetSlots& slots);

// The slot 1..4 that holds the value; 0 when none does.
int32_t CorrectSlot(const TargetSlots& slots, int32_t relevantValue);

} // namespace quendal
