#include "users/login.h"

#include "core/user_files.h"
#include "users/text_eingabe_dialog.h"

namespace quendal {

bool LoginByTag(int tag, bool rename, TTextEingabeDialog& dialog) {
    if (tag < 1 || tag > kTagCount) {
        return false;
    }
    const LoginStart start = beginLogin(tag, rename);
    if (start.needsName) {
        if (dialog.exec() != TOwnFenster::ResultOk) {
            cancelLogin(start);
            return false;
        }
        // The dialog's text is trimmed already; the first 50 characters are kept.
        acceptLoginName(dialog.text().toStdString());
    }
    return true;
}

} // namespace quendal
