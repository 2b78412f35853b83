#pragma once
// The wrong-answer sound's player: raw samples straight to the default audio device.

#include <QByteArray>
#include <cstdint>

namespace quendal {

// Plays raw mono 16-bit little-endian samples at 22050 Hz (the built-in wrong-answer sound)
// on the default SDL audio device, asynchronously: play() queues the samples and returns at
// once. Without an audio device nothing is heard, nothing is reported and nothing waits.
class WavePlayer {
  public:
    // The program's one player; the device is opened on first use and kept.
    static WavePlayer& instance();

    // Opens the device now, so that the first play() starts at once instead of waiting for
    // the audio system (the run screen calls it when it shows). A failed attempt is
    // remembered until close(): a machine without sound is asked once.
    bool open();
    bool isOpen() const { return device_ != 0; }

    // Queues the samples (dropping what is still queued from an earlier call) and starts
    // playback; false when no device could be opened.
    bool play(const QByteArray& samples);
    // Closes the device (tests; the program keeps it open to its end). The next play()
    // tries to open a device again.
    void close();

    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;
    WavePlayer(WavePlayer&&) = delete;
    WavePlayer& operator=(WavePlayer&&) = delete;

  private:
    WavePlayer() = default;

    uint32_t device_ = 0;
    bool subsystemStarted_ = false;
    bool openFailed_ = false;
};

} // namespace quendal
