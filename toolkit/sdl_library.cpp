#include "toolkit/sdl_library.h"

#include <dlfcn.h>

namespace quendal {
namespace {

template <typename Function> bool resolve(void* library, const char* name, Function& into) {
    into = reinterpret_cast<Function>(dlsym(library, name));
    return into != nullptr;
}

const SdlLibrary* load() {
    // The library's run-time name, as the program would have been linked against it.
    void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return nullptr;
    }
    static SdlLibrary api{};
    const bool complete = resolve(library, "SDL_SetHint", api.SetHint) &&
                          resolve(library, "SDL_InitSubSystem", api.InitSubSystem) &&
                          resolve(library, "SDL_QuitSubSystem", api.QuitSubSystem) &&
                          resolve(library, "SDL_JoystickEventState", api.JoystickEventState) &&
                          resolve(library, "SDL_JoystickUpdate", api.JoystickUpdate) &&
                          resolve(library, "SDL_NumJoysticks", api.NumJoysticks) &&
                          resolve(library, "SDL_JoystickOpen", api.JoystickOpen) &&
                          resolve(library, "SDL_JoystickClose", api.JoystickClose) &&
                          resolve(library, "SDL_JoystickNumButtons", api.JoystickNumButtons) &&
                          resolve(library, "SDL_JoystickGetButton", api.JoystickGetButton) &&
                          resolve(library, "SDL_JoystickNumAxes", api.JoystickNumAxes) &&
                          resolve(library, "SDL_JoystickGetAxis", api.JoystickGetAxis) &&
                          resolve(library, "SDL_JoystickGetAttached", api.JoystickGetAttached) &&
                          resolve(library, "SDL_OpenAudioDevice", api.OpenAudioDevice) &&
                          resolve(library, "SDL_CloseAudioDevice", api.CloseAudioDevice) &&
                          resolve(library, "SDL_ClearQueuedAudio", api.ClearQueuedAudio) &&
                          resolve(library, "SDL_QueueAudio", api.QueueAudio) &&
                          resolve(library, "SDL_PauseAudioDevice", api.PauseAudioDevice);
    // The library stays loaded for the program's life: SDL keeps threads and state.
    return complete ? &api : nullptr;
}

} // namespace

const SdlLibrary* sdl() {
    static const SdlLibrary* const loaded = load();
    return loaded;
}

} // namespace quendal
