#include "editor/KeyTools.h"

#include "editor/ISymbolChooser.h"
#include "editor/KeyRows.h"
#include "editor/PicturePlacing.h"
#include "editor/PreviewPlayer.h"
#include "editor/QtFilePicker.h"
#include "editor/RecordingSession.h"
#include "editor/SymbolSearchChooser.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"

#include <QLineEdit>
#include <QWidget>

namespace {
// Texts are told apart from sounds in what the player reports as being heard.
constexpr int TextId = 100;
} // namespace

KeyTools::KeyTools(QWidget& window, const QString& programFolder, const Boxes& pictures, const Boxes& sounds,
                   const Boxes& texts, IMessages& messages, const std::optional<SetupTools>& tools,
                   ISymbolChooser* chooser)
    : QObject(&window), m_window(window), m_programFolder(programFolder), m_pictures(pictures),
      m_sounds(sounds), m_texts(texts), m_messages(messages), m_chooser(chooser) {
    if (m_chooser == nullptr) {
        m_ownPicker = std::make_unique<QtFilePicker>();
        m_ownChooser = std::make_unique<SymbolSearchChooser>(programFolder, messages, *m_ownPicker);
        m_chooser = m_ownChooser.get();
    }
    const bool buttons = tools.has_value();
    m_pictureRows = new KeyRows(KeyRows::Kind::Pictures, pictures, false, this);
    m_pictureRows->setPictureConverter([this](const QString& file) { return convertDropped(file); });
    connect(m_pictureRows, &KeyRows::searchClicked, this, &KeyTools::searchClicked);
    m_soundRows = new KeyRows(KeyRows::Kind::Sounds, sounds, buttons, this);
    m_textRows = new KeyRows(KeyRows::Kind::Texts, texts, buttons, this);
    connect(m_pictureRows, &KeyRows::filesDropped, this, [this](int, int left) {
        emit picturesDropped();
        showDropped(left);
    });
    connect(m_soundRows, &KeyRows::filesDropped, this, [this](int, int left) { showDropped(left); });
    connect(m_pictureRows, &KeyRows::browseClicked, this,
            [this](int row) { emit browseClicked(false, row); });
    connect(m_soundRows, &KeyRows::browseClicked, this, [this](int row) { emit browseClicked(true, row); });
    if (!tools) {
        return;
    }
    m_player = new PreviewPlayer(tools->audio, messages, this);
    m_recording = new RecordingSession(tools->microphone, this);
    connect(m_soundRows, &KeyRows::playClicked, this,
            [this](int row) { m_player->playSound(row, m_sounds[std::size_t(row)]->text()); });
    connect(m_textRows, &KeyRows::speakClicked, this,
            [this](int row) { m_player->speak(TextId + row, m_texts[std::size_t(row)]->text()); });
    connect(m_player, &PreviewPlayer::playingChanged, this, [this](int id) {
        m_soundRows->setPlaying(id < TextId ? id : -1);
        m_textRows->setPlaying(id >= TextId ? id - TextId : -1);
    });
    connect(m_soundRows, &KeyRows::recordClicked, this, &KeyTools::recordClicked);
    connect(m_recording, &RecordingSession::levelChanged, m_soundRows, &KeyRows::setLevel);
    connect(m_recording, &RecordingSession::limitReached, this, &KeyTools::finishRecording);
}

KeyTools::~KeyTools() = default;

void KeyTools::searchClicked(int row) {
    const QString path = PicturePlacing::Search(*m_chooser, &m_window, m_texts[std::size_t(row)]->text(),
                                                m_programFolder, m_messages);
    if (path.isEmpty()) {
        return;
    }
    m_pictures[std::size_t(row)]->setText(path);
    emit picturesDropped();
}

QString KeyTools::convertDropped(const QString& file) {
    return PicturePlacing::ForTable(file, m_programFolder, m_messages);
}

void KeyTools::recordClicked(int row) {
    if (m_recording->toggle(*m_player, m_messages, [this] { finishRecording(); })) {
        m_recordingRow = row;
        m_soundRows->setRecording(row);
    }
}

void KeyTools::finishRecording() {
    if (m_recordingRow < 0) {
        return;
    }
    const int row = m_recordingRow;
    m_recordingRow = -1;
    m_soundRows->setRecording(-1);
    const Result<QString> result = m_recording->finish(m_programFolder + QStringLiteral("/suoni"),
                                                       m_texts[std::size_t(row)]->text(), row + 1);
    const QString path = RecordingSession::Report(result, m_messages);
    if (!path.isEmpty()) {
        m_sounds[std::size_t(row)]->setText(path);
    }
}

bool KeyTools::cancelRecording() {
    if (m_recordingRow < 0) {
        return false;
    }
    m_recordingRow = -1;
    m_soundRows->setRecording(-1);
    m_recording->cancel();
    return true;
}

void KeyTools::stopPreview() {
    if (m_player != nullptr) {
        m_player->stop();
    }
}

void KeyTools::waitForThumbnails() {
    m_pictureRows->waitForThumbnails();
}

void KeyTools::showDropped(int left) {
    if (left > 0) {
        m_messages.showMessage(
            QStringLiteral("%1 file non sono stati inseriti: i tasti sono al massimo 21.").arg(left),
            MsgIcon::Exclamation, AppInfo::Title);
    }
}
