#include "runtime/EdgeController.h"

#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "config/LayoutData.h"
#include "grid/IGridContainer.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "platform/Log.h"

#include <QKeyEvent>

EdgeController::EdgeController(IGridContainer& window, IAudioOutput& audio, IMessages& messages,
                               QString dataFolder, Hooks hooks)
    : m_window(window), m_messages(messages), m_hooks(std::move(hooks)), m_store(std::move(dataFolder)),
      m_sound(std::make_unique<cSound>(audio)), m_speaker(audio, *m_sound) {}

EdgeController::~EdgeController() = default;

bool EdgeController::edgesFirst() const {
    return m_hooks.options().edgesFirst.value_or(false);
}

bool EdgeController::closePhrases() {
    if (!m_page) {
        return false;
    }
    m_page.reset();
    m_hooks.repaint();
    return true;
}

QRect EdgeController::layOut(const LayoutData& layout) {
    m_keyCount = layout.KeyCount;
    const QSize client(m_window.clientWidth(), m_window.clientHeight());
    const AccessOptions& options = m_hooks.options();
    m_layout =
        EdgeLayout(client, options.showBar(),
                   options.showStrip() ? EdgeLayout::StripItems(layout.FunctionKeyPaths) : QList<EdgeItem>());
    if (m_page) {
        openPhrases(0);
    }
    return m_layout.tableArea();
}

void EdgeController::draw() {
    QImage& canvas = m_window.canvas();
    if (m_page) {
        canvas.fill(Qt::white);
        EdgeView::DrawPhrases(canvas, m_page->rects(), m_page->labels());
        return;
    }
    if (!m_layout.empty()) {
        m_view.drawEdges(canvas, m_layout, m_sentence.items());
    }
}

AccessItems EdgeController::items(const cGriglia& grid, int keyCount, int columns) const {
    return m_page ? m_page->accessItems() : m_layout.accessItems(grid, keyCount, columns, edgesFirst());
}

int EdgeController::keyOf(int item) const {
    if (m_page) {
        return 0;
    }
    const int owner = m_layout.ownerOf(item, m_keyCount, edgesFirst());
    return std::max(owner, 0);
}

QString EdgeController::cueText(int item, const LayoutData& layout) const {
    if (m_page) {
        return m_page->labels()
            .value(item - 1)
            .remove(QChar(0x2605))
            .trimmed(); // the favourite's star unsaid
    }
    const int owner = m_layout.ownerOf(item, m_keyCount, edgesFirst());
    if (owner > 0) {
        return layout.SectionOn[3] ? layout.KeyTexts.value(owner) : QString();
    }
    return owner < 0 && -owner <= m_layout.items().size() ? m_layout.items().at(-owner - 1).label : QString();
}

int EdgeController::itemOfKey(int key) const {
    return edgesFirst() ? key + int(m_layout.items().size()) : key;
}

int EdgeController::edgeItemAt(QPoint point) const {
    if (m_page) {
        for (qsizetype i = 0; i < m_page->rects().size(); ++i) {
            if (m_page->rects().at(i).contains(point)) {
                return int(i) + 1;
            }
        }
        return 0;
    }
    for (qsizetype i = 0; i < m_layout.rects().size(); ++i) {
        if (m_layout.rects().at(i).contains(point)) {
            return (edgesFirst() ? 0 : m_keyCount) + int(i) + 1;
        }
    }
    return 0;
}

void EdgeController::activate(int item) {
    if (m_page) {
        choosePhrase(item);
        return;
    }
    const int owner = m_layout.ownerOf(item, m_keyCount, edgesFirst());
    if (owner < 0 && -owner <= m_layout.items().size()) {
        act(m_layout.items().at(-owner - 1));
    }
}

void EdgeController::act(const EdgeItem& item) {
    switch (item.kind) {
    case EdgeItem::Kind::Speak:
        speak();
        break;
    case EdgeItem::Kind::RemoveLast:
        m_sentence.removeLast();
        redrawBar();
        break;
    case EdgeItem::Kind::Clear:
        m_sentence.clear();
        redrawBar();
        break;
    case EdgeItem::Kind::Keep:
        keep();
        break;
    case EdgeItem::Kind::Phrases:
        openPhrases(0);
        break;
    case EdgeItem::Kind::Layout:
        m_hooks.switchLayout(item.functionKey);
        break;
    }
}

bool EdgeController::keyChosen(const LayoutData& layout, int k, bool trainingStep) {
    if (!m_layout.hasBar()) {
        return true;
    }
    // A key that opens another layout moves, it says nothing of the sentence.
    const bool link = !layout.LinkPaths.value(k).trimmed().isEmpty();
    if (!link && (!trainingStep || m_hooks.options().trainingJoinsBar.value_or(false))) {
        const QString text = layout.SectionOn[3] ? layout.KeyTexts.value(k) : QString();
        const QString sound = layout.SectionOn[2] ? layout.SoundPaths.value(k) : QString();
        if (m_sentence.add({text, sound, layout.PicturePaths.value(k)})) {
            redrawBar();
        }
    }
    return !m_hooks.options().quietBuilding.value_or(false);
}

bool EdgeController::keyPressed(const QKeyEvent& event) {
    if (!m_layout.hasBar() || m_page || (event.modifiers() & ~Qt::KeypadModifier) != 0) {
        return false;
    }
    const int qtKey = event.key();
    EdgeItem::Kind kind;
    if (qtKey == Qt::Key_End) {
        kind = EdgeItem::Kind::Speak;
    } else if (qtKey == Qt::Key_Backspace) {
        kind = EdgeItem::Kind::RemoveLast;
    } else if (qtKey == Qt::Key_Delete) {
        kind = EdgeItem::Kind::Clear;
    } else {
        return false;
    }
    act({kind, 0, QString()});
    return true;
}

void EdgeController::tableLeft() {
    m_speaker.cut(m_hooks.voice());
    m_sentence.clear();
    m_page.reset();
}

// A text that could not be spoken is shown, and logged with the engine's reason.
void EdgeController::reportSpeech(const Outcome& spoken) {
    if (!spoken) {
        Log::Failure(lcAudio, spoken);
        m_messages.showMessage(spoken.message(), MsgIcon::Exclamation, AppInfo::Title);
    }
}

void EdgeController::speak() {
    if (!m_sentence.isEmpty()) {
        say(m_sentence.items());
    }
}

// Speaks a sentence, or cuts the one still heard. One that starts goes first
// among the recent phrases, whether just built or said again from the phrases view.
void EdgeController::say(const QList<SentenceItem>& items) {
    const bool starting = !m_speaker.speaking();
    reportSpeech(m_speaker.speakOrCut(m_hooks.voice(), Sentence::PartsOf(items)));
    if (starting) {
        store().addRecent(items);
        saveStore();
    }
}

void EdgeController::keep() {
    if (store().addFavourite(m_sentence.items())) {
        saveStore();
    }
}

PhraseStore& EdgeController::store() {
    QString notice;
    m_store.load(&notice);
    if (!notice.isEmpty() && !m_noticeShown) {
        m_noticeShown = true;
        m_messages.showMessage(notice, MsgIcon::Exclamation, AppInfo::Title);
    }
    return m_store;
}

void EdgeController::saveStore() {
    const Outcome saved = m_store.save();
    if (saved) {
        return;
    }
    Log::Failure(lcFiles, saved);
    if (!m_storeFailureShown) {
        // Once: the user goes on speaking, without the phrase kept.
        m_storeFailureShown = true;
        m_messages.showMessage(saved.message(), MsgIcon::Exclamation, AppInfo::Title);
    }
}

void EdgeController::redrawBar() {
    const QRect changed = m_view.drawBar(m_window.canvas(), m_layout, m_sentence.items());
    m_window.showCanvas(changed);
}

void EdgeController::openPhrases(int page) {
    m_page.emplace(store(), QSize(m_window.clientWidth(), m_window.clientHeight()), page);
    m_hooks.repaint();
}

void EdgeController::choosePhrase(int item) {
    Phrase phrase;
    switch (m_page->actionOf(item, &phrase)) {
    case PhrasesPage::Action::Back:
        m_page.reset();
        m_hooks.repaint();
        break;
    case PhrasesPage::Action::More:
        openPhrases(m_page->nextPage());
        break;
    case PhrasesPage::Action::Speak:
        say(phrase.items);
        break;
    case PhrasesPage::Action::None:
        break;
    }
}
