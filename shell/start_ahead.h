#pragma once
// Work of the start that the main thread does not have to do itself: done on a second
// thread while the main thread shows the splash and makes the main window. Once the
// application object exists it fills Qt's font database (fontconfig's configuration and
// font list, about 4 ms here), which the main window's first texts would otherwise wait
// for. Qt's font database may be used from any thread; a use of it on the main thread
// meanwhile waits for it and does no work twice.

#include <thread>

namespace quendal {

class StartAhead {
  public:
    // Starts the work; the application object must exist.
    StartAhead();
    // Waits for the work to end.
    ~StartAhead();
    StartAhead(const StartAhead&) = delete;
    StartAhead& operator=(const StartAhead&) = delete;

    // Waits for the work to end (once it has ended, at once).
    void wait();

  private:
    std::thread worker_;
};

} // namespace quendal
