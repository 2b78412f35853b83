#pragma once
// TOwnFenster, the frame of every dialog: a borderless tool window of its owner (no taskbar
// entry of its own, kept above its owner, also above an owner in the full-screen state), that
// paints its own frame from
// eight built-in bitmaps (a title strip 47 pixels high with the caption and a close box,
// side strips 23 pixels wide and a bottom strip 24 pixels high), closes with result 2 by its
// close box, can be dragged by its frame and centres itself on the play field when shown.
// A dialog's content lies on its panel "ppp" at (23, 47); its client size is the panel's
// plus (46, 71).
//
// A dialog keeps its design size wherever it fits the play field. Where it does not (the
// larger dialogs on a play field of 640 x 480, the explanation viewer also on 800 x 600), its
// content panel with everything on it is shrunk in proportion, places, sizes and fonts alike,
// until the dialog fits; the frame keeps its measures. It is put back to its design when it
// closes.
//
// What every framed dialog shares lives here too: the dialog reads every key before its
// controls do (Enter runs okbuttonClick, Escape cancelbuttonClick), and its show handler
// FormShow sets the texts of the interface language each time before it is centred. A dialog
// overrides only what differs.

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <memory>

class QWindow;

namespace quendal {

class BitmapList;
class DesignScale;
class KeyPreview;

class TOwnFenster : public QDialog {
    Q_OBJECT
  public:
    // Modal results shared by every dialog.
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;
    static constexpr int ResultYes = 6;

    // The frame's fixed measures.
    static constexpr int TitleHeight = 47;
    static constexpr int LeftWidth = 23;
    static constexpr int RightWidth = 23;
    static constexpr int BottomHeight = 24;
    static constexpr QPoint PanelPos{23, 47};
    static constexpr QPoint CaptionPos{27, 19};
    static constexpr int CloseBoxSize = 17;

    explicit TOwnFenster(QWidget* parent = nullptr);
    ~TOwnFenster() override;

    // The program-wide colour of the dialog titles; every framed dialog sets it on creation.
    static QColor titleColour();

    // Sets the title colour; every framed dialog's creation handler calls it first.
    void FormCreate();

    // True when the client point lies in the 17 x 17 close box at (width - 42, 18).
    bool IsInCloseBox(int x, int y) const;

    // Places the dialog in the middle of the play field (halvings round toward zero).
    void centreOnPlayField();

    // Shrinks the content to fit the play field, or puts back its design where it fits.
    void fitToPlayField();
    // The factor the content is shown at: 1 at its design size.
    double contentScale() const;
    // Nothing is shrunk below this; a play field too small even then shows the dialog cut.
    static constexpr double SmallestScale = 0.5;

    // The caption's point size: 12 up to 100 pixels per inch, above that 96 / ppi x 12,
    // rounded, so that the caption keeps its pixel size on large-font displays.
    static int captionPointSize(int pixelsPerInch);
    static QFont captionFont(int pixelsPerInch);

    // Paints the frame of a w x h client area from the eight frame bitmaps (by their index)
    // and the caption; used by paintEvent with the built-in bitmaps.
    static void paintFrame(QPainter& painter, int w, int h, const BitmapList& frame,
                           const QString& caption);

    bool isDragging() const { return dragging_; }

    // Closing without an answer (Escape, the window manager) counts as cancel.
    void reject() override;

    // The show handler: sets the texts for UiLanguage and whatever else each show renews.
    // It runs on every show, before the dialog is centred on the play field.
    virtual void FormShow();
    // Enter and Escape run these; by default they close the dialog with 1 and 2.
    virtual void okbuttonClick();
    virtual void cancelbuttonClick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Key handlers of the dialogs, in the program's key codes and typed characters. They see
    // every key before the control with the focus does; returning true consumes the key,
    // returning false must leave everything as it was. FormKeyDown runs okbuttonClick for
    // Enter and cancelbuttonClick for Escape unless a dialog says otherwise.
    virtual bool FormKeyDown(int key);
    virtual bool FormKeyPress(QChar key);

  private:
    void attachToHostWindow();
    bool previewKey(QKeyEvent& event);

    KeyPreview* preview_ = nullptr;
    std::unique_ptr<DesignScale> scale_;
    QSize designPanel_;

    bool dragging_ = false;
    // When the platform cannot move the window itself, the frame follows the pointer.
    bool manualMove_ = false;
    QPoint pressGlobal_;
    QPoint pressWindowPos_;
    QWindow* hostWindow_ = nullptr;
    bool hostAttached_ = false;
};

} // namespace quendal
