#pragma once

#include "access/AccessItems.h"
#include "access/AccessOptions.h"
#include "access/EdgeLayout.h"
#include "access/PhraseStore.h"
#include "access/PhrasesPage.h"
#include "access/Sentence.h"
#include "access/SentenceSpeaker.h"
#include "runtime/EdgeView.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class IAudioOutput;
class QKeyEvent;
class IGridContainer;
class IMessages;
class cGriglia;
class cSound;
class cVoce;
struct LayoutData;

// What lies around the runtime window's table: the message bar with its
// sentence and actions, the strip of the function keys' layouts, and the
// view of the saved phrases that takes the table's place while it is open.
// The window asks it where the table goes, draws the table, then lets it draw
// the rest; the access methods choose among the items it gives them, and the
// window passes every chosen item here first.
class EdgeController {
public:
    struct Hooks {
        // Shows the layout of function key n exactly as the key itself does.
        std::function<void(int n)> switchLayout;
        // The speech object of the window.
        std::function<cVoce&()> voice;
        // The window's canvas is to be drawn afresh (the phrases view opened or closed).
        std::function<void()> repaint;
        // The user's access options, which also decide the bar and the strip.
        std::function<const AccessOptions&()> options;
    };

    EdgeController(IGridContainer& window, IAudioOutput& audio, IMessages& messages, QString dataFolder,
                   Hooks hooks);
    ~EdgeController();

    // A table of the layout is about to be built: where it goes.
    QRect layOut(const LayoutData& layout);
    // Draws the bar and the strip over the canvas, after the table; or the phrases view.
    void draw();
    bool phrasesShown() const { return m_page.has_value(); }

    // What the access methods choose among, with the table on `grid`.
    AccessItems items(const cGriglia& grid, int keyCount, int columns) const;
    // What item `item` of items() is: a key (from 1), or 0 for an item of the edges.
    int keyOf(int item) const;
    int itemOfKey(int key) const;
    // What the scan's spoken cue says for item `item`: a key's text (empty
    // when the layout shows none), a bar action's or a strip layout's name,
    // or a phrase.
    QString cueText(int item, const LayoutData& layout) const;
    // The item of items() at a point of the canvas that is not a key, or 0.
    int edgeItemAt(QPoint point) const;
    // Does what item `item` (not a key) of items() stands for.
    void activate(int item);

    // Key k of the layout was chosen and passed the forced-input rules
    // (`trainingStep` when the layout trains a sequence): it joins the bar.
    // False when the key must stay silent (quiet building).
    bool keyChosen(const LayoutData& layout, int k, bool trainingStep);
    // The keyboard's bar actions: End speaks, Backspace removes the last
    // word, Delete clears. True when the key was one of them.
    bool keyPressed(const QKeyEvent& event);
    // The table was left with Esc: the sentence goes, the phrases view closes.
    void tableLeft();
    // Esc in the phrases view goes back to the table; false when it was not shown.
    bool closePhrases();
    // The area of the canvas that shows the table (what is printed).
    QRect tableArea() const { return m_layout.tableArea(); }

private:
    void act(const EdgeItem& item);
    void speak();
    void reportSpeech(const Outcome& spoken);
    void keep();
    void redrawBar();
    void openPhrases(int page);
    void choosePhrase(int item);
    // The phrases as the file holds them now (the options window may have changed them).
    PhraseStore& store();
    void saveStore();
    bool edgesFirst() const;

    IGridContainer& m_window;
    IMessages& m_messages;
    Hooks m_hooks;
    EdgeLayout m_layout;
    int m_keyCount = 0;
    Sentence m_sentence;
    PhraseStore m_store;
    // What could not be read or written of the phrases is said once a session.
    bool m_noticeShown = false;
    bool m_storeFailureShown = false;
    std::unique_ptr<cSound> m_sound;
    SentenceSpeaker m_speaker;
    EdgeView m_view;
    std::optional<PhrasesPage> m_page;
};
