#pragma once
// Plays raw mono 16-bit little-endian samples at 22050 Hz (the built-in wrong-answer sound)
// on the default SDL audio device, asynchronously: play() queues the samples and returns at
// once. Without an audio device nothing is heard, nothing is reported and nothing waits.

#include <QByteArray>
#include <cstdint>

namespace quendal {

class WavePlayer {
  public:
    // The program's one player; the device is opened on first use and kept.
    static WavePlayer& instance();
    // Queues the samples (dropping what is still queued from an earlier call) and starts
    // playback; false when no device could be opened.
    bool play(const QByteArray& samples);
    // Closes the device (tests; the program keeps it open to its end).
    void close();

    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;
    ~WavePlayer();

  private:
    WavePlayer() = default;
    bool open();

    uint32_t device_ = 0;
    bool tried_ = false;
    bool subsystemStarted_ = false;
};

} // namespace quendal
