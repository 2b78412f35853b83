#pragma once
// A splash window drawn straight through an X connection, without Qt's windows: it can be
// shown from any thread while the main thread goes on making the application's windows. It
// is borderless, kept above other windows, centred on the screen and shows one picture (the
// window's background, so the server keeps it drawn by itself); without a picture it is a
// plain window of the given size and colour. Asked for as Qt asks for a splash screen: of
// the window type "splash", in the state "above", without decorations, at its position.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <memory>
#include <vector>

struct xcb_connection_t;

namespace quendal {

class XSplashWindow {
  public:
    // Whether screen `screenNumber` of `connection` can show a splash: it covers `area` (in
    // its pixels) and its pixels are the 32-bit true colour the picture is sent in.
    static bool canShow(xcb_connection_t* connection, int screenNumber, QRect area);
    // Sends the server the window in the middle of `area` on screen `screenNumber` of
    // `connection`; nothing when the screen cannot show it (canShow). The server shows it
    // before anything sent later on the same connection, without a wait for it here.
    static std::unique_ptr<XSplashWindow> show(xcb_connection_t* connection, int screenNumber,
                                               QRect area, const QImage& picture, QSize plainSize,
                                               QColor plainColour);
    // Waits until the server has drawn the window; false when it refused it.
    bool waitUntilShown();
    // Takes the window off the screen, before anything sent later on the same connection.
    ~XSplashWindow();
    XSplashWindow(const XSplashWindow&) = delete;
    XSplashWindow& operator=(const XSplashWindow&) = delete;

    // The window's id and its place on the screen, in the screen's pixels.
    unsigned window() const { return window_; }
    QRect geometry() const { return geometry_; }

  private:
    XSplashWindow(xcb_connection_t* connection, unsigned window, QRect geometry)
        : connection_(connection), window_(window), geometry_(geometry) {}

    xcb_connection_t* connection_;
    unsigned window_;
    QRect geometry_;
    // The requests whose errors tell whether the window came: checked, so that their
    // errors come back here, not to the events of the connection's owner.
    std::vector<unsigned> requests_;
};

} // namespace quendal
