// reaction_naive_screen: the naive way of timing a reaction, for comparison. A black full-screen
// window shows a picture in its middle after a pause of 700 ms and starts its stop watch right
// after calling show() on it, before anything is painted; an arrow key stops the watch, hides
// the picture and the next round follows 1700 ms later. Prints the protocol of
// screen_report.h; the recorded times carry no addition.
//
//   reaction_naive_screen [ROUNDS]

#include "screen_report.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <vector>

namespace {

constexpr int kPauseMs = 700;
constexpr int kAfterAnswerMs = 1700; // feedback and pause of the next round
constexpr int kPictureWidth = 200;
constexpr int kPictureHeight = 120;

QPixmap stimulusPicture() {
    QPixmap picture(kPictureWidth, kPictureHeight);
    picture.fill(QColor(40, 40, 160));
    QPainter painter(&picture);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(28);
    painter.setFont(font);
    painter.setPen(Qt::red);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("GRUEN"));
    return picture;
}

class NaiveScreen : public QWidget {
  public:
    explicit NaiveScreen(int rounds) : rounds_(rounds) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, Qt::black);
        setPalette(palette);
        setAutoFillBackground(true);
        setCursor(Qt::BlankCursor);
        picture_ = new QLabel(this);
        picture_->setPixmap(stimulusPicture());
        picture_->resize(kPictureWidth, kPictureHeight);
        picture_->hide();
        pause_.setSingleShot(true);
        pause_.setTimerType(Qt::PreciseTimer);
        connect(&pause_, &QTimer::timeout, this, &NaiveScreen::present);
    }

    QWidget* centre() const { return picture_; }

    void start() { pause_.start(kPauseMs); }

  protected:
    void resizeEvent(QResizeEvent* /*event*/) override {
        picture_->move((width() - kPictureWidth) / 2, (height() - kPictureHeight) / 2);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const bool arrow = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right ||
                           event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
        if (!waiting_ || !arrow || event->isAutoRepeat()) {
            return;
        }
        times_.push_back(watch_.elapsed());
        waiting_ = false;
        picture_->hide();
        if (static_cast<int>(times_.size()) >= rounds_) {
            finish();
            return;
        }
        pause_.start(kAfterAnswerMs);
    }

  private:
    void present() {
        picture_->show();
        watch_.start();
        waiting_ = true;
    }

    void finish() {
        for (std::size_t i = 0; i < times_.size(); ++i) {
            quendal::fidelity::printRound(static_cast<long long>(i) + 1, times_[i], 0);
        }
        std::fflush(stdout);
        QTimer::singleShot(200, qApp, &QCoreApplication::quit);
    }

    int rounds_;
    QLabel* picture_;
    QTimer pause_;
    QElapsedTimer watch_;
    bool waiting_ = false;
    std::vector<qint64> times_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    NaiveScreen screen(quendal::fidelity::roundsArgument(argc, argv, 40));
    screen.setGeometry(QGuiApplication::primaryScreen()->geometry());
    screen.showFullScreen();
    screen.activateWindow();
    // The first pause starts once the empty centre is on the screen.
    quendal::fidelity::reportCentreWhenShown(&screen, screen.centre(),
                                             [&screen] { screen.start(); });
    return QApplication::exec();
}
