#pragma once
// The artwork of the program, drawn in code: the exercise pictures, the skin of the main
// window and the run screen, the splash, the dialog frame, the dialog button faces and the
// wrong-answer sound. The build-time generator draws it for DATA/ and the built-in pieces;
// the program draws it again at the device pixel ratio of a scaled screen, so that every
// picture has as many pixels as the screen gives it.
//
// Every picture has a size in the layout's pixels (its logical size). Drawn at a device
// pixel ratio r it has round(r x size) pixels and carries r as its device pixel ratio; its
// shapes, lines and texts are drawn at that resolution, not scaled up from the picture at 1.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMargins>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <memory>

namespace artwork {

enum class Language { German, English };

// Everything that differs between the three layouts "640", "800" and "1024".
struct Layout {
    QString folder;
    double scale = 1.0; // relative to "1024"
    int playWidth = 1024;
    int playHeight = 768;

    // Run screen: the exercise pictures, the play-field background and the slotPlaces on it
    // (Oben, Links, Rechts, Unten, Mitte, XOben, XLinks, XRechts, XUnten).
    QSize picture;
    QSize background;
    std::array<QPoint, 9> slotPlaces;
    // Run-screen frame: left, top and right border, and the thicker bottom border that
    // holds the counter plate.
    int screenBorder = 20;
    int screenBottom = 48;
    QSize plate;
    // The counters on the plate, relative to the plate's middle and top: reaction time
    // from timeLeft to -4 (or -2), rounds from +roundsLeft, both counterHeight high.
    int counterTop = 5;
    int counterHeight = 20;
    int counterReach = 56; // how far the dark display window reaches left and right

    // Main window.
    int windowBorder = 24;
    QSize menuFace;
    QSize gate;
    QSize logo;
    QSize tag;
    int menuFontPoints = 12;

    // Device pixels per pixel of the layout: 1 for the files in DATA/.
    double ratio = 1.0;

    QSize panel() const { return {playWidth - 2 * windowBorder, playHeight - 2 * windowBorder}; }
    int px(double v) const; // v pixels at "1024", rounded for this layout
    // The same layout drawn at another device pixel ratio.
    Layout at(double deviceRatio) const;
    // v, in the layout's pixels, moved to the nearest edge of a device pixel.
    double snap(double v) const;
};

const std::array<Layout, 3>& layouts();

// --- The pictures ---------------------------------------------------------------------

// The exercise pictures of a layout and language, the main list: entries 0 to 88, each
// drawn on its own at the layout's device pixel ratio. Making one measures the fonts and
// figures that fit the layout; drawing a picture then costs only that picture.
class ExerciseArt {
  public:
    static constexpr int kCount = 89;
    ExerciseArt(const Layout& layout, Language language);
    QImage picture(int index, double ratio = 1.0) const;

  private:
    struct Styles;
    Layout layout_;
    std::shared_ptr<const Styles> styles_;
};

// The skin of a layout and language, the scheme list: entries 0 to 40.
class SchemeArt {
  public:
    static constexpr int kCount = 41;
    SchemeArt(const Layout& layout, Language language);
    QImage picture(int index, double ratio = 1.0) const;

  private:
    Layout layout_;
    Language language_;
};

// Whole lists at the device pixel ratio 1, as the files in DATA/ hold them.
QList<QImage> exercisePictures(const Layout& layout, Language language);
QList<QImage> schemePictures(const Layout& layout, Language language);
// The splash picture, 515 x 302.
QImage splashPicture(double ratio = 1.0);
// The program's icon at size x size pixels, and the same icon as a scalable SVG.
QImage programIcon(int size);
QByteArray programIconSvg();
// The eight frame bitmaps of the dialog frame, by their index.
constexpr int kDialogFramePieces = 8;
QImage dialogFramePiece(int index, double ratio = 1.0);
QList<QImage> dialogFrame();
// The nine dialog button faces: three 76 x 25, then six 138 x 34.
constexpr int kDialogButtonFaces = 9;
QImage dialogButtonFace(int index, double ratio = 1.0);
QList<QImage> dialogButtonFaces();
// The wrong-answer buzz: raw mono 16-bit little-endian samples at 22050 Hz, 21372 bytes.
QByteArray wrongSound();

// --- Shared drawing helpers -----------------------------------------------------------

namespace palette {
// The four colours of the colour exercise, by value 1..4 (index 0..3).
extern const std::array<QColor, 4> ink;
extern const QColor card;      // dark face of a stimulus card
extern const QColor cardRim;   // its light rim
extern const QColor figure;    // digits, dots and neutral words
extern const QColor field;     // the play-field background
extern const QColor panel;     // the main window's panels
extern const QColor caption;   // light caption text of buttons and tags
extern const QColor keyColour; // transparent colour of the dialog button faces
} // namespace palette

// Liberation Sans bold at a pixel size.
QFont boldFont(double pixelSize);
// The outline of text, its ink box centred on centre and its place on whole device pixels
// of the ratio.
QPainterPath centredText(const QString& text, const QFont& font, QPointF centre,
                         double ratio = 1.0);
// The largest pixel size (from max down) at which every text's ink box fits into box.
double fittingPixelSize(const QStringList& texts, QSizeF box, double max);

QColor mix(const QColor& a, const QColor& b, double t);
QColor shade(const QColor& c, double factor); // < 1 darker, > 1 lighter

// The device size of a picture of a logical size at a device pixel ratio.
QSize deviceSize(QSize size, double ratio);
// An empty picture of the given logical size, fully transparent.
QImage blank(QSize size, double ratio = 1.0);
// An opaque picture of the given logical size filled with one colour.
QImage filled(QSize size, const QColor& colour, double ratio = 1.0);

// A frame whose borders are drawn pixel by pixel from a profile across each border: the
// sides meet on the diagonals from the outer to the inner corners. depth 0 is the outer
// edge, thickness - 1 the inner, both in logical pixels; at a device pixel ratio above 1
// every logical band of the profile covers its share of device pixels and the diagonals
// are drawn at the finer grid. Only the part `piece` (logical, inside the canvas) is drawn.
enum class Side { Left, Top, Right, Bottom };
using FrameProfile = std::function<QColor(Side side, int depth, int thickness)>;
QImage drawFrame(QSize canvas, QMargins borders, const FrameProfile& profile, QRect piece,
                 double ratio = 1.0);

// A raised button body: rounded rectangle with a vertical gradient, a dark outline and a
// light top edge.
enum class FaceState { Normal, Hover, Pressed, Disabled };
void paintButtonBody(QPainter& p, const QRectF& r, double radius, const QColor& base,
                     FaceState state);

// Replaces every pixel that is less than half covered by key, and makes the rest opaque,
// so that a face drawn with soft edges can be shown with a transparent colour.
QImage keyed(const QImage& image, const QColor& key);

} // namespace artwork
