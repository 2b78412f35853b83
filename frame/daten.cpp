#include "frame/daten.h"

#include "assets/builtin_resources.h"
#include "core/folders.h"
#include "core/language.h"
#include "core/main_layout.h"
#include "core/program_state.h"
#include "core/run_layout.h"
#include "frame/texts.h"
#include "toolkit/builtin_lists.h"

#include <QFile>
#include <QPainter>

namespace quendal {
namespace {

TDaten* gDaten = nullptr;

// One list from its file; false with a message naming the file when it is missing, damaged
// or holds fewer pictures than the screens read.
bool loadList(const QString& fileName, int entries, BitmapList& into, QString* error) {
    const QString path = TDaten::bitmapListPath(fileName);
    QString why;
    std::optional<BitmapList> list = BitmapList::load(path, &why);
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

QString TDaten::bitmapListPath(const QString& fileName) {
    const ProgramState& state = programState();
    const std::string relative =
        "DATA/" + resolutionFolder(state.PlayWidth) + fileName.toStdString();
    return QString::fromStdString(resolveNoCase(state.ProgramFolder, relative));
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
    BitmapList haupt;
    BitmapList scheme;
    if (!loadList(QString::fromStdString(files.mainBitmapList), kHauptEntries, haupt, error) ||
        !loadList(QString::fromStdString(files.schemeBitmapList), kSchemeEntries, scheme, error)) {
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

void TDaten::drawTiledFrame(QPainter& canvas, int width, int height, const FrameTiles& tiles) {
    for (const TilePiece& piece : tileEdge(width, tiles.top.width())) {
        canvas.drawImage(QPoint(piece.offset, 0), tiles.top,
                         QRect(0, 0, piece.length, tiles.top.height()));
    }
    for (const TilePiece& piece : tileEdge(width, tiles.bottom.width())) {
        canvas.drawImage(QPoint(piece.offset, height - tiles.bottom.height()), tiles.bottom,
                         QRect(0, 0, piece.length, tiles.bottom.height()));
    }
    for (const TilePiece& piece : tileEdge(height, tiles.left.height())) {
        canvas.drawImage(QPoint(0, piece.offset), tiles.left,
                         QRect(0, 0, tiles.left.width(), piece.length));
    }
    for (const TilePiece& piece : tileEdge(height, tiles.right.height())) {
        canvas.drawImage(QPoint(width - tiles.right.width(), piece.offset), tiles.right,
                         QRect(0, 0, tiles.right.width(), piece.length));
    }
    canvas.drawImage(QPoint(0, 0), tiles.topLeft);
    canvas.drawImage(QPoint(width - tiles.topRight.width(), 0), tiles.topRight);
    canvas.drawImage(QPoint(0, height - tiles.bottomLeft.height()), tiles.bottomLeft);
    canvas.drawImage(QPoint(width - tiles.bottomRight.width(), height - tiles.bottomRight.height()),
                     tiles.bottomRight);
}

TDaten::ScreenBorders TDaten::screenBorders() const {
    const BitmapList& s = SchemeBMPliste;
    return {s.image(screenframe::kLeftEdge).width(), s.image(screenframe::kTopEdge).height(),
            s.image(screenframe::kRightEdge).width(), s.image(screenframe::kBottomEdge).height()};
}

void TDaten::DrawScreenFrame(QPainter& canvas, int width, int height, bool withPlate) const {
    const BitmapList& s = SchemeBMPliste;
    const ScreenBorders border = screenBorders();
    drawTiledFrame(canvas, width, height,
                   {s.image(screenframe::kTopEdge), s.image(screenframe::kBottomEdge),
                    s.image(screenframe::kLeftEdge), s.image(screenframe::kRightEdge),
                    s.image(screenframe::kTopLeft), s.image(screenframe::kTopRight),
                    s.image(screenframe::kBottomLeft), s.image(screenframe::kBottomRight)});
    if (withPlate) {
        const QImage& plate = s.image(screenframe::kPlate);
        const int offset = runScreenGeometry(programState().PlayWidth).plateOffset;
        canvas.drawImage(QPoint((width - plate.width()) / 2, height + offset - border.bottom),
                         plate);
    }
}

} // namespace quendal
