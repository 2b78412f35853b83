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

TDaten::ScreenBorders TDaten::screenBorders() const {
    const BitmapList& s = SchemeBMPliste;
    return {s.image(screenframe::kLeftEdge).width(), s.image(screenframe::kTopEdge).height(),
            s.image(screenframe::kRightEdge).width(), s.image(screenframe::kBottomEdge).height()};
}

void TDaten::DrawScreenFrame(QPainter& canvas, int width, int height, bool withPlate) const {
    const BitmapList& s = SchemeBMPliste;
    const ScreenBorders border = screenBorders();
    const auto across = [&](const QImage& tile, int y) {
        for (const TilePiece& piece : tileEdge(width, tile.width())) {
            canvas.drawImage(QPoint(piece.offset, y), tile,
                             QRect(0, 0, piece.length, tile.height()));
        }
    };
    const auto down = [&](const QImage& tile, int x) {
        for (const TilePiece& piece : tileEdge(height, tile.height())) {
            canvas.drawImage(QPoint(x, piece.offset), tile,
                             QRect(0, 0, tile.width(), piece.length));
        }
    };
    across(s.image(screenframe::kTopEdge), 0);
    across(s.image(screenframe::kBottomEdge), height - border.bottom);
    down(s.image(screenframe::kLeftEdge), 0);
    down(s.image(screenframe::kRightEdge), width - border.right);
    const QImage& topRight = s.image(screenframe::kTopRight);
    const QImage& bottomLeft = s.image(screenframe::kBottomLeft);
    const QImage& bottomRight = s.image(screenframe::kBottomRight);
    canvas.drawImage(QPoint(0, 0), s.image(screenframe::kTopLeft));
    canvas.drawImage(QPoint(width - topRight.width(), 0), topRight);
    canvas.drawImage(QPoint(0, height - bottomLeft.height()), bottomLeft);
    canvas.drawImage(QPoint(width - bottomRight.width(), height - bottomRight.height()),
                     bottomRight);
    if (withPlate) {
        const QImage& plate = s.image(screenframe::kPlate);
        const int offset = runScreenGeometry(programState().PlayWidth).plateOffset;
        canvas.drawImage(QPoint((width - plate.width()) / 2, height + offset - border.bottom),
                         plate);
    }
}

} // namespace quendal
