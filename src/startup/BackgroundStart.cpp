#include "startup/BackgroundStart.h"

#include "audio/EspeakEngine.h"
#include "audio/cVoce.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

BackgroundStart::BackgroundStart(const QString& voiceAttributes) {
    try {
        m_fonts = std::jthread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to be had: fontconfig starts when the first text is drawn.
    }
    cVoce::PrepareInBackground(voiceAttributes);
}

BackgroundStart::~BackgroundStart() {
    EspeakEngine::waitForBackgroundStart();
}
