#pragma once
// The shell's answer to core's MessageSink: every message of code without a screen goes to
// the program's one message box.

#include "core/message_sink.h"

namespace quendal {

class TMeldungDialog;

class MeldungMessageSink : public MessageSink {
  public:
    explicit MeldungMessageSink(TMeldungDialog& dialog) : dialog_(dialog) {}

    int Show(const std::string& text, const std::string& caption, bool yesNo, bool centred,
             int lines) override;

  private:
    TMeldungDialog& dialog_;
};

} // namespace quendal
