#pragma once

#include <SDL.h>
#include <espeak-ng/speak_lib.h>
#include <libspeechd.h>

#include <string>

// A library opened with dlopen and kept open until the program ends.
class DynamicLibrary {
public:
    explicit DynamicLibrary(const char* path);
    bool isOpen() const { return m_handle != nullptr; }
    // Looks a function up by name; false (and `to` empty) when it is not there.
    template <typename Function> bool find(Function& to, const char* name) const {
        to = reinterpret_cast<Function>(symbol(name));
        return to != nullptr;
    }
    // Why the library did not open.
    const std::string& error() const { return m_error; }

private:
    void* symbol(const char* name) const;
    void* m_handle;
    std::string m_error;
};

// SDL2 and espeak-ng are opened when first needed instead of being linked to
// the program. Together they bring some thirty libraries along (sound
// servers, codecs, display clients SDL never uses here) whose loading costs
// the start 8 to 10 ms before main() even runs, while nothing of theirs is
// needed before the first screen is shown. Every function the program uses
// is looked up once, when its library is opened.

struct SdlFunctions {
    decltype(&SDL_SetHint) SetHint;
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_QuitSubSystem) QuitSubSystem;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus;
    decltype(&SDL_QueueAudio) QueueAudio;
    decltype(&SDL_GetQueuedAudioSize) GetQueuedAudioSize;
    decltype(&SDL_ClearQueuedAudio) ClearQueuedAudio;
    decltype(&SDL_DequeueAudio) DequeueAudio;
    decltype(&SDL_Delay) Delay;
    decltype(&SDL_GetTicks) GetTicks;
    decltype(&SDL_RWFromConstMem) RWFromConstMem;
    decltype(&SDL_LoadWAV_RW) LoadWAV_RW;
    decltype(&SDL_FreeWAV) FreeWAV;
    decltype(&SDL_NewAudioStream) NewAudioStream;
    decltype(&SDL_AudioStreamPut) AudioStreamPut;
    decltype(&SDL_AudioStreamGet) AudioStreamGet;
    decltype(&SDL_AudioStreamAvailable) AudioStreamAvailable;
    decltype(&SDL_AudioStreamFlush) AudioStreamFlush;
    decltype(&SDL_FreeAudioStream) FreeAudioStream;
};

// SDL2's functions; nullptr when the library, or one of the functions,
// cannot be found (then there is no sound). Safe to call from any thread.
const SdlFunctions* Sdl();

struct EspeakFunctions {
    decltype(&espeak_Initialize) Initialize;
    decltype(&espeak_SetSynthCallback) SetSynthCallback;
    decltype(&espeak_SetVoiceByName) SetVoiceByName;
    decltype(&espeak_ListVoices) ListVoices;
    decltype(&espeak_SetParameter) SetParameter;
    decltype(&espeak_Synth) Synth;
    decltype(&espeak_Terminate) Terminate;
};

// espeak-ng's functions; nullptr when the library, or one of the functions,
// cannot be found (then there is no synthesizer). Safe to call from any thread.
const EspeakFunctions* Espeak();

// speech-dispatcher's client library, opened only when the system's voice is
// asked for (it brings GLib along).
struct SpeechdFunctions {
    decltype(&spd_open2) open2;
    decltype(&spd_close) close;
    decltype(&spd_say) say;
    decltype(&spd_cancel) cancel;
    decltype(&spd_set_data_mode) setDataMode;
    decltype(&spd_set_voice_rate) setVoiceRate;
    decltype(&spd_set_voice_pitch) setVoicePitch;
    decltype(&spd_set_volume) setVolume;
    decltype(&spd_set_language) setLanguage;
    decltype(&spd_list_modules) listModules;
    decltype(&free_spd_modules) freeModules;
    decltype(&spd_set_output_module) setOutputModule;
    decltype(&spd_list_synthesis_voices) listVoices;
    decltype(&free_spd_voices) freeVoices;
    decltype(&spd_set_synthesis_voice) setSynthesisVoice;
    decltype(&spd_set_notification_on) setNotificationOn;
};

// speech-dispatcher's functions; nullptr when its library is not installed.
const SpeechdFunctions* Speechd();
