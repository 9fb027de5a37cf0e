#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A program folder made by the benchmark itself: cfg.ini naming a layout of
// 21 keys, 21 distinct 512 x 512 pictures (GIF, JPEG and BMP in turn), one
// short WAV per key and the key texts (key 1 says "Mela").
class BenchFolder {
public:
    static constexpr int Keys = 21;
    static constexpr int PictureSide = 512;
    // Key 1's sound: 22050 Hz mono 16-bit, like the program's own sounds.
    static constexpr int SoundRate = 22050;
    static constexpr int SoundMs = 250;

    BenchFolder();

    bool isValid() const { return m_valid; }
    // Leaves the folder on disk when the benchmark ends.
    void keep() { m_dir.setAutoRemove(false); }
    QString path() const { return m_dir.path(); }
    QString layoutPath() const;
    const QStringList& picturePaths() const { return m_pictures; }
    const QStringList& soundPaths() const { return m_sounds; }
    // Values a ReadLayout of this layout reads, cfg.ini's File included.
    static int IniReadsOfReadLayout();
    // Where the installed copy of the program goes (start-up and memory).
    QString programFolder() const;
    // Writes a cfg.ini naming this layout into the folder.
    bool WriteConfig(const QString& folder) const;

private:
    bool WritePictures();
    bool WriteSounds();
    bool WriteLayout() const;

    QTemporaryDir m_dir;
    QStringList m_pictures;
    QStringList m_sounds;
    bool m_valid = false;
};
