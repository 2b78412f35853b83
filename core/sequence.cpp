#include "core/sequence.h"

#include "core/catalogue.h"
#include "core/random.h"

#include <algorithm>
#include <utility>

namespace quendal {

namespace {

// The picture of a sequence position whose relevant value is counter + 1. Most exercises
// draw from a + b * counter + RandomBelow(b); the two versions 3 leave out the word for
// colour 4 and the digit 4.
int32_t DrawPicture(int32_t kind, int32_t version, int32_t counter) {
    if (kind == kColourExercise) {
        switch (version) {
        case 1:
            return counter;
        case 2:
            return 8 + counter;
        case 3:
            // Ink counter + 1, word 1..3.
            return 12 + counter + 4 * RandomBelow(3);
        default:
            return 12 + 4 * counter + RandomBelow(4);
        }
    }
    switch (version) {
    case 1:
        return 4 + counter;
    case 2:
        return 28 + 3 * counter + RandomBelow(3);
    case 3: {
        // Count counter + 1: first the arrangement, then the digit 1..3.
        int32_t picture = 40 + 3 * counter + RandomBelow(3);
        picture += 12 * RandomBelow(3);
        return picture;
    }
    default:
        return 40 + 12 * counter + RandomBelow(12);
    }
}

} // namespace

bool BuildRoundSequence(RoundSequence& sequence, const RunSettings& settings) {
    sequence.fill(0);
    if (!FindExercise(settings.kind, settings.version)) {
        return false;
    }
    const int32_t count = std::clamp<int32_t>(settings.roundCount, 0, kMaxRounds);
    int32_t counter = 0;
    for (int32_t position = 0; position < count; ++position) {
        int32_t picture = DrawPicture(settings.kind, settings.version, counter);
        while (IsCongruentPicture(picture)) {
            picture = DrawPicture(settings.kind, settings.version, counter);
        }
        sequence[position] = picture;
        counter = (counter + 1) % 4;
    }
    // Each position swaps with any position of the run; this is the whole shuffle.
    for (int32_t i = 0; i < count; ++i) {
        const int32_t j = RandomBelow(count);
        std::swap(sequence[i], sequence[j]);
    }
    return true;
}

bool BuildRoundSequence() {
    ProgramState& state = programState();
    return BuildRoundSequence(state.roundSequence, state.runSettings);
}

TargetSlots SetUpTargets(int32_t kind, int32_t frameMode) {
    TargetSlots slots{};
    for (int32_t slot = 1; slot <= 4; ++slot) {
        slots[slot] = {slot, TargetPicture(kind, slot)};
    }
    if (frameMode == 1) {
        ShuffleTargets(slots);
    }
    return slots;
}

void SetUpTargets() {
    ProgramState& state = programState();
    state.targetSlots = SetUpTargets(state.runSettings.kind, state.runSettings.frameMode);
}

void ShuffleTargets(TargetSlots& slots) {
    for (int step = 0; step < 4; ++step) {
        const int32_t k = RandomBelow(4) + 1;
        std::swap(slots[1], slots[k]);
    }
}

int32_t CorrectSlot(const TargetSlots& slots, int32_t relevantValue) {
    for (int32_t slot = 1; slot <= 4; ++slot) {
        if (slots[slot].value == relevantValue) {
            return slot;
        }
    }
    return 0;
}

} // namespace quendal
