#pragma once
// The platform's standard message box, which the start-up and the display messages use
// (colour depth, play-field size, bitmap lists, lost full screen, start-up failures). Tests
// replace it with a recorder, since a modal box would wait for a user.

#include <QString>
#include <functional>

namespace quendal {

enum class PlatformMessageKind { Information, Warning, Critical };

// Shows text (its carriage returns as line breaks) under the title "Quendal", modally, and
// returns when the user closed it. detail, when not empty, goes into the box's details.
void PlatformMessage(const QString& text,
                     PlatformMessageKind kind = PlatformMessageKind::Information,
                     const QString& detail = {});

using PlatformMessageHook =
    std::function<void(const QString& text, PlatformMessageKind kind, const QString& detail)>;
// Routes every platform message to hook instead of a box; an empty hook restores the box.
void setPlatformMessageHook(PlatformMessageHook hook);

} // namespace quendal
