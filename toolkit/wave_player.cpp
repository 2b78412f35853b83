#include "toolkit/wave_player.h"

#include "toolkit/sdl_library.h"

namespace quendal {

WavePlayer& WavePlayer::instance() {
    static WavePlayer player;
    return player;
}

WavePlayer::~WavePlayer() {
    close();
}

bool WavePlayer::open() {
    if (device_ != 0) {
        return true;
    }
    if (openFailed_ || sdl() == nullptr) {
        return false;
    }
    // SDL must not take SIGINT and SIGTERM away from the program: they still end it.
    sdl()->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl()->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        openFailed_ = true;
        return false;
    }
    subsystemStarted_ = true;
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16LSB;
    want.channels = 1;
    want.samples = 1024;
    want.callback = nullptr;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to what the device takes.
    device_ = sdl()->OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        // A program without sound tries once and then stays silent without waiting again.
        openFailed_ = true;
        sdl()->QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
        return false;
    }
    return true;
}

bool WavePlayer::play(const QByteArray& samples) {
    if (!open()) {
        return false;
    }
    sdl()->ClearQueuedAudio(device_);
    // Only whole samples go to the device.
    const auto length = static_cast<Uint32>(samples.size() & ~qsizetype{1});
    if (length > 0 && sdl()->QueueAudio(device_, samples.constData(), length) != 0) {
        return false;
    }
    sdl()->PauseAudioDevice(device_, 0);
    return true;
}

void WavePlayer::close() {
    if (device_ != 0) {
        sdl()->CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystemStarted_) {
        sdl()->QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
    }
    openFailed_ = false;
}

} // namespace quendal
