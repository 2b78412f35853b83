// Draws the program's artwork at build time.
//   quendal_artwork <DATA folder> <built-in folder>
// writes DATA/{640,800,1024}/{haupt,scheme,ehaupt,escheme}.bml and DATA/splash.bmp, and
// the built-in frame bitmaps, dialog button faces and wrong-answer sound.

#include "artwork.h"
#include "toolkit/bitmap_list.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

namespace {

bool fail(const QString& message) {
    std::fprintf(stderr, "quendal_artwork: %s\n", qPrintable(message));
    return false;
}

bool saveList(const QList<QImage>& images, const QString& path) {
    QString error;
    if (!quendal::BitmapList(images).save(path, &error)) {
        return fail(path + QStringLiteral(": ") + error);
    }
    return true;
}

bool saveImage(const QImage& image, const QString& path, const char* format) {
    if (!image.save(path, format)) {
        return fail(path + QStringLiteral(": cannot write"));
    }
    return true;
}

bool saveBytes(const QByteArray& bytes, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return fail(path + QStringLiteral(": cannot write"));
    }
    return true;
}

bool generate(const QString& dataFolder, const QString& builtinFolder) {
    using artwork::Language;
    for (const artwork::Layout& layout : artwork::layouts()) {
        const QString folder = dataFolder + QLatin1Char('/') + layout.folder;
        if (!QDir().mkpath(folder)) {
            return fail(folder + QStringLiteral(": cannot create"));
        }
        if (!saveList(artwork::exercisePictures(layout, Language::German),
                      folder + QStringLiteral("/haupt.bml")) ||
            !saveList(artwork::schemePictures(layout, Language::German),
                      folder + QStringLiteral("/scheme.bml")) ||
            !saveList(artwork::exercisePictures(layout, Language::English),
                      folder + QStringLiteral("/ehaupt.bml")) ||
            !saveList(artwork::schemePictures(layout, Language::English),
                      folder + QStringLiteral("/escheme.bml"))) {
            return false;
        }
    }
    if (!saveImage(artwork::splashPicture(), dataFolder + QStringLiteral("/splash.bmp"), "BMP")) {
        return false;
    }

    if (!QDir().mkpath(builtinFolder)) {
        return fail(builtinFolder + QStringLiteral(": cannot create"));
    }
    const QList<QImage> frame = artwork::dialogFrame();
    for (qsizetype i = 0; i < frame.size(); ++i) {
        if (!saveImage(frame[i], builtinFolder + QStringLiteral("/frame_%1.png").arg(i), "PNG")) {
            return false;
        }
    }
    const QList<QImage> buttons = artwork::dialogButtonFaces();
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (!saveImage(buttons[i], builtinFolder + QStringLiteral("/button_%1.png").arg(i),
                       "PNG")) {
            return false;
        }
    }
    return saveBytes(artwork::wrongSound(), builtinFolder + QStringLiteral("/wrong.pcm"));
}

} // namespace

int main(int argc, char** argv) {
    // A build step draws without any display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: quendal_artwork <DATA folder> <built-in folder>\n");
        return 2;
    }
    // Every layout must look the same on every machine: no substitute font.
    const QFontInfo font(artwork::boldFont(20));
    if (font.family() != QStringLiteral("Liberation Sans") || !font.bold()) {
        fail(QStringLiteral("the font Liberation Sans Bold is missing (Debian package "
                            "fonts-liberation2); found \"%1\"")
                 .arg(font.family()));
        return 1;
    }
    return generate(args[1], args[2]) ? 0 : 1;
}
