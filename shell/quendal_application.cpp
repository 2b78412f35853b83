#include "shell/quendal_application.h"

#include <QEvent>
#include <QMetaEnum>
#include <cstdio>
#include <exception>
#include <utility>

namespace quendal {
namespace {

// One line: what was being handled and why it failed. The receiver is named by what was
// read before the handler ran, since the handler may have destroyed it.
void reportDropped(const char* receiverClass, int eventType, const char* why) {
    // Written without allocating, so that a lack of memory cannot fail the report itself.
    const char* eventName = QMetaEnum::fromType<QEvent::Type>().valueToKey(eventType);
    if (eventName != nullptr) {
        std::fprintf(stderr, "Quendal: dropped an error from the handling of %s by %s: ", eventName,
                     receiverClass);
    } else {
        std::fprintf(stderr,
                     "Quendal: dropped an error from the handling of event %d by %s: ", eventType,
                     receiverClass);
    }
    for (const char* c = why; *c != '\0'; ++c) {
        std::fputc(*c == '\n' || *c == '\r' ? ' ' : *c, stderr);
    }
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

// The events by which a user acts: the first one of a key or a mouse button, before any
// release, move or repetition that belongs to it.
bool startsUserAction(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

QuendalApplication::QuendalApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setObjectName(QStringLiteral("ApplicationCtrl"));
}

bool QuendalApplication::notify(QObject* receiver, QEvent* event) {
    const char* receiverClass =
        receiver != nullptr ? receiver->metaObject()->className() : "nothing";
    const int eventType = event != nullptr ? static_cast<int>(event->type()) : 0;
    try {
        if (deferred_ && event != nullptr && startsUserAction(event->type())) {
            finishStart();
        }
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportDropped(receiverClass, eventType, error.what());
    } catch (...) {
        reportDropped(receiverClass, eventType, "an error of unknown kind");
    }
    return false;
}

void QuendalApplication::deferStart(std::function<void()> work) {
    deferred_ = std::move(work);
}

void QuendalApplication::finishStart() {
    if (deferred_) {
        // Taken first: what it makes may handle events of its own.
        const std::function<void()> work = std::exchange(deferred_, nullptr);
        work();
    }
}

} // namespace quendal
