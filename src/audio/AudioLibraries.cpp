#include "audio/AudioLibraries.h"

#include <dlfcn.h>

#include <optional>

namespace {
// Looks up every function of a table in the library, in the order the
// table lists them; empty when the library or any function is missing. The
// library stays open until the program ends.
class Library {
public:
    explicit Library(const char* soname) : m_handle(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}

    bool isOpen() const { return m_handle != nullptr; }

    template <typename Function> bool find(Function& to, const char* name) {
        void* address = m_handle != nullptr ? dlsym(m_handle, name) : nullptr;
        to = reinterpret_cast<Function>(address);
        return address != nullptr;
    }

private:
    void* m_handle;
};

std::optional<SdlFunctions> OpenSdl() {
    Library lib("libSDL2-2.0.so.0");
    SdlFunctions f{};
    const bool found =
        lib.isOpen() && lib.find(f.SetHint, "SDL_SetHint") &&
        lib.find(f.InitSubSystem, "SDL_InitSubSystem") && lib.find(f.QuitSubSystem, "SDL_QuitSubSystem") &&
        lib.find(f.OpenAudioDevice, "SDL_OpenAudioDevice") &&
        lib.find(f.CloseAudioDevice, "SDL_CloseAudioDevice") &&
        lib.find(f.PauseAudioDevice, "SDL_PauseAudioDevice") &&
        lib.find(f.GetAudioDeviceStatus, "SDL_GetAudioDeviceStatus") &&
        lib.find(f.QueueAudio, "SDL_QueueAudio") &&
        lib.find(f.GetQueuedAudioSize, "SDL_GetQueuedAudioSize") &&
        lib.find(f.ClearQueuedAudio, "SDL_ClearQueuedAudio") &&
        lib.find(f.DequeueAudio, "SDL_DequeueAudio") && lib.find(f.Delay, "SDL_Delay") &&
        lib.find(f.GetTicks, "SDL_GetTicks") && lib.find(f.RWFromConstMem, "SDL_RWFromConstMem") &&
        lib.find(f.LoadWAV_RW, "SDL_LoadWAV_RW") && lib.find(f.FreeWAV, "SDL_FreeWAV") &&
        lib.find(f.NewAudioStream, "SDL_NewAudioStream") &&
        lib.find(f.AudioStreamPut, "SDL_AudioStreamPut") &&
        lib.find(f.AudioStreamGet, "SDL_AudioStreamGet") &&
        lib.find(f.AudioStreamAvailable, "SDL_AudioStreamAvailable") &&
        lib.find(f.AudioStreamFlush, "SDL_AudioStreamFlush") &&
        lib.find(f.FreeAudioStream, "SDL_FreeAudioStream");
    return found ? std::optional(f) : std::nullopt;
}

std::optional<EspeakFunctions> OpenEspeak() {
    Library lib("libespeak-ng.so.1");
    EspeakFunctions f{};
    const bool found = lib.isOpen() && lib.find(f.Initialize, "espeak_Initialize") &&
                       lib.find(f.SetSynthCallback, "espeak_SetSynthCallback") &&
                       lib.find(f.SetVoiceByName, "espeak_SetVoiceByName") &&
                       lib.find(f.ListVoices, "espeak_ListVoices") &&
                       lib.find(f.SetParameter, "espeak_SetParameter") && lib.find(f.Synth, "espeak_Synth") &&
                       lib.find(f.Terminate, "espeak_Terminate");
    return found ? std::optional(f) : std::nullopt;
}
} // namespace

const SdlFunctions* Sdl() {
    static const std::optional<SdlFunctions> functions = OpenSdl();
    return functions ? &*functions : nullptr;
}

const EspeakFunctions* Espeak() {
    static const std::optional<EspeakFunctions> functions = OpenEspeak();
    return functions ? &*functions : nullptr;
}
