#include "audio/AudioLibraries.h"

#include <dlfcn.h>

#include <optional>

DynamicLibrary::DynamicLibrary(const char* path) : m_handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
    if (m_handle == nullptr) {
        const char* error = dlerror();
        m_error = error != nullptr ? error : "";
    }
}

void* DynamicLibrary::symbol(const char* name) const {
    return m_handle != nullptr ? dlsym(m_handle, name) : nullptr;
}

namespace {
// Every function of a table is looked up in the order the table lists it;
// the table is empty when the library or any function is missing.
using Library = DynamicLibrary;

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
std::optional<SpeechdFunctions> OpenSpeechd() {
    Library lib("libspeechd.so.2");
    SpeechdFunctions f{};
    const bool found =
        lib.isOpen() && lib.find(f.open2, "spd_open2") && lib.find(f.close, "spd_close") &&
        lib.find(f.say, "spd_say") && lib.find(f.cancel, "spd_cancel") &&
        lib.find(f.setDataMode, "spd_set_data_mode") && lib.find(f.setVoiceRate, "spd_set_voice_rate") &&
        lib.find(f.setVoicePitch, "spd_set_voice_pitch") && lib.find(f.setVolume, "spd_set_volume") &&
        lib.find(f.setLanguage, "spd_set_language") && lib.find(f.listModules, "spd_list_modules") &&
        lib.find(f.freeModules, "free_spd_modules") && lib.find(f.setOutputModule, "spd_set_output_module") &&
        lib.find(f.listVoices, "spd_list_synthesis_voices") && lib.find(f.freeVoices, "free_spd_voices") &&
        lib.find(f.setSynthesisVoice, "spd_set_synthesis_voice") &&
        lib.find(f.setNotificationOn, "spd_set_notification_on");
    return found ? std::optional(f) : std::nullopt;
}
} // namespace

const SpeechdFunctions* Speechd() {
    static const std::optional<SpeechdFunctions> functions = OpenSpeechd();
    return functions ? &*functions : nullptr;
}

const SdlFunctions* Sdl() {
    static const std::optional<SdlFunctions> functions = OpenSdl();
    return functions ? &*functions : nullptr;
}

const EspeakFunctions* Espeak() {
    static const std::optional<EspeakFunctions> functions = OpenEspeak();
    return functions ? &*functions : nullptr;
}
