#pragma once
// The start of an exercise from a gate of the main window, and what follows a run: the
// parameter dialog, the instruction screen, the run screen and, for a run with a result, its
// statistics computed and shown, the user's name written and the run appended to the user's
// result file. The main window's buttons are hidden for the whole pass and shown again at
// its end, whichever way it ends. It wires the screens of run/ and stats/ together.

#include <QString>

namespace quendal {

class THaupt;
class TEinzelstatistikDialog;
class TMeldungDialog;
class TParameterDialog;

class StartFlow {
  public:
    // The dialogs made once at start-up; the instruction and run screens are made for each
    // pass and destroyed after it.
    struct Screens {
        TParameterDialog* parameter = nullptr;
        TEinzelstatistikDialog* einzelstatistik = nullptr;
        TMeldungDialog* meldung = nullptr;
    };
    StartFlow(THaupt& haupt, const Screens& screens);

    // Tor1Click (kind 1, colour) and Tor2Click (kind 2, number): one pass from a gate.
    // Returns the run screen's result (1 with a result, 2 abandoned), or 0 when the
    // parameters or the instructions were left.
    int GateClick(int kind);
    // After a run with a result: statistics, the view, the name, the append.
    void AfterRun();

    // The word of the play label: kind word 1 for the colour versions 1 and 3, 2 for 2 and
    // 4; kind word 3 for the number versions 1 and 4, 4 for 2 and 3.
    static QString playLabelWord(int kind, int version);

  private:
    THaupt& haupt_;
    Screens screens_;
};

} // namespace quendal
