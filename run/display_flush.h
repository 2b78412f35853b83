#pragma once
// Hands what was painted to the display server and waits until the server has taken it, so
// that a picture painted before the call is on the screen when it returns. Does nothing on
// platforms without a display server (the offscreen platform of the tests).

namespace quendal {

void flushToDisplay();

} // namespace quendal
