#include "shell/start_ahead.h"

#include <QFontDatabase>
#include <QStringList>

namespace quendal {

StartAhead::StartAhead() : worker_([] { QFontDatabase::families(); }) {}

StartAhead::~StartAhead() {
    wait();
}

void StartAhead::wait() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

} // namespace quendal
