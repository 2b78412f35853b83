#include "shell/quendal_application.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

using namespace quendal;

namespace {

// A window whose key handler fails on the first key and notes every key after it.
class FailingOnce : public QWidget {
  public:
    QList<int> handled;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!failed_) {
            failed_ = true;
            throw std::runtime_error("the first key\nfails");
        }
        handled << event->key();
    }

  private:
    bool failed_ = false;
};

void postKey(QWidget& window, Qt::Key key) {
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
}

} // namespace

TEST(QuendalApplication, AnErrorFromAHandlerIsDroppedAndTheProgramGoesOnWithTheNextEvent) {
    // The test program runs under the program's own application object.
    auto* app = qobject_cast<QuendalApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->objectName(), QStringLiteral("ApplicationCtrl"));

    FailingOnce window;
    window.show();
    ::testing::internal::CaptureStderr();
    // Two keys through the event loop: the first one's handler fails, the second is handled.
    postKey(window, Qt::Key_A);
    postKey(window, Qt::Key_B);
    QCoreApplication::processEvents();
    // A timed operation that fails with something that is no standard error, and the one
    // after it.
    bool later = false;
    QTimer::singleShot(0, &window, [] { throw 42; });
    QTimer::singleShot(0, &window, [&later] { later = true; });
    for (int i = 0; i < 100 && !later; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    postKey(window, Qt::Key_C);
    QCoreApplication::processEvents();
    const QString errors = QString::fromStdString(::testing::internal::GetCapturedStderr());

    EXPECT_EQ(window.handled, (QList<int>{Qt::Key_B, Qt::Key_C}));
    EXPECT_TRUE(later);
    // One line for each dropped error, naming the handler's object and the reason.
    const QStringList lines = errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .filter(QStringLiteral("Quendal: dropped an error"));
    ASSERT_EQ(lines.size(), 2) << errors.toStdString();
    EXPECT_EQ(lines.at(0), QStringLiteral("Quendal: dropped an error from the handling of "
                                          "KeyPress by QWidget: the first key fails"));
    EXPECT_TRUE(lines.at(1).endsWith(QStringLiteral("an error of unknown kind")))
        << lines.at(1).toStdString();
}
