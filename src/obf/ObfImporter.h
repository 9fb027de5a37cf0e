#pragma once

#include "obf/ObfBoard.h"
#include "obf/ObfReport.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class ObfStaging;
class ZipArchive;

// Turns an Open Board file (.obf, one board) or set (.obz, a ZIP of boards,
// pictures and sounds) into layouts of the data folder: one layout per board
// (per 21 keys of a larger board), pictures in immagini/, sounds in suoni/,
// all under new names. Links between the boards of a set become function
// keys. Nothing is written unless the whole set could be read.
class ObfImporter {
public:
    explicit ObfImporter(QString dataFolder);
    ~ObfImporter();
    ObfImporter(const ObfImporter&) = delete;
    ObfImporter& operator=(const ObfImporter&) = delete;

    // True when the layouts were made: the report names them (the root
    // board's first) and what could not be carried. False with an Italian
    // message in `error` when the file cannot be imported; then the data
    // folder is as it was.
    bool Import(const QString& file, ObfReport& report, QString* error);

private:
    struct Link {
        int functionKey; // 0: the next free one
        QString path;    // the target board inside the set; empty when it names none
        QString name;
    };
    struct Board {
        ObfBoard board;
        QString path; // inside the set
        QList<ObfButton> keys;
        QList<Link> links;
        QStringList layouts;
    };

    bool LoadSet(const QString& file, QString* error);
    bool LoadBoard(const QString& path, QString* error);
    bool LoadLinked(QString* error);
    void PlanLayouts();
    bool WriteBoard(const Board& board, ObfReport& report);
    QString KeyPicture(const Board& board, const ObfButton& button, const QString& layoutBase,
                       ObfReport& report);
    QString KeySound(const Board& board, const ObfButton& button, const QString& layoutBase,
                     ObfReport& report);
    std::optional<QByteArray> MediaBytes(const ObfMedia& media, QString* contentType, QString* problem);
    void ReportRefused(const QString& key, const QString& title, const QString& what,
                       ObfReport& report) const;
    QString FillerPicture();
    QString SilentSound();
    QString BoardTitle(const Board& board) const;

    QString m_dataFolder;
    std::unique_ptr<ZipArchive> m_zip;
    std::unique_ptr<ObfStaging> m_staging;
    QList<Board> m_boards;
    QHash<QString, int> m_boardByPath;
    QHash<QString, QString> m_written; // media key -> final path
    struct Refusal {
        ObfReport::Issue issue;
        QString problem;
    };
    // Media that could not be carried, so that a set naming one entry for
    // every button reads and decodes it once, not once per button.
    QHash<QString, Refusal> m_refused; // media key -> why
    QString m_filler;
    QString m_silence;
    // Set when the set turns out to be unsafe while its media are read.
    QString m_fatal;
};
