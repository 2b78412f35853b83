#include "frame/texts.h"

#include "core/program_state.h"

namespace quendal::texts {

QString pick(const TextPair& pair, int uiLanguage) {
    return QString::fromUtf8(uiLanguage == 2 ? pair.english : pair.german);
}

QString pick(const TextPair& pair) {
    return pick(pair, programState().UiLanguage);
}

QString forDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace quendal::texts
