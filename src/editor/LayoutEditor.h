#pragma once

#include "config/LayoutContent.h"
#include "editor/SetupState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

// The settings window's working copy of a layout and its editing rules,
// without a display: what an opening reads, the key count (the number of
// filled picture rows), the forced-input sequence (the order in which the
// numbered toggles were pressed), and the content a save writes. The window
// shows what this holds and hands every edit to it.
class LayoutEditor {
public:
    static constexpr int MaxKeys = LayoutContent::MaxKeys;
    static constexpr int FunctionKeys = LayoutContent::FunctionKeys;
    // A key's link is a field too: a layout path, LayoutFile::LinkBack, LinkHome or empty.
    enum class Field { Picture, Sound, Text, Link };
    enum class LinkKind { None, Back, Home, Layout };
    enum class Opened { Loaded, Missing, NotALayout, TooManyKeys };

    LayoutEditor(QString dataFolder, SetupState& state);

    // Reads the active layout named in cfg.ini; a missing or refused one
    // gives a new layout (the window tells why for the refused ones).
    Opened open();
    // What the user is told of an opening: empty when there is nothing to say.
    static QString OpenedMessage(Opened opened);
    // The same for the layout at `path` (the board editor's "Apri...").
    Opened openFile(const QString& path);
    // A new layout under the first free name layout1.ini, layout2.ini, ... in
    // the data folder, with one key and only the pictures section on. The
    // bonus file stays as it was.
    void newLayout();

    const QString& dataFolder() const { return m_dataFolder; }
    QString layoutPath() const { return m_state.LayoutPath; }
    void setLayoutPath(const QString& path) { m_state.LayoutPath = path; }

    QString value(Field field, int key) const;
    void setValue(Field field, int key, const QString& value);
    // True when key k's link is not the one the opening read.
    bool linkEdited(int key) const;
    // What a link value stands for.
    static LinkKind KindOf(const QString& link);
    // The value stored for a kind; a layout keeps `path`.
    static QString LinkValue(LinkKind kind, const QString& path = QString());
    QString functionKey(int f) const { return m_content.FunctionKeyLayouts[std::size_t(f - 1)]; }
    void setFunctionKey(int f, const QString& path) {
        m_content.FunctionKeyLayouts[std::size_t(f - 1)] = path;
    }
    QString bonus() const { return m_state.BonusFile; }
    void setBonus(const QString& path) { m_state.BonusFile = path; }
    // Sections 1 to 3: pictures, sounds, texts.
    bool section(int n) const;
    void setSection(int n, bool on);

    // ---- The board editor's edits ----------------------------------------------
    // Everything an edit may change, as one value: the board editor keeps
    // these for undo and redo.
    struct Working {
        LayoutContent loaded;
        LayoutContent content;
        QStringList sequence;
        std::array<QString, MaxKeys> countedPictures;
        int loadedKeys = 0;
        QString layoutPath;
        QString bonus;
        QString openedPath;
        QByteArray openedBytes;
        QString openedName;
    };
    Working working() const;
    void setWorking(const Working& w);
    // A chosen key count (allowed or not: a save says so). Pictures of keys
    // leaving the table are kept as hidden values, and come back with them.
    void setKeyCount(int count);
    // Keys a and b trade their picture, sound, text and link, and their places in the sequence.
    void swapKeys(int a, int b);
    // An empty board of `count` keys under a new name, nothing of the layout before kept.
    void startEmpty(int count);
    // The same board under a new name: a save writes a new file.
    void duplicate();

    // ---- Key count -----------------------------------------------------------
    int keyCount() const { return m_content.KeyCount; }
    // The filled picture rows, wherever they are.
    int filledPictures() const;
    // True when taking the filled pictures as the key count would drop a sequence.
    bool recountDropsSequence() const;
    // Takes the filled pictures as the key count (1 to 21); a new count
    // switches forced input off, since its sequence no longer fits.
    void recount();
    // The pictures as they were at the last count, to undo an edit the user takes back.
    const std::array<QString, MaxKeys>& countedPictures() const { return m_countedPictures; }

    // ---- Forced input ----------------------------------------------------------
    bool forcedInput() const { return m_content.ForcedInput == 1; }
    // Switching it off clears the sequence.
    void setForcedInput(bool on);
    // The keys in the order they were pressed.
    const QStringList& sequence() const { return m_sequence; }
    // A toggle shows pressed exactly when its key is in the sequence.
    bool isPressed(int key) const;
    // Pressing appends the key; pressing it again takes every occurrence out.
    void toggle(int key);

    // ---- Saving ----------------------------------------------------------------
    // The layout as a save writes it: keys up to the count as edited; above
    // it the pictures and sequence as loaded, sounds and texts as edited.
    LayoutContent content() const;
    // The keys above the count that still hold a sound or a text.
    QList<int> hiddenKeys() const;
    // True when a key above the count holds a link (kept as silently as the pictures there).
    bool hiddenLinks() const;
    // The layout file the opening read (empty for a new layout).
    QString openedPath() const { return m_openedPath; }
    // After a save from the board editor, which stays open: what was written is what the opening showed.
    void saved();
    // True when a save would write something else than what the opening showed.
    bool changed() const;

private:
    void load(const LayoutContent& loaded);
    void remember();

    const QString m_dataFolder;
    SetupState& m_state;
    LayoutContent m_loaded;
    LayoutContent m_content;
    QStringList m_sequence;
    std::array<QString, MaxKeys> m_countedPictures;
    int m_loadedKeys = 0;
    QString m_openedPath;
    QByteArray m_openedBytes;
    QString m_openedName;
};
