#pragma once

#include "editor/BoardEdit.h"
#include "editor/SetupTools.h"

#include <QDialog>

#include <optional>

class IFilePicker;
class IMessages;
class ISymbolChooser;
class LinkChoice;
class PreviewPlayer;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordingSession;

// The board editor's small editor of one key: its picture (from a file, a
// dropped file or "Cerca simbolo…"), its words, its sound (picked, recorded
// and heard with the settings window's own tools) and what it opens.
class KeyEditDialog : public QDialog {
    Q_OBJECT
public:
    KeyEditDialog(int key, const BoardEdit::Key& values, const QString& programFolder, IFilePicker& picker,
                  IMessages& messages, const std::optional<SetupTools>& tools, ISymbolChooser& chooser,
                  QWidget* parent = nullptr);
    ~KeyEditDialog() override;

    BoardEdit::Key values() const;

public slots:
    void accept() override;
    void reject() override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void record();
    void finishRecording();

    const int m_key;
    const QString m_programFolder;
    IFilePicker& m_picker;
    IMessages& m_messages;
    QLineEdit* m_picture = nullptr;
    QLineEdit* m_words = nullptr;
    QLineEdit* m_sound = nullptr;
    QLineEdit* m_linkBox = nullptr;
    LinkChoice* m_link = nullptr;
    QPushButton* m_record = nullptr;
    QLabel* m_level = nullptr;
    PreviewPlayer* m_player = nullptr;
    RecordingSession* m_recording = nullptr;
};
