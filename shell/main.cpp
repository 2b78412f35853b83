// The program entry. For now it opens a plain test window from which the message box can be
// tried in both of its forms and both interface languages.

#include "core/program_state.h"
#include "shell/meldung_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

using quendal::programState;
using quendal::TMeldungDialog;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quendal"));

    TMeldungDialog meldung;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Quendal"));
    window.setObjectName(QStringLiteral("TestWindow"));
    auto* layout = new QVBoxLayout(&window);
    auto* answer = new QLabel(QStringLiteral("–"), &window);
    answer->setObjectName(QStringLiteral("Answer"));

    struct Trial {
        const char* label;
        int language;
        bool yesNo;
        const char* caption;
        const char* text;
    };
    const Trial trials[] = {
        {"Ja/Nein (Deutsch)", 1, true, "Hinweis",
         "Der Durchgang ist noch nicht gespeichert.\nWollen Sie ihn wirklich verwerfen?"},
        {"OK (Deutsch)", 1, false, "Fehler",
         "Die Ergebnisdatei konnte nicht geschrieben werden.\nBitte prüfen Sie den Datenordner."},
        {"Yes/No (English)", 2, true, "Info",
         "The run has not been saved yet.\nDo you really want to discard it?"},
        {"OK (English)", 2, false, "Error",
         "The result file could not be written.\nPlease check the data folder."},
    };
    for (const Trial& trial : trials) {
        auto* button = new QPushButton(QString::fromUtf8(trial.label), &window);
        button->setObjectName(QString::fromUtf8(trial.label));
        QObject::connect(button, &QPushButton::clicked, &window, [&meldung, answer, trial] {
            programState().UiLanguage = trial.language;
            const int result =
                meldung.Meldungsfenster(QString::fromUtf8(trial.text),
                                        QString::fromUtf8(trial.caption), trial.yesNo, true, 4);
            answer->setText(QString::number(result));
        });
        layout->addWidget(button);
    }
    layout->addWidget(answer);
    window.move(0, 0);
    window.show();
    return QApplication::exec();
}
