#pragma once
// A keyboard of the X server through XTest, on a connection of its own, with Xlib kept out of
// the tests' headers.

class XTestKeyboard {
  public:
    XTestKeyboard();
    ~XTestKeyboard();
    XTestKeyboard(const XTestKeyboard&) = delete;
    XTestKeyboard& operator=(const XTestKeyboard&) = delete;

    bool open() const { return display_ != nullptr; }
    // A press and release of the right arrow, handled by the server when this returns.
    void pressRight();

  private:
    void* display_; // the Display of Xlib
};
