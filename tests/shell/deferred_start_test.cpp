// The dialogs made after the login screen's first frame, as the start-up makes them: a press
// that comes before still meets them made, and the show handler gets its message box.

#include "frame/meldung_dialog.h"
#include "shell/haupt.h"
#include "shell/quendal_application.h"
#include "shell/startup.h"
#include "shell_fixture.h"
#include "toolkit/image_button.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <optional>

using namespace quendal;
using quendal::testing::ShellTest;
using quendal::testing::waitUntil;

namespace {

class DeferredStartTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        app = qobject_cast<QuendalApplication*>(QCoreApplication::instance());
        ASSERT_NE(app, nullptr);
        haupt.setDaten(&daten());
        // As the start-up wires it.
        app->deferStart([this] {
            order << QStringLiteral("dialogs");
            dialogs.emplace(haupt);
        });
        QObject::connect(&haupt, &THaupt::firstFrameShown, app, [this] {
            order << QStringLiteral("frame");
            app->finishStart();
        });
        QObject::connect(&haupt, &THaupt::dialogsNeeded, app, &QuendalApplication::finishStart);
    }
    void TearDown() override {
        app->deferStart({});
        ShellTest::TearDown();
    }

    // The object names of the modal dialogs that show while `act` runs; each is closed.
    QStringList modalsDuring(const std::function<void()>& act) {
        QStringList seen;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&seen] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen << modal->objectName();
                modal->done(2);
            }
        });
        closer.start(5);
        act();
        closer.stop();
        return seen;
    }

    void clickTag(int tag) {
        auto* key = haupt.findChild<ImageButton*>(QStringLiteral("Key%1").arg(tag));
        ASSERT_NE(key, nullptr);
        QTest::mouseClick(key, Qt::LeftButton);
    }

    QuendalApplication* app = nullptr;
    THaupt haupt;
    std::optional<ProgramDialogs> dialogs;
    QStringList order;
};

} // namespace

TEST_F(DeferredStartTest, TheDialogsComeRightAfterTheFirstFrameAndTheTagsThenOpenThem) {
    haupt.show();
    EXPECT_FALSE(dialogs.has_value()) << "not before the first frame";
    ASSERT_TRUE(waitUntil([this] { return dialogs.has_value(); }));
    EXPECT_EQ(order, (QStringList{QStringLiteral("frame"), QStringLiteral("dialogs")}));
    EXPECT_TRUE(app->startFinished());
    // An unused tag asks for a name in the dialog made then.
    EXPECT_EQ(modalsDuring([this] { clickTag(1); }),
              QStringList{QStringLiteral("TextEingabeDialog")});
    EXPECT_FALSE(haupt.loggedIn());
}

TEST_F(DeferredStartTest, AClickBeforeTheFirstFrameMeetsTheDialogsMadeAndOpensItsOwn) {
    haupt.show();
    ASSERT_FALSE(dialogs.has_value());
    // The user clicks the moment the window shows, before its first frame is painted.
    EXPECT_EQ(modalsDuring([this] { clickTag(2); }),
              QStringList{QStringLiteral("TextEingabeDialog")});
    // The frame follows (while the dialog was open, or after); the dialogs are not made again.
    ASSERT_TRUE(waitUntil([this] { return order.size() == 2; }));
    EXPECT_EQ(order, (QStringList{QStringLiteral("dialogs"), QStringLiteral("frame")}));
}

TEST_F(DeferredStartTest, ResultFilesThatCannotBeCreatedAreReportedInTheProgramsMessageBox) {
    // The data folder is a file: nothing can be created in it.
    data.write("blocked", "x");
    programState().DataFolder = data.file("blocked") + "/";
    const QStringList shown = modalsDuring([this] { haupt.show(); });
    EXPECT_EQ(shown, QStringList(4, QStringLiteral("MeldungDialog"))) << "one for each tag";
    EXPECT_TRUE(messages.isEmpty()) << "not the platform's message box";
    EXPECT_EQ(order, QStringList{QStringLiteral("dialogs")});
}
