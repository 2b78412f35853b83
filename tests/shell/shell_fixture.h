#pragma once
// What the main-window tests share: a scratch data folder, the program folder of the build
// (whose DATA/ holds the drawn bitmap lists), a data module and a recorder of the platform's
// message boxes.

#include "core/program_state.h"
#include "frame/daten.h"
#include "shell/platform_message.h"
#include "tests/core/scratch_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quendal::testing {

// The folder that holds the build's DATA/, with a trailing '/'.
inline std::string buildProgramFolder() {
    return QFileInfo(QStringLiteral(QUENDAL_DATA_OUT)).absolutePath().toStdString() + "/";
}

// Lets the event loop run until `done` holds, at most `limitMs`; whether it came to hold.
inline bool waitUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramState& state = programState();
        state.ProgramFolder = buildProgramFolder();
        state.DataFolder = data.folder();
        state.options = {1, 30};
        setPlatformMessageHook(
            [this](const QString& text, PlatformMessageKind, const QString&) { messages << text; });
    }
    void TearDown() override { setPlatformMessageHook({}); }

    // A data module with the lists of the current play field and language.
    TDaten& daten() {
        if (!daten_) {
            daten_ = std::make_unique<TDaten>();
            QString error;
            EXPECT_TRUE(daten_->LoadBitmapLists(&error)) << error.toStdString();
        }
        return *daten_;
    }

    ScratchFolder data;
    QStringList messages;

  private:
    std::unique_ptr<TDaten> daten_;
};

} // namespace quendal::testing
