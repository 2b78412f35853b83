#include "toolkit/builtin_lists.h"

#include <QImage>
#include <QList>
#include <QString>

namespace quendal {

namespace {

BitmapList loadBuiltin(const QString& stem, int count) {
    QList<QImage> images;
    images.reserve(count);
    for (int i = 0; i < count; ++i) {
        images.append(QImage(QStringLiteral(":/builtin/%1_%2.png").arg(stem).arg(i)));
    }
    return BitmapList(std::move(images));
}

} // namespace

const BitmapList& builtinFrameList() {
    static const BitmapList list = loadBuiltin(QStringLiteral("frame"), kFrameBitmapCount);
    return list;
}

const BitmapList& builtinButtonList() {
    static const BitmapList list = loadBuiltin(QStringLiteral("button"), kButtonFaceCount);
    return list;
}

} // namespace quendal
