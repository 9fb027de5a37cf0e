#include "editor/KeyTools.h"

#include "editor/ISymbolChooser.h"
#include "editor/KeyRows.h"
#include "editor/PreviewPlayer.h"
#include "editor/QtFilePicker.h"
#include "editor/RecordingSession.h"
#include "editor/SymbolSearchChooser.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "symbols/SymbolPicture.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

namespace {
// Texts are told apart from sounds in what the player reports as being heard.
constexpr int TextId = 100;

// The table fills the screen the program starts on.
int PictureSide() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return SymbolPicture::SideFor(screen != nullptr ? screen->size() : QSize(1280, 1024));
}
} // namespace

KeyTools::KeyTools(QWidget& window, const QString& programFolder, const Boxes& pictures, const Boxes& sounds,
                   const Boxes& texts, IMessages& messages, const std::optional<SetupTools>& tools,
                   ISymbolChooser* chooser)
    : QObject(&window), m_window(window), m_programFolder(programFolder), m_pictures(pictures),
      m_sounds(sounds), m_texts(texts), m_messages(messages), m_chooser(chooser),
      m_pictureSide(PictureSide()) {
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

std::optional<KeyTools::MissingFile> KeyTools::firstMissing(int keys, bool sounds) const {
    for (int row = 0; row < std::min(keys, Rows); ++row) {
        if (m_pictureRows->isMissing(row)) {
            return MissingFile{row + 1, m_pictures[std::size_t(row)]->text()};
        }
        if (sounds && m_soundRows->isMissing(row)) {
            return MissingFile{row + 1, m_sounds[std::size_t(row)]->text()};
        }
    }
    return std::nullopt;
}

void KeyTools::searchClicked(int row) {
    // The key's text, when it has one, is what the family looks for first.
    const std::optional<Symbol> symbol =
        m_chooser->choose(&m_window, m_texts[std::size_t(row)]->text().trimmed());
    if (!symbol) {
        return;
    }
    const SymbolPicture::Placed placed =
        SymbolPicture::Place(*symbol, m_programFolder + QStringLiteral("/immagini"), m_pictureSide);
    if (placed.path.isEmpty()) {
        m_messages.showMessage(placed.error, MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    m_pictures[std::size_t(row)]->setText(placed.path);
    emit picturesDropped();
}

QString KeyTools::convertDropped(const QString& file) {
    // PNG and SVG become BMP; the other kinds are taken as they are, as the picker takes them.
    const QString suffix = QFileInfo(file).suffix().toLower();
    if ((suffix != QLatin1String("png") && suffix != QLatin1String("svg")) ||
        SymbolPicture::TableDraws(file)) {
        return file;
    }
    Symbol symbol;
    symbol.origin = Symbol::Origin::Folder;
    symbol.label = QFileInfo(file).completeBaseName();
    symbol.file = file;
    symbol.key = file;
    const SymbolPicture::Placed placed =
        SymbolPicture::Place(symbol, m_programFolder + QStringLiteral("/immagini"), m_pictureSide);
    if (placed.path.isEmpty()) {
        m_messages.showMessage(QStringLiteral("«%1»: %2").arg(file, placed.error), MsgIcon::Exclamation,
                               AppInfo::Title);
    }
    return placed.path;
}

void KeyTools::recordClicked(int row) {
    if (m_recording->isRecording()) {
        finishRecording();
        return;
    }
    m_player->stop();
    if (!m_recording->start()) {
        m_messages.showMessage(QStringLiteral("Nessun microfono disponibile: non è possibile registrare.\r\n"
                                              "Collegare un microfono e riprovare."),
                               MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    m_recordingRow = row;
    m_soundRows->setRecording(row);
}

void KeyTools::finishRecording() {
    if (m_recordingRow < 0) {
        return;
    }
    const int row = m_recordingRow;
    m_recordingRow = -1;
    m_soundRows->setRecording(-1);
    const RecordingSession::Result result = m_recording->finish(m_programFolder + QStringLiteral("/suoni"),
                                                                m_texts[std::size_t(row)]->text(), row + 1);
    switch (result.outcome) {
    case RecordingSession::Outcome::Saved:
        m_sounds[std::size_t(row)]->setText(result.path);
        return;
    case RecordingSession::Outcome::Silence:
        m_messages.showMessage(
            QStringLiteral("Non è stato registrato alcun suono: controllare che il microfono "
                           "sia collegato e acceso, poi riprovare."),
            MsgIcon::Exclamation, AppInfo::Title);
        return;
    case RecordingSession::Outcome::NotWritten:
        m_messages.showMessage(QStringLiteral("Impossibile scrivere la registrazione nel file «%1».\r\n%2")
                                   .arg(result.path, result.error),
                               MsgIcon::Exclamation, AppInfo::Title);
        return;
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
