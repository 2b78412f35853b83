#include "toolkit/wave_player.h"

#include <SDL2/SDL.h>

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
    // One attempt per program: a machine without sound never waits on another.
    if (tried_) {
        return false;
    }
    tried_ = true;
    // SDL must not take SIGINT and SIGTERM away from the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    subsystemStarted_ = true;
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16LSB;
    want.channels = 1;
    want.samples = 1024;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
        return false;
    }
    return true;
}

bool WavePlayer::play(const QByteArray& samples) {
    if (samples.isEmpty() || !open()) {
        return false;
    }
    SDL_ClearQueuedAudio(device_);
    if (SDL_QueueAudio(device_, samples.constData(), static_cast<Uint32>(samples.size())) != 0) {
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void WavePlayer::close() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystemStarted_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
    }
    tried_ = false;
}

} // namespace quendal
