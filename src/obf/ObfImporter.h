#pragma once

#include "config/LayoutContent.h"
#include "obf/ObfBoard.h"
#include "obf/ObfMedia.h"
#include "obf/ObfReport.h"
#include "platform/Outcome.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class IImportProgress;
class ObfStaging;
class ZipArchive;

// Turns an Open Board file (.obf, one board) or set (.obz, a ZIP of boards,
// pictures and sounds) into layouts of the data folder: one layout per board
// (per 21 keys of a larger board), pictures in immagini/, sounds in suoni/,
// all under new names, identical files stored once. Links between the boards
// become link keys and function keys; a board reached by a link gets a key
// back, each part of a split board a key to the next part. A board that
// cannot be made (no keys, unreadable) is left out and reported; the whole
// file is refused only when no board can be made. Nothing is written unless
// the import ends well.
class ObfImporter {
public:
    explicit ObfImporter(QString dataFolder);
    ~ObfImporter();
    ObfImporter(const ObfImporter&) = delete;
    ObfImporter& operator=(const ObfImporter&) = delete;

    // The report when the layouts were made: it names them (the root
    // board's first) and what could not be carried, and its full list is
    // kept in a file beside the layouts. The failure, with its message in
    // Italian and the file and reason as detail, when the file cannot be
    // imported or `progress` asked to stop; then the data folder is as it was.
    Result<ObfReport> Import(const QString& file, IImportProgress* progress = nullptr);
    // True when the last Import ended because its progress asked to stop.
    bool cancelled() const { return m_cancelled; }

    // The texts of the link keys an import adds.
    static inline const QString BackText = QStringLiteral("Indietro");
    static inline const QString NextText = QStringLiteral("Avanti");

private:
    struct Link {
        int functionKey; // 0: the next free one, -1: none (a link key only)
        QString path;    // the target board inside the set; empty when it names none
        QString name;
    };
    // One layout of a board: its keys, and the link keys added to them.
    struct Page {
        int first = 0;
        int count = 0;
        bool back = false; // a key back to the layout shown before
        bool next = false; // a key to the board's next part
    };
    struct Board {
        ObfBoard board;
        QString path; // inside the set
        QList<ObfButton> keys;
        QList<Link> links;
        QList<Page> pages;
        QStringList layouts;
        bool linkedTo = false;
    };
    // A picture or sound of the set, converted once for every key that shows it.
    struct Media {
        QString path; // staged; empty when it could not be carried
        ObfReport::Issue issue = ObfReport::Issue::BadPicture;
        QString problem;
    };
    struct Job {
        MediaJob work;
        QString key;
        ObfMedia media;
        QString folder;
        QString name;
    };

    // Failures of these carry the reason, in Italian, as their message.
    Outcome LoadSet(const QString& file);
    Outcome LoadBoard(const QString& path);
    Outcome LoadLinked();
    void DropEmptyBoards();
    void PlanLayouts();
    bool ConvertMedia();
    bool RunJobs(std::vector<Job>& jobs);
    bool WriteBoard(const Board& board, ObfReport& report);
    std::array<QString, LayoutContent::FunctionKeys> FunctionKeys(const Board& board,
                                                                  ObfReport& report) const;
    QString KeyLink(const ObfButton& button) const;
    QString SilentSound();
    Outcome WriteReport(ObfReport& report);
    QString PictureKey(const Board& board, const ObfButton& button) const;
    QString SoundKey(const Board& board, const ObfButton& button) const;
    QString KeyPicture(const Board& board, const ObfButton& button, ObfReport& report) const;
    QString KeySound(const Board& board, const ObfButton& button, ObfReport& report) const;
    // The bytes, or what stands in their way as the failure's message.
    Result<QByteArray> MediaBytes(const ObfMedia& media, QString* contentType);
    QString BoardTitle(const Board& board) const;
    void Advance();

    QString m_dataFolder;
    IImportProgress* m_progress = nullptr;
    std::unique_ptr<ZipArchive> m_zip;
    std::unique_ptr<ObfStaging> m_staging;
    QList<Board> m_boards;
    QHash<QString, int> m_boardByPath;
    QSet<QString> m_unreadable; // boards of the set that could not be read
    QList<ObfReport::Entry> m_skipped;
    QHash<QString, Media> m_media;    // media key -> what it became
    QHash<QString, QString> m_labels; // label -> its picture
    QString m_silence;
    // Set when the set turns out to be unsafe while its media are read.
    Outcome m_fatal = Outcome::Done();
    bool m_cancelled = false;
    int m_boardsDone = 0;
    int m_picturesDone = 0;
    int m_pictures = 0;
};
