// The main of the Qt test programs: one QApplication on the offscreen platform (unless the
// caller chose a platform, e.g. xcb under Xvfb) and a fresh program state for every test.
// A test program may name the program's own application class instead:
// QUENDAL_TEST_APPLICATION (the class) and QUENDAL_TEST_APPLICATION_HEADER (its header).

#include "core/program_state.h"

#include <QApplication>
#include <gtest/gtest.h>
#ifdef QUENDAL_TEST_APPLICATION_HEADER
#include QUENDAL_TEST_APPLICATION_HEADER
#endif

namespace {

#ifdef QUENDAL_TEST_APPLICATION
using TestApplication = QUENDAL_TEST_APPLICATION;
#else
using TestApplication = QApplication;
#endif

class ResetProgramState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& /*info*/) override {
        quendal::programState().reset();
    }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TestApplication app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetProgramState);
    return RUN_ALL_TESTS();
}
