#include "editor/RecordingSession.h"

#include "audio/ICaptureSource.h"
#include "audio/WavWriter.h"
#include "config/DurableFile.h"
#include "config/FileExists.h"
#include "editor/PreviewPlayer.h"
#include "editor/RecordingName.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"

#include <QDir>

#include <cerrno>

namespace {
// Twenty level readings a second move the meter smoothly.
constexpr int PollMs = 50;
} // namespace

RecordingSession::RecordingSession(ICaptureSource& source, QObject* parent)
    : QObject(parent), m_source(source) {
    m_timer.setInterval(PollMs);
    connect(&m_timer, &QTimer::timeout, this, &RecordingSession::poll);
}

RecordingSession::~RecordingSession() {
    cancel();
}

bool RecordingSession::start() {
    cancel();
    const int rate = m_source.start();
    if (rate <= 0) {
        m_source.stop();
        return false;
    }
    m_recorder.emplace(rate);
    m_timer.start();
    return true;
}

void RecordingSession::poll() {
    if (!m_recorder) {
        return;
    }
    std::vector<qint16> samples;
    m_source.read(samples);
    m_recorder->feed(samples);
    emit levelChanged(m_recorder->level());
    if (m_recorder->isFull()) {
        m_timer.stop();
        emit limitReached();
    }
}

RecordingSession::Result RecordingSession::finish(const QString& soundsFolder, const QString& keyText,
                                                  int key) {
    poll();
    m_timer.stop();
    m_source.stop();
    const std::vector<qint16> samples = m_recorder ? m_recorder->trimmed() : std::vector<qint16>();
    const int rate = m_recorder ? m_recorder->sampleRate() : 0;
    m_recorder.reset();
    if (samples.empty()) {
        return {Outcome::Silence, {}, {}};
    }
    const QString folder = ResolveFileCase(soundsFolder);
    const QString path = RecordingFileName(folder, keyText, key);
    if (!QDir().mkpath(folder)) {
        return {Outcome::NotWritten, path, DurableFile::ErrorText(ENOENT)};
    }
    if (const int error = DurableFile::Write(path, EncodeWav16(samples, 1, rate)); error != 0) {
        return {Outcome::NotWritten, path, DurableFile::ErrorText(error)};
    }
    return {Outcome::Saved, path, {}};
}

void RecordingSession::cancel() {
    m_timer.stop();
    if (m_recorder) {
        m_source.stop();
        m_recorder.reset();
    }
}

bool RecordingSession::toggle(PreviewPlayer& player, IMessages& messages,
                              const std::function<void()>& finish) {
    if (isRecording()) {
        finish();
        return false;
    }
    player.stop();
    if (!start()) {
        TellNoMicrophone(messages);
        return false;
    }
    return true;
}

QString RecordingSession::Report(const Result& result, IMessages& messages) {
    switch (result.outcome) {
    case Outcome::Saved:
        return result.path;
    case Outcome::Silence:
        messages.showMessage(
            QStringLiteral("Non è stato registrato alcun suono: controllare che il microfono "
                           "sia collegato e acceso, poi riprovare."),
            MsgIcon::Exclamation, AppInfo::Title);
        return {};
    case Outcome::NotWritten:
        messages.showMessage(QStringLiteral("Impossibile scrivere la registrazione nel file «%1».\r\n%2")
                                 .arg(result.path, result.error),
                             MsgIcon::Exclamation, AppInfo::Title);
        return {};
    }
    return {};
}

void RecordingSession::TellNoMicrophone(IMessages& messages) {
    messages.showMessage(QStringLiteral("Nessun microfono disponibile: non è possibile registrare.\r\n"
                                        "Collegare un microfono e riprovare."),
                         MsgIcon::Exclamation, AppInfo::Title);
}
