#pragma once
// SDL2, loaded when the joystick or the sound is first wanted rather than with the program:
// it brings the audio and video libraries of the system with it, which a program that has
// not yet asked for either need not load before its first window. No SDL on the system: no
// joystick and no sound, without an error.

#include <SDL2/SDL.h>

namespace quendal {

// The functions of SDL the toolkit calls, by their SDL names.
struct SdlLibrary {
    decltype(&::SDL_SetHint) SetHint;
    decltype(&::SDL_InitSubSystem) InitSubSystem;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem;
    decltype(&::SDL_JoystickEventState) JoystickEventState;
    decltype(&::SDL_JoystickUpdate) JoystickUpdate;
    decltype(&::SDL_NumJoysticks) NumJoysticks;
    decltype(&::SDL_JoystickOpen) JoystickOpen;
    decltype(&::SDL_JoystickClose) JoystickClose;
    decltype(&::SDL_JoystickNumButtons) JoystickNumButtons;
    decltype(&::SDL_JoystickGetButton) JoystickGetButton;
    decltype(&::SDL_JoystickNumAxes) JoystickNumAxes;
    decltype(&::SDL_JoystickGetAxis) JoystickGetAxis;
    decltype(&::SDL_JoystickGetAttached) JoystickGetAttached;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&::SDL_ClearQueuedAudio) ClearQueuedAudio;
    decltype(&::SDL_QueueAudio) QueueAudio;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice;
};

// SDL, loaded on the first call; nullptr when the library or one of its functions is
// missing.
const SdlLibrary* sdl();

} // namespace quendal
