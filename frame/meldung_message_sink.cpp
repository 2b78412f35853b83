#include "frame/meldung_message_sink.h"

#include "frame/meldung_dialog.h"

#include <QString>

namespace quendal {

int MeldungMessageSink::Show(const std::string& text, const std::string& caption, bool yesNo,
                             bool centred, int lines) {
    return dialog_.Meldungsfenster(QString::fromStdString(text), QString::fromStdString(caption),
                                   yesNo, centred, lines);
}

} // namespace quendal
