#include "shell/start_flow.h"

#include "core/program_state.h"
#include "core/result_file.h"
#include "core/statistics.h"
#include "core/user_files.h"
#include "frame/meldung_message_sink.h"
#include "run/beschreibung_dialog.h"
#include "run/durchgang_dialog.h"
#include "run/parameter_dialog.h"
#include "shell/haupt.h"
#include "stats/einzelstatistik_dialog.h"

namespace quendal {

StartFlow::StartFlow(THaupt& haupt, const Screens& screens) : haupt_(haupt), screens_(screens) {}

QString StartFlow::playLabelWord(int kind, int version) {
    int word = 0;
    if (kind == 1) {
        word = (version == 1 || version == 3) ? 1 : 2;
    } else if (kind == 2) {
        word = (version == 1 || version == 4) ? 3 : 4;
    }
    if (word == 0 || version < 1 || version > 4) {
        return {};
    }
    return QString::fromStdString(
        programState().vocabulary.playKindNames.at(static_cast<std::size_t>(word)));
}

int StartFlow::GateClick(int kind) {
    ProgramState& state = programState();
    haupt_.ShowMenuButtons(false);
    int result = 0;
    if (screens_.parameter != nullptr && screens_.parameter->exec() == 1) {
        StoreParameterChoice(*screens_.parameter, kind, state.runSettings);
        bool start = false;
        {
            TBeschreibungDialog instructions(&haupt_);
            haupt_.holdPlayFieldScreen(instructions);
            start = instructions.exec() == 1;
        }
        if (start) {
            TDurchgangDialog run(screens_.meldung, &haupt_);
            haupt_.holdPlayFieldScreen(run);
            run.setSpielart(playLabelWord(state.runSettings.kind, state.runSettings.version));
            result = run.exec();
        }
        if (result != 0 && result != 2) {
            AfterRun();
        }
    }
    haupt_.ShowMenuButtons(true);
    haupt_.activateWindow();
    haupt_.setFocus();
    return result;
}

void StartFlow::AfterRun() {
    ProgramState& state = programState();
    ComputeRunStatistics(state.current);
    if (screens_.einzelstatistik != nullptr) {
        screens_.einzelstatistik->exec();
    }
    WriteUserName();
    if (screens_.meldung != nullptr) {
        MeldungMessageSink messages(*screens_.meldung);
        SaveCurrentRun(messages);
    } else {
        // Without a message box the run is still saved; a failure then goes unreported.
        struct Silent : MessageSink {
            int Show(const std::string&, const std::string&, bool, bool, int) override {
                return kMessageNo;
            }
        } silent;
        SaveCurrentRun(silent);
    }
}

} // namespace quendal
