#include "toolkit/x_splash_window.h"

#include "toolkit/xcb_requests.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>
#include <xcb/xcb.h>

namespace quendal {
namespace {

// The atoms the window's properties name, asked for in one round trip.
enum Atom : std::size_t {
    kNetWmName,
    kUtf8String,
    kNetWmWindowType,
    kNetWmWindowTypeSplash,
    kNetWmState,
    kNetWmStateAbove,
    kMotifWmHints,
    kAtomCount
};

constexpr std::array<const char*, kAtomCount> kAtomNames{
    "_NET_WM_NAME",  "UTF8_STRING",         "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_SPLASH",
    "_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_MOTIF_WM_HINTS"};

// Whether the screen's pixels are 32-bit words of 0x00RRGGBB in the order of this machine,
// the layout of a QImage of Format_RGB32.
bool takesRgb32(xcb_connection_t* connection, const xcb_screen_t& screen) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (screen.root_depth != 24 || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        return false;
    }
    bool thirtyTwoBits = false;
    for (xcb_format_iterator_t formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem > 0;
         xcb_format_next(&formats)) {
        if (formats.data->depth == 24) {
            thirtyTwoBits = formats.data->bits_per_pixel == 32;
        }
    }
    for (xcb_depth_iterator_t depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem > 0;
         xcb_depth_next(&depths)) {
        for (xcb_visualtype_iterator_t visuals = xcb_depth_visuals_iterator(depths.data);
             visuals.rem > 0; xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t& visual = *visuals.data;
            if (visual.visual_id == screen.root_visual) {
                return thirtyTwoBits && visual._class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                       visual.red_mask == 0xff0000U && visual.green_mask == 0xff00U &&
                       visual.blue_mask == 0xffU;
            }
        }
    }
    return false;
}

// Whether the server carried out the request; waits for it (and all before it) when needed.
bool carriedOut(xcb_connection_t* connection, xcb_void_cookie_t request) {
    xcb_generic_error_t* error = xcb_request_check(connection, request);
    std::free(error);
    return error == nullptr && xcb_connection_has_error(connection) == 0;
}

// Sends the picture into the pixmap in strips the server takes as single requests.
void putPicture(xcb_connection_t* connection, xcb_pixmap_t pixmap, const QImage& picture) {
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    const uint32_t rowBytes = static_cast<uint32_t>(picture.width()) * 4;
    const uint32_t requestBytes = xcb_get_maximum_request_length(connection) * 4;
    const uint32_t headerBytes = 24;
    const int rowsPerStrip = static_cast<int>(std::max<uint32_t>(
        1, (requestBytes > headerBytes ? requestBytes - headerBytes : 0) / rowBytes));
    for (int top = 0; top < picture.height(); top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, picture.height() - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc,
                      static_cast<uint16_t>(picture.width()), static_cast<uint16_t>(rows), 0,
                      static_cast<int16_t>(top), 0, 24, rowBytes * static_cast<uint32_t>(rows),
                      picture.constScanLine(top));
    }
    xcb_free_gc(connection, gc);
}

void setProperties(xcb_connection_t* connection, xcb_window_t window, QRect geometry,
                   const std::array<xcb_atom_t, kAtomCount>& atoms) {
    const QByteArray title = QByteArrayLiteral("Quendal");
    const auto length = static_cast<uint32_t>(title.size());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, length, title.constData());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms[kNetWmName],
                        atoms[kUtf8String], 8, length, title.constData());
    static constexpr char kClass[] = "quendal\0Quendal";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, sizeof kClass, kClass);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms[kNetWmWindowType],
                        XCB_ATOM_ATOM, 32, 1, &atoms[kNetWmWindowTypeSplash]);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms[kNetWmState],
                        XCB_ATOM_ATOM, 32, 1, &atoms[kNetWmStateAbove]);
    // Decorations off (flags: decorations given; decorations: none).
    const std::array<uint32_t, 5> motif{2, 0, 0, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms[kMotifWmHints],
                        atoms[kMotifWmHints], 32, motif.size(), motif.data());
    // The position and size are the program's, and the size is fixed.
    constexpr uint32_t kUserPosition = 1;
    constexpr uint32_t kProgramPosition = 4;
    constexpr uint32_t kProgramSize = 8;
    constexpr uint32_t kMinimumSize = 16;
    constexpr uint32_t kMaximumSize = 32;
    std::array<uint32_t, 18> hints{};
    hints[0] = kUserPosition | kProgramPosition | kProgramSize | kMinimumSize | kMaximumSize;
    hints[1] = static_cast<uint32_t>(geometry.x());
    hints[2] = static_cast<uint32_t>(geometry.y());
    hints[3] = hints[5] = hints[7] = static_cast<uint32_t>(geometry.width());
    hints[4] = hints[6] = hints[8] = static_cast<uint32_t>(geometry.height());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, hints.size(), hints.data());
}

} // namespace

bool XSplashWindow::canShow(xcb_connection_t* connection, int screenNumber, QRect area) {
    if (connection == nullptr || xcb_connection_has_error(connection) != 0 || area.isEmpty()) {
        return false;
    }
    const xcb_screen_t* screen = nthScreen(connection, screenNumber);
    return screen != nullptr &&
           QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels).contains(area) &&
           takesRgb32(connection, *screen);
}

std::unique_ptr<XSplashWindow> XSplashWindow::show(xcb_connection_t* connection, int screenNumber,
                                                   QRect area, const QImage& picture,
                                                   QSize plainSize, QColor plainColour) {
    if (!canShow(connection, screenNumber, area)) {
        return nullptr;
    }
    const xcb_screen_t* screen = nthScreen(connection, screenNumber);
    const QImage pixels =
        picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    const QSize size = pixels.isNull() ? plainSize : pixels.size();
    if (size.isEmpty() || size.width() > 0x7fff || size.height() > 0x7fff) {
        return nullptr;
    }
    // Asked for before the picture goes out, so that their answers do not wait for it.
    const auto atomRequests = askForAtoms(connection, kAtomNames);
    const QRect geometry(QPoint(area.left() + (area.width() - size.width()) / 2,
                                area.top() + (area.height() - size.height()) / 2),
                         size);

    const xcb_window_t window = xcb_generate_id(connection);
    std::unique_ptr<XSplashWindow> splash(new XSplashWindow(connection, window, geometry));
    xcb_pixmap_t pixmap = XCB_NONE;
    if (!pixels.isNull()) {
        pixmap = xcb_generate_id(connection);
        splash->requests_.push_back(xcb_create_pixmap_checked(connection, 24, pixmap, screen->root,
                                                              static_cast<uint16_t>(size.width()),
                                                              static_cast<uint16_t>(size.height()))
                                        .sequence);
        putPicture(connection, pixmap, pixels);
    }
    // The background keeps the picture on the screen whenever the server redraws the window;
    // the window holds the pixmap as long as it needs it.
    const uint32_t mask =
        (pixmap != XCB_NONE ? XCB_CW_BACK_PIXMAP : XCB_CW_BACK_PIXEL) | XCB_CW_BORDER_PIXEL;
    const std::array<uint32_t, 2> values{
        pixmap != XCB_NONE ? pixmap : (plainColour.rgb() & 0xffffffU), 0};
    splash->requests_.push_back(
        xcb_create_window_checked(
            connection, XCB_COPY_FROM_PARENT, window, screen->root,
            static_cast<int16_t>(geometry.x()), static_cast<int16_t>(geometry.y()),
            static_cast<uint16_t>(size.width()), static_cast<uint16_t>(size.height()), 0,
            XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, mask, values.data())
            .sequence);
    if (pixmap != XCB_NONE) {
        xcb_free_pixmap(connection, pixmap);
    }
    setProperties(connection, window, geometry, atomsOf(connection, atomRequests));
    splash->requests_.push_back(xcb_map_window_checked(connection, window).sequence);
    xcb_flush(connection);
    return splash;
}

bool XSplashWindow::waitUntilShown() {
    // The last answer comes once the server has drawn the window; the others are there then.
    bool shown = true;
    for (auto request = requests_.rbegin(); request != requests_.rend(); ++request) {
        shown = carriedOut(connection_, xcb_void_cookie_t{*request}) && shown;
    }
    requests_.clear();
    return shown;
}

XSplashWindow::~XSplashWindow() {
    // Answers not waited for are dropped with the window.
    for (const unsigned request : requests_) {
        xcb_discard_reply(connection_, request);
    }
    xcb_destroy_window(connection_, window_);
    xcb_flush(connection_);
}

} // namespace quendal
