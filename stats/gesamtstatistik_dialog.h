#pragma once
// TGesamtstatistikDialog, the overall statistics view: every run stored in the user's result
// file, or only today's, one line each with its number, date, exercise, round count and the
// main values of its statistics. A listed run opens again in the single statistics view,
// "Graph" opens the chart and "Drucken" prints the list.
//
// Reading the lists overwrites the current ResultRecord; the main window's button
// (GesamtstatistikbuttonClick) keeps a copy of it while the view is open and puts it back
// afterwards, so the last completed run stays the current one.

#include "core/message_sink.h"
#include "frame/own_fenster.h"

#include <functional>

class QLabel;

namespace quendal {

class HeaderListBox;
class ImageButton;
class TFilterDialog;

class TGesamtstatistikDialog : public TOwnFenster {
    Q_OBJECT
  public:
    static constexpr int PanelWidth = 640;
    static constexpr int PanelHeight = 460;

    // Shows the single statistics view modally for the current ResultRecord (the run just
    // opened by "Details"); no save step follows.
    using DetailsView = std::function<void()>;

    // messages asks and informs for the prints; the chart dialog is made here, once.
    explicit TGesamtstatistikDialog(MessageSink& messages, QWidget* parent = nullptr);
    ~TGesamtstatistikDialog() override;

    void setDetailsView(DetailsView view) { detailsView_ = std::move(view); }

    HeaderListBox* StatistikListBox() const { return StatistikListBox_; }
    QLabel* NameLabel() const { return NameLabel_; }
    TFilterDialog* FilterDialog() const { return FilterDialog_; }

    // Refills the list from the user's result file, all runs or those saved today.
    void ReadList(bool todayOnly);

    // Captions for UiLanguage, the user's name, and the last line (the newest run) selected.
    void FormShow() override;
    // All runs, first line selected.
    void GesamtButtonClick();
    // Today's runs, first line selected; an empty list stays empty without a message.
    void TagButtonClick();
    // Opens the selected run in the single statistics view; marked and data-error lines
    // open nothing.
    void DetailButtonClick();
    void StatistikListBoxDblClick();
    // The chart over the records 1 to OverallRecordCount.
    void GraphbuttonClick();
    // Prints the list as shown.
    void druckbuttonClick();

  private:
    MessageSink& messages_;
    DetailsView detailsView_;
    QWidget* ppp_;
    QLabel* NameLabel_;
    HeaderListBox* StatistikListBox_;
    ImageButton* GesamtButton_;
    ImageButton* TagButton_;
    ImageButton* DetailButton_;
    ImageButton* Graphbutton_;
    ImageButton* cancelbutton_;
    ImageButton* druckbutton_;
    TFilterDialog* FilterDialog_;
};

// The main window's "Gesamtstatistik" button: with no user or no result file says "Es ist
// noch kein Benutzer angemeldet.", with a file without runs "Es liegen noch keine Statistiken
// für den angemeldeten Benutzer vor."; otherwise lists every run and shows the view modally.
// The current ResultRecord is the same afterwards as before. Returns the view's modal result,
// or 0 when the view was not shown.
int GesamtstatistikbuttonClick(TGesamtstatistikDialog& dialog, MessageSink& messages);

} // namespace quendal
