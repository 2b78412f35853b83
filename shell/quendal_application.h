#pragma once
// The program's application object. Every event the program handles passes through its
// notify; an error that escapes a handler ends there: the operation that raised it is
// dropped, one line naming it goes to the standard error stream, and the program goes on
// with the next event.

#include <QApplication>

namespace quendal {

class QuendalApplication : public QApplication {
    Q_OBJECT
  public:
    // argc must outlive the application object, as for QApplication.
    QuendalApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace quendal
