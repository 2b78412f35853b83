#pragma once
// How code without a screen tells the user something or asks a yes/no question: the shell
// implements it with the program's framed message box, tests with a recorder.

#include <string>

namespace quendal {

constexpr int kMessageYes = 6; // the "Ja" / "Yes" button
constexpr int kMessageNo = 2;  // "Nein" / "No", "OK" and the close box

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Shows text (UTF-8) under caption in a modal box: the buttons "Ja"/"Nein" ("Yes"/"No")
    // when yesNo, otherwise "OK"; the text centred when centred; a client height of
    // 22 × lines + 132 pixels. Returns kMessageYes or kMessageNo.
    virtual int Show(const std::string& text, const std::string& caption, bool yesNo, bool centred,
                     int lines) = 0;
};

} // namespace quendal
