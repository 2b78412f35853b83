#pragma once
// The hourglass while the program works through a file or a print: shown for the life of the
// object, and the cursor shown before comes back even when the work ends early.

#include <QCursor>
#include <QGuiApplication>

namespace quendal {

class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace quendal
