// The main of the Qt test programs: one QApplication on the offscreen platform (unless the
// caller chose a platform, e.g. xcb under Xvfb) and a fresh program state for every test.

#include "core/program_state.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

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
    QApplication app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetProgramState);
    return RUN_ALL_TESTS();
}
