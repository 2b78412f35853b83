// Every dialog of the program on the play fields of 1024 x 768, 800 x 600 and 640 x 480, in
// both languages, as the start-up creates them: each lies wholly inside the play field; where
// it fits at its design it keeps that design exactly; where it does not, its content shrinks
// in proportion, every part staying inside its panel and every text that was whole staying
// whole; the overall list needs no horizontal scroll bar. Afterwards the design is back.
// With QUENDAL_SHOTS set to a folder, each dialog is drawn there on its play field.

#include "frame/meldung_dialog.h"
#include "frame/meldung_message_sink.h"
#include "run/parameter_dialog.h"
#include "shell/hilfe_dialog.h"
#include "shell/optionen_dialog.h"
#include "shell_fixture.h"
#include "stats/einzelstatistik_dialog.h"
#include "stats/filter_dialog.h"
#include "stats/gesamtstatistik_dialog.h"
#include "stats/stat_info_dialog.h"
#include "toolkit/header_list_box.h"
#include "toolkit/image_button.h"
#include "users/text_eingabe_dialog.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <functional>
#include <map>

using namespace quendal;
using quendal::testing::ShellTest;

namespace {

// A named part of a dialog as it stood, relative to the dialog's content panel.
struct Part {
    QRect place;
    bool insideParent = false;
    bool textWhole = false;
};

// The dialog's own parts (the widgets the program names), without the inner parts of the
// widgets that arrange themselves.
std::vector<QWidget*> namedParts(QWidget& dialog) {
    std::vector<QWidget*> parts;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->window() == &dialog && !w->objectName().isEmpty() &&
            !w->objectName().startsWith(QStringLiteral("qt_")) && w->isVisibleTo(&dialog)) {
            parts.push_back(w);
        }
    }
    return parts;
}

// True when the widget's one-line text has room in it.
bool textWhole(const QWidget* w) {
    QString text;
    int room = 0;
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->wordWrap() || label->text().isEmpty()) {
            return false;
        }
        text = label->text();
        room = label->contentsRect().width() - 2 * label->margin();
    } else if (const auto* button = qobject_cast<const ImageButton*>(w)) {
        text = button->text();
        room = button->width();
    } else {
        return false;
    }
    return !text.isEmpty() && QFontMetrics(w->font()).horizontalAdvance(text) <= room;
}

class DialogFitTest : public ShellTest {
  protected:
    DialogFitTest() : sink(meldung), gesamt(sink) {}

    struct Entry {
        const char* name;
        TOwnFenster* dialog;
        std::function<void()> open;
    };

    std::vector<Entry> dialogs() {
        auto exec = [](TOwnFenster* d) { return [d] { d->exec(); }; };
        return {
            {"name", &name, exec(&name)},
            {"message", &meldung,
             [this] {
                 meldung.Meldungsfenster(QStringLiteral("Soll die Statistik gedruckt werden?"),
                                         QString(), true, true, 6);
             }},
            {"overall", &gesamt, exec(&gesamt)},
            {"chart", gesamt.FilterDialog(), exec(gesamt.FilterDialog())},
            {"single", &einzel, exec(&einzel)},
            {"explanation", &statInfo, exec(&statInfo)},
            {"parameters", &parameter, exec(&parameter)},
            {"help", &hilfe, exec(&hilfe)},
            {"options", &optionen, exec(&optionen)},
        };
    }

    // Opens the dialog, runs check while it is shown, closes it.
    static void whileShown(const Entry& e, const std::function<void()>& check) {
        QTimer::singleShot(0, e.dialog, [&] {
            QCoreApplication::processEvents();
            check();
            e.dialog->done(TOwnFenster::ResultCancel);
        });
        e.open();
    }

    TTextEingabeDialog name;
    TMeldungDialog meldung;
    MeldungMessageSink sink;
    TGesamtstatistikDialog gesamt;
    TEinzelstatistikDialog einzel;
    TStatInfoDialog statInfo;
    TParameterDialog parameter{&meldung};
    THilfeDialog hilfe{&meldung};
    TOptionenDialog optionen;
};

} // namespace

TEST_F(DialogFitTest, EveryDialogLiesInsideThePlayFieldAndKeepsItsDesignWhereItFits) {
    const QString shots = qEnvironmentVariable("QUENDAL_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
    }
    programState().CurrentUser.DisplayName = "Erika Mustermann";
    QStringList lines;
    for (int n = 1; n <= 30; ++n) {
        lines << QStringLiteral("%1;%2.11.2026;Zahl/Anzahl - Version 4;200;188;1357;437;12;3")
                     .arg(n)
                     .arg(n % 28 + 1, 2, 10, QChar(u'0'));
    }
    lines.insert(7, QStringLiteral("Datenfehler"));
    gesamt.StatistikListBox()->setLines(lines);
    std::map<TOwnFenster*, QSize> constructed;
    for (const Entry& e : dialogs()) {
        constructed[e.dialog] = e.dialog->size();
    }

    for (int language : {1, 2}) {
        programState().UiLanguage = language;
        programState().vocabulary = ExerciseVocabulary::forLanguage(language);
        std::map<QWidget*, Part> design;
        std::map<TOwnFenster*, QSize> designSize;
        std::map<TOwnFenster*, QSize> designPanel;
        for (const QSize field : {QSize(1024, 768), QSize(800, 600), QSize(640, 480)}) {
            programState().PlayWidth = field.width();
            programState().PlayHeight = field.height();
            for (const Entry& e : dialogs()) {
                const std::string where = std::string(e.name) + " on " +
                                          std::to_string(field.width()) + ", language " +
                                          std::to_string(language);
                TOwnFenster& d = *e.dialog;
                whileShown(e, [&] {
                    ASSERT_TRUE(d.isVisible()) << where;
                    EXPECT_TRUE(QRect(QPoint(0, 0), field).contains(d.frameGeometry()))
                        << where << ": " << d.frameGeometry().x() << ", " << d.frameGeometry().y()
                        << ", " << d.width() << " x " << d.height();
                    auto* ppp = d.findChild<QWidget*>(QStringLiteral("ppp"));
                    ASSERT_NE(ppp, nullptr) << where;
                    EXPECT_EQ(d.size() - ppp->size(), QSize(46, 71)) << where; // the frame
                    const double f = d.contentScale();
                    if (field.width() == 1024) {
                        // The design, untouched: the size the dialog was made with.
                        EXPECT_EQ(f, 1.0) << where;
                        EXPECT_EQ(d.size(),
                                  &d == &meldung ? QSize(487, 22 * 6 + 132) : constructed.at(&d))
                            << where;
                        designSize[&d] = d.size();
                        designPanel[&d] = ppp->size();
                        for (QWidget* w : namedParts(d)) {
                            const QRect place(w->mapTo(ppp, QPoint(0, 0)), w->size());
                            design[w] = {place, w->parentWidget()->rect().contains(w->geometry()),
                                         textWhole(w)};
                        }
                    } else {
                        // Shrunk only as far as it must: a bigger factor would not fit.
                        EXPECT_EQ(f<1.0, designSize[&d].width()> field.width() ||
                                  designSize[&d].height() > field.height())
                            << where;
                        if (f < 1.0) {
                            const QSize larger = (QSizeF(ppp->size()) * 1.02).toSize();
                            EXPECT_TRUE(larger.width() + 46 > field.width() ||
                                        larger.height() + 71 > field.height())
                                << where;
                        }
                        for (QWidget* w : namedParts(d)) {
                            const std::string part = where + ", " + w->objectName().toStdString();
                            auto it = design.find(w);
                            ASSERT_NE(it, design.end()) << part;
                            const Part& was = it->second;
                            const QRect place(w->mapTo(ppp, QPoint(0, 0)), w->size());
                            EXPECT_LE(std::abs(place.left() - was.place.left() * f), 1.0) << part;
                            EXPECT_LE(std::abs(place.top() - was.place.top() * f), 1.0) << part;
                            EXPECT_LE(std::abs(place.width() - was.place.width() * f), 1.5) << part;
                            EXPECT_LE(std::abs(place.height() - was.place.height() * f), 1.5)
                                << part;
                            if (was.insideParent) {
                                EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
                                    << part;
                            }
                            if (was.textWhole) {
                                EXPECT_TRUE(textWhole(w)) << part;
                            }
                        }
                    }
                    if (&d == &gesamt) {
                        HeaderListBox* list = gesamt.StatistikListBox();
                        EXPECT_FALSE(list->horizontalScrollBar()->isVisible()) << where;
                        int sum = 0;
                        const QFontMetrics heads(list->header()->font());
                        for (int c = 0; c < 9; ++c) {
                            sum += list->header()->sectionSize(c);
                            EXPECT_LE(heads.horizontalAdvance(list->headTexts()[c]) + 7,
                                      list->header()->sectionSize(c))
                                << where << " head " << c;
                        }
                        EXPECT_EQ(sum, list->viewport()->width()) << where;
                        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                                      nullptr, list) +
                                           1;
                        EXPECT_LE(QFontMetrics(list->font()).horizontalAdvance("28.11.2026") +
                                      2 * margin,
                                  list->header()->sectionSize(1))
                            << where;
                        EXPECT_GE(list->visualRect(list->model()->index(7, 0)).width(),
                                  list->viewport()->width() - 1)
                            << where; // the data-error line spans its row
                        // The newest run, selected, in view.
                        EXPECT_EQ(list->currentRow(), 30) << where;
                        EXPECT_TRUE(list->viewport()->rect().contains(
                            list->visualRect(list->model()->index(30, 0))))
                            << where;
                    }
                    if (!shots.isEmpty()) {
                        QImage picture(field, QImage::Format_RGB32);
                        picture.fill(QColor(20, 40, 60));
                        QPainter painter(&picture);
                        painter.drawPixmap(d.pos(), d.grab());
                        painter.end();
                        picture.save(QStringLiteral("%1/dialog_%2_%3_%4.png")
                                         .arg(shots, e.name)
                                         .arg(field.width())
                                         .arg(language == 1 ? "de" : "en"));
                    }
                });
                // Closed, the dialog is back at its design.
                EXPECT_EQ(d.contentScale(), 1.0) << where;
                EXPECT_EQ(d.findChild<QWidget*>(QStringLiteral("ppp"))->size(), designPanel[&d])
                    << where;
            }
        }
    }
}
