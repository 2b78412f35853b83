#include "frame/daten.h"

#include "assets/artwork.h"
#include "assets/builtin_resources.h"
#include "core/folders.h"
#include "core/language.h"
#include "core/main_layout.h"
#include "core/program_state.h"
#include "core/run_layout.h"
#include "frame/texts.h"
#include "toolkit/builtin_lists.h"
#include "toolkit/device_pixels.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <memory>
#include <optional>

namespace quendal {
namespace {

TDaten* gDaten = nullptr;

// The fingerprints of the files the build drew, by "<layout>/<file>".
const QHash<QString, QByteArray>& knownFiles() {
    static const QHash<QString, QByteArray> known = [] {
        QHash<QString, QByteArray> lines;
        QFile file(builtin::fingerprintsPath());
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                const qsizetype blank = line.indexOf(' ');
                if (blank > 0) {
                    lines.insert(QString::fromLatin1(line.left(blank)), line.mid(blank + 1));
                }
            }
        }
        return lines;
    }();
    return known;
}

// The list drawn by the artwork for this play field, if the program has one.
const artwork::Layout* artworkLayout(const std::string& folder) {
    for (const artwork::Layout& layout : artwork::layouts()) {
        if (layout.folder.toStdString() + "/" == folder) {
            return &layout;
        }
    }
    return nullptr;
}

// Draws the pictures of one of the program's own lists afresh; the art is made when first
// asked for, which on an unscaled screen is never.
template <typename Art>
BitmapList::Painter painterOf(const artwork::Layout& layout, artwork::Language language) {
    auto art = std::make_shared<std::optional<Art>>();
    return [art, &layout, language](int index, double ratio) {
        if (!*art) {
            art->emplace(layout, language);
        }
        return (*art)->picture(index, ratio);
    };
}

TDaten::ListSource& listSource() {
    static TDaten::ListSource source;
    return source;
}

// One list from its file (or as read ahead); false with a message naming the file when it is
// missing, damaged or holds fewer pictures than the screens read. A file the build drew (its
// fingerprint says so) is known to be whole: its pictures are decoded when first shown, and
// drawn afresh for a scaled screen by `painter`. Any other file has every picture checked.
bool loadList(const QString& fileName, int entries, BitmapList::Painter painter, BitmapList& into,
              QString* error) {
    const QString path = TDaten::bitmapListPath(fileName);
    std::optional<TDaten::ListRead> read;
    if (listSource()) {
        read = listSource()(path);
    }
    if (!read) {
        read = TDaten::readList(
            path, QString::fromStdString(resolutionFolder(programState().PlayWidth)) + fileName);
    }
    std::optional<BitmapList>& list = read->list;
    QString why = read->why;
    if (list && read->ours && painter) {
        list->setPainter(std::move(painter));
    }
    if (list && list->count() < entries) {
        why = QStringLiteral("%1 pictures instead of at least %2").arg(list->count()).arg(entries);
        list.reset();
    }
    if (!list) {
        if (error != nullptr) {
            *error = path + QStringLiteral(": ") + why;
        }
        return false;
    }
    into = std::move(*list);
    return true;
}

} // namespace

TDaten::TDaten(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("Daten"));
    QFile sound(builtin::wrongSoundPath());
    if (sound.open(QIODevice::ReadOnly)) {
        WaveFalsch = sound.readAll();
    }
    gDaten = this;
    // The dialog frames and buttons, too, are drawn afresh for a scaled screen.
    setBuiltinPainters(
        [](int index, double ratio) { return artwork::dialogFramePiece(index, ratio); },
        [](int index, double ratio) { return artwork::dialogButtonFace(index, ratio); });
    connectJoystick();
}

TDaten::~TDaten() {
    if (gDaten == this) {
        gDaten = nullptr;
    }
}

TDaten* Daten() {
    return gDaten;
}

bool TDaten::FormCreate(QString* error) {
    return LoadBitmapLists(error);
}

bool TDaten::drawnByTheBuild(const QString& name, const QByteArray& bytes) {
    const auto known = knownFiles().constFind(name);
    return known != knownFiles().constEnd() &&
           QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex() == *known;
}

QString TDaten::bitmapListPath(const QString& fileName) {
    const ProgramState& state = programState();
    return bitmapListPathIn(state.ProgramFolder, state.PlayWidth, fileName);
}

QString TDaten::bitmapListPathIn(const std::string& programFolder, int playWidth,
                                 const QString& fileName) {
    const std::string relative = "DATA/" + resolutionFolder(playWidth) + fileName.toStdString();
    return QString::fromStdString(resolveNoCase(programFolder, relative));
}

TDaten::ListRead TDaten::readList(const QString& path, const QString& key,
                                  const std::vector<int>& ahead) {
    ListRead read;
    read.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.why = file.errorString();
        return read;
    }
    const QByteArray bytes = file.readAll();
    // Only a list the program can also draw counts as its own.
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    const bool drawable = slash > 0 && artworkLayout(key.left(slash + 1).toStdString()) != nullptr;
    read.ours = drawable && drawnByTheBuild(key, bytes);
    read.list = BitmapList::fromBytes(bytes, &read.why,
                                      read.ours ? BitmapList::Check::Structure
                                                : BitmapList::Check::EveryPicture);
    if (read.list && read.ours) {
        read.list->decodeAhead(ahead);
    }
    return read;
}

void TDaten::setListSource(ListSource source) {
    listSource() = std::move(source);
}

bool TDaten::LoadBitmapLists(QString* error) {
    HauptBMListe = BitmapList();
    SchemeBMPliste = BitmapList();
    const int language = programState().UiLanguage;
    if (language != 1 && language != 2) {
        if (error != nullptr) {
            *error = QStringLiteral("no bitmap lists for interface language %1").arg(language);
        }
        return false;
    }
    if (programState().ProgramFolder.empty()) {
        // Never look for the pictures relative to whatever the working folder is.
        if (error != nullptr) {
            *error = QStringLiteral("the program folder is not known");
        }
        return false;
    }
    const LanguageFiles files = languageFiles(language);
    const artwork::Language drawn =
        language == 1 ? artwork::Language::German : artwork::Language::English;
    const artwork::Layout* layout = artworkLayout(resolutionFolder(programState().PlayWidth));
    BitmapList haupt;
    BitmapList scheme;
    if (!loadList(QString::fromStdString(files.mainBitmapList), kHauptEntries,
                  layout != nullptr ? painterOf<artwork::ExerciseArt>(*layout, drawn)
                                    : BitmapList::Painter(),
                  haupt, error) ||
        !loadList(QString::fromStdString(files.schemeBitmapList), kSchemeEntries,
                  layout != nullptr ? painterOf<artwork::SchemeArt>(*layout, drawn)
                                    : BitmapList::Painter(),
                  scheme, error)) {
        return false;
    }
    HauptBMListe = std::move(haupt);
    SchemeBMPliste = std::move(scheme);
    return true;
}

QString TDaten::loadFailureMessage() {
    return texts::pick(texts::startup::bitmapListsFailed);
}

const BitmapList& TDaten::ButtonList() const {
    return builtinButtonList();
}

void TDaten::drawTiledFrame(QPainter& canvas, int width, int height, const BitmapList& list,
                            const FramePieces& pieces) {
    const double ratio = canvas.device() != nullptr ? canvas.device()->devicePixelRatio() : 1.0;
    const auto size = [&](int entry) { return list.size(entry); };
    const auto picture = [&](int entry) { return list.pixmap(entry, ratio); };
    const int top = size(pieces.top).height();
    const int bottom = size(pieces.bottom).height();
    const int left = size(pieces.left).width();
    const int right = size(pieces.right).width();
    tilePicture(canvas, QRectF(0, 0, width, top), picture(pieces.top));
    tilePicture(canvas, QRectF(0, height - bottom, width, bottom), picture(pieces.bottom));
    tilePicture(canvas, QRectF(0, 0, left, height), picture(pieces.left));
    tilePicture(canvas, QRectF(width - right, 0, right, height), picture(pieces.right));
    paintPicture(canvas, QPointF(0, 0), picture(pieces.topLeft));
    paintPicture(canvas, QPointF(width - size(pieces.topRight).width(), 0),
                 picture(pieces.topRight));
    paintPicture(canvas, QPointF(0, height - size(pieces.bottomLeft).height()),
                 picture(pieces.bottomLeft));
    paintPicture(canvas,
                 QPointF(width - size(pieces.bottomRight).width(),
                         height - size(pieces.bottomRight).height()),
                 picture(pieces.bottomRight));
}

void TDaten::DrawMainFrame(QPainter& canvas, int width, int height) const {
    drawTiledFrame(canvas, width, height, SchemeBMPliste,
                   {scheme::kTopEdge, scheme::kBottomEdge, scheme::kLeftEdge, scheme::kRightEdge,
                    scheme::kTopLeft, scheme::kTopRight, scheme::kBottomLeft,
                    scheme::kBottomRight});
}

TDaten::ScreenBorders TDaten::screenBorders() const {
    const BitmapList& s = SchemeBMPliste;
    return {s.size(screenframe::kLeftEdge).width(), s.size(screenframe::kTopEdge).height(),
            s.size(screenframe::kRightEdge).width(), s.size(screenframe::kBottomEdge).height()};
}

void TDaten::DrawScreenFrame(QPainter& canvas, int width, int height, bool withPlate) const {
    const BitmapList& s = SchemeBMPliste;
    const ScreenBorders border = screenBorders();
    drawTiledFrame(canvas, width, height, s,
                   {screenframe::kTopEdge, screenframe::kBottomEdge, screenframe::kLeftEdge,
                    screenframe::kRightEdge, screenframe::kTopLeft, screenframe::kTopRight,
                    screenframe::kBottomLeft, screenframe::kBottomRight});
    if (withPlate) {
        const QSize plate = s.size(screenframe::kPlate);
        const int offset = runScreenGeometry(programState().PlayWidth).plateOffset;
        const double ratio = canvas.device() != nullptr ? canvas.device()->devicePixelRatio() : 1.0;
        paintPicture(canvas, QPoint((width - plate.width()) / 2, height + offset - border.bottom),
                     s.pixmap(screenframe::kPlate, ratio));
    }
}

} // namespace quendal
