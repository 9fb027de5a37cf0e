#include "editor/RecordingSession.h"

#include "audio/ICaptureSource.h"
#include "audio/WavWriter.h"
#include "config/DurableFile.h"
#include "config/FileExists.h"
#include "editor/PreviewPlayer.h"
#include "editor/RecordingName.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "platform/Log.h"

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

Result<QString> RecordingSession::finish(const QString& soundsFolder, const QString& keyText, int key) {
    poll();
    m_timer.stop();
    m_source.stop();
    const std::vector<qint16> samples = m_recorder ? m_recorder->trimmed() : std::vector<qint16>();
    const int rate = m_recorder ? m_recorder->sampleRate() : 0;
    m_recorder.reset();
    if (samples.empty()) {
        return QString();
    }
    const QString folder = ResolveFileCase(soundsFolder);
    const QString path = RecordingFileName(folder, keyText, key);
    const auto notWritten = [&path](int error, const QString& detail) {
        return Outcome::Failed(QStringLiteral("Impossibile scrivere la registrazione nel file «%1».\r\n%2")
                                   .arg(path, DurableFile::ErrorText(error)),
                               detail);
    };
    if (!QDir().mkpath(folder)) {
        return notWritten(ENOENT, folder + QStringLiteral(": cannot make the folder"));
    }
    if (const int error = DurableFile::Write(path, EncodeWav16(samples, 1, rate)); error != 0) {
        return notWritten(error, DurableFile::Detail(path, error));
    }
    return path;
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

QString RecordingSession::Report(const Result<QString>& finished, IMessages& messages) {
    if (!finished) {
        Log::Failure(lcAudio, finished.failure());
        messages.showMessage(finished.failure().message(), MsgIcon::Exclamation, AppInfo::Title);
        return {};
    }
    if (finished->isEmpty()) {
        messages.showMessage(
            QStringLiteral("Non è stato registrato alcun suono: controllare che il microfono "
                           "sia collegato e acceso, poi riprovare."),
            MsgIcon::Exclamation, AppInfo::Title);
    }
    return *finished;
}

void RecordingSession::TellNoMicrophone(IMessages& messages) {
    messages.showMessage(QStringLiteral("Nessun microfono disponibile: non è possibile registrare.\r\n"
                                        "Collegare un microfono e riprovare."),
                         MsgIcon::Exclamation, AppInfo::Title);
}
