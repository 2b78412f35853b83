// The start's windows against a real X server. The splash the start's second thread shows
// through Qt's own X connection: where it stands, what it shows, what the window manager is
// told, and that it is gone from the screen before anything the program sends after it. The
// main window's frame, made and mapped before its first paint.

#include "shell/start_ahead.h"
#include "tests/shell/shell_fixture.h"
#include "toolkit/frame_buffer.h"
#include "toolkit/x_splash_window.h"

#include <QBackingStore>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>
#include <vector>
#include <xcb/xcb.h>

namespace quendal {
namespace {

xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// The screen's pixels in `rect`, as 0x00RRGGBB.
QImage screenPixels(xcb_connection_t* connection, QRect rect) {
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, rootWindow(connection),
                      static_cast<int16_t>(rect.x()), static_cast<int16_t>(rect.y()),
                      static_cast<uint16_t>(rect.width()), static_cast<uint16_t>(rect.height()),
                      ~0U),
        nullptr);
    if (reply == nullptr) {
        return {};
    }
    QImage image(xcb_get_image_data(reply), rect.width(), rect.height(),
                 static_cast<qsizetype>(rect.width()) * 4, QImage::Format_RGB32);
    QImage copy = image.copy();
    std::free(reply);
    return copy;
}

std::vector<xcb_atom_t> atomsOf(xcb_connection_t* connection, xcb_window_t window,
                                const char* property) {
    xcb_intern_atom_reply_t* name = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(property)), property),
        nullptr);
    std::vector<xcb_atom_t> atoms;
    if (name == nullptr) {
        return atoms;
    }
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name->atom, XCB_ATOM_ATOM, 0, 32),
        nullptr);
    std::free(name);
    if (reply != nullptr) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms.assign(values, values + xcb_get_property_value_length(reply) / 4);
        std::free(reply);
    }
    return atoms;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t found = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return found;
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        const auto* left = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if ((left[x] & 0xffffffU) != (right[x] & 0xffffffU)) {
                return false;
            }
        }
    }
    return true;
}

StartAhead::Plan splashPlan(const QString& path, xcb_connection_t* connection, QRect area) {
    StartAhead::Plan plan;
    plan.splashPath = path;
    plan.x.connection = connection;
    plan.x.area = area;
    plan.x.plainSize = QSize(515, 302);
    plan.x.plainColour = QColor(0, 0, 255);
    return plan;
}

TEST(SplashOnX, TheSecondThreadShowsTheSplashCentredAndItIsGoneBeforeWhatComesAfter) {
    xcb_connection_t* connection = qtConnection();
    ASSERT_NE(connection, nullptr) << "run on the xcb platform";
    const QString path =
        QFileInfo(QStringLiteral(QUENDAL_DATA_OUT "/splash.bmp")).absoluteFilePath();
    QImageReader reader(path, "bmp");
    const QImage picture = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull()) << path.toStdString();
    // The primary screen's place: the right three quarters of the 1024 x 768 screen.
    const QRect area(256, 0, 768, 768);

    StartAhead ahead;
    ahead.prepare(splashPlan(path, connection, area));
    std::unique_ptr<XSplashWindow> splash = ahead.xSplash();
    ASSERT_NE(splash, nullptr);
    ASSERT_TRUE(splash->waitUntilShown());
    const QRect expected(QPoint(256 + (768 - picture.width()) / 2, (768 - picture.height()) / 2),
                         picture.size());
    EXPECT_EQ(splash->geometry(), expected);
    EXPECT_TRUE(samePixels(screenPixels(connection, expected), picture));
    // A splash to the window manager, above other windows.
    EXPECT_EQ(atomsOf(connection, splash->window(), "_NET_WM_WINDOW_TYPE"),
              std::vector<xcb_atom_t>{atom(connection, "_NET_WM_WINDOW_TYPE_SPLASH")});
    EXPECT_EQ(atomsOf(connection, splash->window(), "_NET_WM_STATE"),
              std::vector<xcb_atom_t>{atom(connection, "_NET_WM_STATE_ABOVE")});

    // Gone without a wait here: the screen read after it no longer shows it.
    splash.reset();
    EXPECT_FALSE(samePixels(screenPixels(connection, expected), picture));
}

TEST(SplashOnX, WithoutAPictureItIsPlainBlueAndWhereTheScreenCannotShowItTheMainThreadDoes) {
    xcb_connection_t* connection = qtConnection();
    ASSERT_NE(connection, nullptr) << "run on the xcb platform";
    const QTemporaryDir empty;
    const QRect screen(0, 0, 1024, 768);
    {
        StartAhead ahead;
        ahead.prepare(splashPlan(empty.filePath(QStringLiteral("splash.bmp")), connection, screen));
        std::unique_ptr<XSplashWindow> splash = ahead.xSplash();
        ASSERT_NE(splash, nullptr);
        ASSERT_TRUE(splash->waitUntilShown());
        const QRect expected(QPoint((1024 - 515) / 2, (768 - 302) / 2), QSize(515, 302));
        EXPECT_EQ(splash->geometry(), expected);
        QImage blue(expected.size(), QImage::Format_RGB32);
        blue.fill(QColor(0, 0, 255));
        EXPECT_TRUE(samePixels(screenPixels(connection, expected), blue));
    }
    // A primary screen larger than the X screen is not one this screen can show.
    EXPECT_FALSE(XSplashWindow::canShow(connection, 0, QRect(0, 0, 2048, 768)));
    StartAhead ahead;
    ahead.prepare(splashPlan({}, connection, QRect(0, 0, 2048, 768)));
    EXPECT_EQ(ahead.xSplash(), nullptr);
}

// How many of the pages wholly inside `image` are in memory, and of how many.
std::pair<size_t, size_t> pagesInMemory(const QImage& image) {
    const PageSpan pages = pagesInside(image);
    std::vector<unsigned char> resident(pages.length / static_cast<size_t>(sysconf(_SC_PAGESIZE)));
    if (resident.empty() || mincore(pages.begin, pages.length, resident.data()) != 0) {
        return {0, resident.size()};
    }
    return {static_cast<size_t>(std::count_if(resident.begin(), resident.end(),
                                              [](unsigned char r) { return (r & 1) != 0; })),
            resident.size()};
}

TEST(FrameOnX, TheFrameMadeAheadIsInMemoryBeforeTheFirstPaintWhichKeepsItAndFillsItWhole) {
    xcb_connection_t* connection = qtConnection();
    ASSERT_NE(connection, nullptr) << "run on the xcb platform";
    QWidget window(nullptr, Qt::FramelessWindowHint);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(200, 30, 40));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    // No window manager here: the window stands where it is put.
    const QRect place(0, 0, 640, 400);
    window.setGeometry(place);
    window.show();
    mapFrameAhead(window);

    const auto* frame = dynamic_cast<const QImage*>(window.backingStore()->paintDevice());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->size(), place.size());
    const auto [inMemory, pages] = pagesInMemory(*frame);
    EXPECT_GT(pages, 200U);
    EXPECT_EQ(inMemory, pages) << "pages not yet mapped before the first paint";
    const uchar* bits = frame->constBits();

    QImage red(place.size(), QImage::Format_RGB32);
    red.fill(QColor(200, 30, 40));
    EXPECT_TRUE(
        testing::waitUntil([&] { return samePixels(screenPixels(connection, place), red); }));
    const auto* painted = dynamic_cast<const QImage*>(window.backingStore()->paintDevice());
    ASSERT_NE(painted, nullptr);
    EXPECT_EQ(painted->constBits(), bits) << "the first paint made a frame of its own";
}

} // namespace
} // namespace quendal
