#pragma once
// The program's application object. Every event the program handles passes through its
// notify; an error that escapes a handler ends there: the operation that raised it is
// dropped, one line naming it goes to the standard error stream, and the program goes on
// with the next event. It also holds the part of the start that waits for the main window's
// first frame.

#include <QApplication>
#include <functional>

namespace quendal {

class QuendalApplication : public QApplication {
    Q_OBJECT
  public:
    // argc must outlive the application object, as for QApplication.
    QuendalApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Work of the start that waits until the main window's first frame is on the screen. It is
    // done once: by finishStart(), or, should a key or a mouse button be pressed before that,
    // just before the press is handled, so that the press meets a finished start.
    void deferStart(std::function<void()> work);
    void finishStart();
    bool startFinished() const { return !deferred_; }

  private:
    std::function<void()> deferred_;
};

} // namespace quendal
