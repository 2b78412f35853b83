#include "assets/builtin_resources.h"

namespace quendal::builtin {

QString framePath(int index) {
    return QStringLiteral(":/builtin/frame_%1.png").arg(index);
}

QString buttonPath(int index) {
    return QStringLiteral(":/builtin/button_%1.png").arg(index);
}

QString wrongSoundPath() {
    return QStringLiteral(":/builtin/wrong.pcm");
}

QString fingerprintsPath() {
    return QStringLiteral(":/builtin/fingerprints.txt");
}

} // namespace quendal::builtin
