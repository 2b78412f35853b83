#include "toolkit/builtin_lists.h"

#include <QFile>
#include <QList>
#include <QString>

namespace quendal {

namespace {

BitmapList loadBuiltin(const QString& stem, int count) {
    QList<QByteArray> pictures;
    pictures.reserve(count);
    for (int i = 0; i < count; ++i) {
        QFile file(QStringLiteral(":/builtin/%1_%2.png").arg(stem).arg(i));
        pictures.append(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return BitmapList::fromPngs(pictures);
}

BitmapList& frameList() {
    static BitmapList list = loadBuiltin(QStringLiteral("frame"), kFrameBitmapCount);
    return list;
}

BitmapList& buttonList() {
    static BitmapList list = loadBuiltin(QStringLiteral("button"), kButtonFaceCount);
    return list;
}

} // namespace

const BitmapList& builtinFrameList() {
    return frameList();
}

const BitmapList& builtinButtonList() {
    return buttonList();
}

void setBuiltinPainters(BitmapList::Painter frame, BitmapList::Painter buttons) {
    frameList().setPainter(std::move(frame));
    buttonList().setPainter(std::move(buttons));
}

} // namespace quendal
