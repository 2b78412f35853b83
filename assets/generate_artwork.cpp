// Draws the program's artwork at build time.
//   quendal_artwork <DATA folder> <built-in folder> [<icon folder>]
// writes DATA/{640,800,1024}/{haupt,scheme,ehaupt,escheme}.bml and DATA/splash.bmp, the
// built-in frame bitmaps, dialog button faces and wrong-answer sound, the fingerprints of
// the lists and the splash (fingerprints.txt, built in too), and, when an icon
// folder is given, the program's icon as a hicolor theme below it: <size>x<size>/apps/
// NAME.png at the usual sizes and scalable/apps/NAME.svg, NAME being QUENDAL_ICON_NAME.

#include "artwork.h"
#include "toolkit/bitmap_list.h"

#include <QBuffer>
#include <QCryptographicHash>
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

bool saveBytes(const QByteArray& bytes, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return fail(path + QStringLiteral(": cannot write"));
    }
    return true;
}

// Writes a list and notes its fingerprint as "<layout>/<file> <SHA-1>".
bool saveList(const QList<QImage>& images, const QString& folder, const QString& layout,
              const QString& name, QStringList& fingerprints) {
    const QByteArray bytes = quendal::BitmapList(images).toBytes();
    fingerprints << layout + QLatin1Char('/') + name + QLatin1Char(' ') +
                        QString::fromLatin1(
                            QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    return saveBytes(bytes, folder + QLatin1Char('/') + name);
}

bool saveImage(const QImage& image, const QString& path, const char* format) {
    if (!image.save(path, format)) {
        return fail(path + QStringLiteral(": cannot write"));
    }
    return true;
}

bool generateIcons(const QString& iconFolder) {
    const QString name = QStringLiteral(QUENDAL_ICON_NAME);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = iconFolder + QStringLiteral("/%1x%1/apps").arg(size);
        if (!QDir().mkpath(folder)) {
            return fail(folder + QStringLiteral(": cannot create"));
        }
        if (!saveImage(artwork::programIcon(size),
                       folder + QLatin1Char('/') + name + QStringLiteral(".png"), "PNG")) {
            return false;
        }
    }
    const QString scalable = iconFolder + QStringLiteral("/scalable/apps");
    if (!QDir().mkpath(scalable)) {
        return fail(scalable + QStringLiteral(": cannot create"));
    }
    return saveBytes(artwork::programIconSvg(),
                     scalable + QLatin1Char('/') + name + QStringLiteral(".svg"));
}

bool generate(const QString& dataFolder, const QString& builtinFolder) {
    using artwork::Language;
    QStringList fingerprints;
    for (const artwork::Layout& layout : artwork::layouts()) {
        const QString folder = dataFolder + QLatin1Char('/') + layout.folder;
        if (!QDir().mkpath(folder)) {
            return fail(folder + QStringLiteral(": cannot create"));
        }
        if (!saveList(artwork::exercisePictures(layout, Language::German), folder, layout.folder,
                      QStringLiteral("haupt.bml"), fingerprints) ||
            !saveList(artwork::schemePictures(layout, Language::German), folder, layout.folder,
                      QStringLiteral("scheme.bml"), fingerprints) ||
            !saveList(artwork::exercisePictures(layout, Language::English), folder, layout.folder,
                      QStringLiteral("ehaupt.bml"), fingerprints) ||
            !saveList(artwork::schemePictures(layout, Language::English), folder, layout.folder,
                      QStringLiteral("escheme.bml"), fingerprints)) {
            return false;
        }
    }
    QByteArray splash;
    QBuffer splashBuffer(&splash);
    splashBuffer.open(QIODevice::WriteOnly);
    if (!artwork::splashPicture().save(&splashBuffer, "BMP") ||
        !saveBytes(splash, dataFolder + QStringLiteral("/splash.bmp"))) {
        return fail(dataFolder + QStringLiteral("/splash.bmp: cannot write"));
    }
    fingerprints << QStringLiteral("splash.bmp ") +
                        QString::fromLatin1(
                            QCryptographicHash::hash(splash, QCryptographicHash::Sha1).toHex());

    if (!QDir().mkpath(builtinFolder)) {
        return fail(builtinFolder + QStringLiteral(": cannot create"));
    }
    // The program knows its own lists by these, and draws them afresh for a scaled screen.
    if (!saveBytes((fingerprints.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1(),
                   builtinFolder + QStringLiteral("/fingerprints.txt"))) {
        return false;
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
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr,
                     "usage: quendal_artwork <DATA folder> <built-in folder> [<icon folder>]\n");
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
    if (!generate(args[1], args[2])) {
        return 1;
    }
    return args.size() == 3 || generateIcons(args[3]) ? 0 : 1;
}
