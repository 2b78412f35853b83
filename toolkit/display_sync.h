#pragma once
// Waits until the display server has carried out what the program has sent it so far: on X
// one round trip (the server answers requests in order, so its answer comes after it drew
// every frame sent before); elsewhere it returns at once.

namespace quendal {

void waitForDisplay();

} // namespace quendal
