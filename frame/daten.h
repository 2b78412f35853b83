#pragma once
// TDaten, the data module: a never-shown holder of what several screens share, the two
// bitmap lists of the play-field layout and the interface language (HauptBMListe with the
// exercise pictures, SchemeBMPliste with the frames, faces and tags), the built-in dialog
// button faces, the joystick and the built-in wrong-answer sound. It is made once at start-up,
// after the main window; Daten() reaches it from every screen.

#include "toolkit/bitmap_list.h"
#include "toolkit/joystick_device.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace quendal {

class TDaten : public QObject {
    Q_OBJECT
  public:
    // The fewest pictures a usable list holds: the scheme entries 0 to 40 and the exercise
    // pictures 0 to 87.
    static constexpr int kSchemeEntries = 41;
    static constexpr int kHauptEntries = 88;

    explicit TDaten(QObject* parent = nullptr);
    ~TDaten() override;
    TDaten(const TDaten&) = delete;
    TDaten& operator=(const TDaten&) = delete;

    // The creation handler: LoadBitmapLists. False when the lists could not be loaded; the
    // caller shows the message and ends the program.
    bool FormCreate(QString* error = nullptr);

    // Loads HauptBMListe and SchemeBMPliste from ProgramFolder + "DATA/" + the resolution
    // folder of PlayWidth, "haupt.bml"/"scheme.bml" for German and "ehaupt.bml"/"escheme.bml"
    // for English. A missing, damaged or incomplete list gives false and, in error, which
    // file and what is wrong; the lists are then left empty.
    bool LoadBitmapLists(QString* error = nullptr);

    // The text of the message for a failed load, in the interface language.
    static QString loadFailureMessage();

    // The path of a list file for the current play field ("DATA" in whatever case it exists).
    static QString bitmapListPath(const QString& fileName);
    // The same for a given program folder and play-field width.
    static QString bitmapListPathIn(const std::string& programFolder, int playWidth,
                                    const QString& fileName);

    // A list file read and checked as LoadBitmapLists reads it, on whatever thread: `key` is
    // "<layout>/<file>". A file the build drew (`ours`) has its structure checked and the
    // pictures `ahead` decoded; any other file has every picture checked. Without a list,
    // `why` says what is wrong.
    struct ListRead {
        QString path;
        std::optional<BitmapList> list;
        bool ours = false;
        QString why;
    };
    static ListRead readList(const QString& path, const QString& key,
                             const std::vector<int>& ahead = {});
    // Where LoadBitmapLists takes the lists it needs: lists read ahead (by the start-up, on a
    // second thread) for a path, or nothing, and it reads that file itself.
    using ListSource = std::function<std::optional<ListRead>(const QString& path)>;
    static void setListSource(ListSource source);

    // True when bytes are those of the file the build drew as `name` ("<layout>/<file>" for a
    // list, "splash.bmp"): the program can then draw the same pictures at any pixel ratio.
    static bool drawnByTheBuild(const QString& name, const QByteArray& bytes);

    BitmapList HauptBMListe;
    BitmapList SchemeBMPliste;
    // The nine built-in dialog button faces.
    const BitmapList& ButtonList() const;

    // The borders of the full-screen frame: the widths of the left and right edge tiles and
    // the heights of the top and bottom edge tiles.
    struct ScreenBorders {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    ScreenBorders screenBorders() const;
    // Paints the frame of the run and instruction screens over a width x height client area:
    // the edges tiled from their start (the last tile cut to what is left), the corners over
    // them and, withPlate, the counter plate centred in the bottom border, reaching the
    // layout's plate offset below its top edge. The inside is left unpainted.
    void DrawScreenFrame(QPainter& canvas, int width, int height, bool withPlate) const;

    // Paints the frame of the main window over a width x height client area, as
    // drawTiledFrame paints it from the scheme list's window pieces.
    void DrawMainFrame(QPainter& canvas, int width, int height) const;

    // The entries of a list that make a frame painted from tiles.
    struct FramePieces {
        int top, bottom, left, right;
        int topLeft, topRight, bottomLeft, bottomRight;
    };
    // Each edge tiled from its start with the last tile cut to what is left, then the four
    // corners over the edges; at the pixels of the painter's device (see device_pixels.h).
    static void drawTiledFrame(QPainter& canvas, int width, int height, const BitmapList& list,
                               const FramePieces& pieces);
    JoystickDevice Joystick;

    // The joystick's move notification, with the scaled position: a direction for every
    // axis outside the dead zone (left, right, up, down in this order) or, inside it on
    // both axes, the release; only to the run screen while it is the active window and only
    // when the joystick is present and in use.
    void JoystickJoyMove(int x, int y);
    // Button 1 went down (pressed) or up: a press starts the instruction screen while it is
    // the active window, when the joystick is present and in use.
    void JoystickButton1_Change(bool pressed, int x, int y);
    // A screen that takes the joystick is shown (true) or gone (false): the device is polled
    // only in between and only when present and in use, so that the menu and the dialogs
    // cause no wake-ups. The rest position is not read again.
    void JoystickScreenShown(bool shown);
    // Raw mono 16-bit samples at 22050 Hz; empty when the program has no built-in sound.
    QByteArray WaveFalsch;

  private:
    // Leads the joystick's moves and its button 1, scaled, to the handlers above.
    void connectJoystick();
};

// The one data module of the program; nullptr before it is made and after it is gone.
TDaten* Daten();

} // namespace quendal
