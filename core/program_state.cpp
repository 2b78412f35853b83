#include "core/program_state.h"

namespace quendal {

ProgramState& programState() {
    static ProgramState state;
    return state;
}

} // namespace quendal
