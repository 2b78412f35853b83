#include "shell/platform_message.h"

#include "users/texts.h"

#include <QMessageBox>

namespace quendal {
namespace {

PlatformMessageHook& hook() {
    static PlatformMessageHook instance;
    return instance;
}

} // namespace

void setPlatformMessageHook(PlatformMessageHook replacement) {
    hook() = std::move(replacement);
}

void PlatformMessage(const QString& text, PlatformMessageKind kind, const QString& detail) {
    if (hook()) {
        hook()(text, kind, detail);
        return;
    }
    QMessageBox box;
    box.setWindowTitle(QStringLiteral("Quendal"));
    box.setText(texts::forDisplay(text));
    switch (kind) {
    case PlatformMessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case PlatformMessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case PlatformMessageKind::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (!detail.isEmpty()) {
        box.setDetailedText(detail);
    }
    box.setStandardButtons(QMessageBox::Ok);
    // Above the splash and the play field, which stay on top of ordinary windows.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

} // namespace quendal
