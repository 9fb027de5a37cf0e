#pragma once

#include "editor/SetupTools.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class IMessages;
class ISymbolChooser;
class KeyRows;
class PreviewPlayer;
class QLineEdit;
class QWidget;
class RecordingSession;

// Everything the settings window offers around its key rows: numbers,
// thumbnails, marks on missing files, dropped files, and, with the tools,
// hearing each sound and text and recording a key's sound into the sounds
// folder; "Cerca simbolo…" on each picture row, whose chosen symbol is
// written into the data folder's immagini as a picture the table draws.
// The window stays in charge of the layout; this only fills boxes.
class KeyTools : public QObject {
    Q_OBJECT
public:
    static constexpr int Rows = 21;
    using Boxes = std::array<QLineEdit*, Rows>;

    // Without tools the rows show numbers, thumbnails, marks and the symbol
    // search only. Without a chooser the search is the program's own window.
    KeyTools(QWidget& window, const QString& programFolder, const Boxes& pictures, const Boxes& sounds,
             const Boxes& texts, IMessages& messages, const std::optional<SetupTools>& tools,
             ISymbolChooser* chooser = nullptr);
    ~KeyTools() override;

    // A recording under way is finished and its path put in its row.
    void finishRecording();
    // A recording under way is thrown away; false when none was.
    bool cancelRecording();
    // Stops whatever is being heard.
    void stopPreview();
    // Waits for the thumbnails asked for so far (for measuring and tests).
    void waitForThumbnails();

signals:
    // Picture files were dropped into the picture rows, or a symbol was chosen for one.
    void picturesDropped();
    // "Sfoglia..." of a picture row, or with `sound` of a sound row.
    void browseClicked(bool sound, int row);

private:
    void recordClicked(int row);
    void searchClicked(int row);
    QString convertDropped(const QString& file);
    void showDropped(int left);

    QWidget& m_window;
    const QString m_programFolder;
    const Boxes m_pictures;
    const Boxes m_sounds;
    const Boxes m_texts;
    IMessages& m_messages;
    std::unique_ptr<class IFilePicker> m_ownPicker;
    std::unique_ptr<ISymbolChooser> m_ownChooser;
    ISymbolChooser* m_chooser;
    KeyRows* m_pictureRows = nullptr;
    KeyRows* m_soundRows = nullptr;
    KeyRows* m_textRows = nullptr;
    PreviewPlayer* m_player = nullptr;
    RecordingSession* m_recording = nullptr;
    int m_recordingRow = -1;
};
