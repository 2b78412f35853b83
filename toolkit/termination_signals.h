#pragma once
// Brings the signals with which a session ends a program (SIGTERM and SIGHUP at logout,
// SIGINT from a terminal) to the UI thread: the signal handler only writes the signal's
// number into a pipe, and a socket notifier on the pipe's other end emits requested() from
// the event loop, where the program can close its main window as the exit button does.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace quendal {

class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers; only one object may exist at a time. The previous handlers come
    // back when it is destroyed.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether the handlers and the pipe could be set up.
    bool active() const { return notifier_ != nullptr; }

  signals:
    // A termination signal arrived; signalNumber is SIGTERM, SIGHUP or SIGINT.
    void requested(int signalNumber);

  private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace quendal
