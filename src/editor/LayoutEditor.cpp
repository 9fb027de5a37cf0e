#include "editor/LayoutEditor.h"

#include "config/ConfigFile.h"
#include "config/FileExists.h"
#include "config/IniSnapshot.h"
#include "config/LayoutFile.h"

#include <algorithm>
#include <utility>

LayoutEditor::LayoutEditor(QString dataFolder, SetupState& state)
    : m_dataFolder(std::move(dataFolder)), m_state(state) {}

LayoutEditor::Opened LayoutEditor::open() {
    return openFile(ConfigFile::ActiveLayout(m_dataFolder));
}

QString LayoutEditor::OpenedMessage(Opened opened) {
    switch (opened) {
    case Opened::TooManyKeys:
        return QStringLiteral("Il numero dei tasti specificato non è valido. Il numero massimo di "
                              "tasti consentito è 21.");
    case Opened::NotALayout:
        return QStringLiteral("Non è un layout valido.");
    case Opened::Loaded:
    case Opened::Missing:
        break;
    }
    return {};
}

LayoutEditor::Opened LayoutEditor::openFile(const QString& path) {
    m_loaded = LayoutContent();
    m_content = LayoutContent();
    m_sequence.clear();
    m_loadedKeys = 0;
    m_openedPath.clear();
    m_state.LayoutPath = path;
    Opened opened = Opened::Missing;
    if (FileExists(m_state.LayoutPath)) {
        const LayoutFile::Editable read =
            LayoutFile::ReadForEditing(IniSnapshot::FromFile(m_state.LayoutPath));
        opened = read.fault == LayoutFile::Fault::Kind::None       ? Opened::Loaded
                 : read.fault == LayoutFile::Fault::Kind::KeyCount ? Opened::TooManyKeys
                                                                   : Opened::NotALayout;
        if (opened == Opened::Loaded) {
            load(read.content);
            m_openedPath = m_state.LayoutPath;
        }
    }
    if (opened != Opened::Loaded) {
        newLayout();
    }
    remember();
    return opened;
}

namespace {
QString FreeLayoutName(const QString& dataFolder) {
    for (int n = 1;; ++n) {
        const QString path = dataFolder + QStringLiteral("/layout%1.ini").arg(n);
        if (!FileExists(path)) {
            return path;
        }
    }
}
} // namespace

void LayoutEditor::newLayout() {
    m_state.LayoutPath = FreeLayoutName(m_dataFolder);
    m_content.KeyCount = 1;
    m_content.Section1On = 1;
    m_content.Section2On = 0;
    m_content.Section3On = 0;
    m_content.ForcedInput = 0;
    m_sequence.clear();
}

void LayoutEditor::load(const LayoutContent& loaded) {
    m_loaded = loaded;
    m_content = loaded;
    m_loadedKeys = std::max<int>(loaded.KeyCount, 0);
    // 0 keys and below show as one.
    m_content.KeyCount = std::max<qint16>(loaded.KeyCount, 1);
    m_state.BonusFile = loaded.Bonus;
    // Pictures above the key count are not shown: a row with a picture is a key.
    for (int n = m_loadedKeys; n < MaxKeys; ++n) {
        m_content.Pictures[std::size_t(n)].clear();
    }
    if (forcedInput()) {
        for (int n = 0; n < m_loadedKeys; ++n) {
            m_sequence << loaded.Sequence[std::size_t(n)].split(QLatin1Char('-'), Qt::SkipEmptyParts);
        }
    }
}

void LayoutEditor::remember() {
    m_countedPictures = m_content.Pictures;
    m_openedBytes = LayoutFile::Encode(content());
    m_openedName = m_state.LayoutPath;
}

QString LayoutEditor::value(Field field, int key) const {
    const std::size_t n = std::size_t(key - 1);
    switch (field) {
    case Field::Picture:
        return m_content.Pictures[n];
    case Field::Sound:
        return m_content.Sounds[n];
    case Field::Text:
        return m_content.Texts[n];
    case Field::Link:
        return m_content.Links[n];
    }
    return {};
}

bool LayoutEditor::linkEdited(int key) const {
    return m_content.Links[std::size_t(key - 1)] != m_loaded.Links[std::size_t(key - 1)];
}

LayoutEditor::LinkKind LayoutEditor::KindOf(const QString& link) {
    return link.isEmpty()                 ? LinkKind::None
           : link == LayoutFile::LinkBack ? LinkKind::Back
           : link == LayoutFile::LinkHome ? LinkKind::Home
                                          : LinkKind::Layout;
}

QString LayoutEditor::LinkValue(LinkKind kind, const QString& path) {
    switch (kind) {
    case LinkKind::None:
        return {};
    case LinkKind::Back:
        return LayoutFile::LinkBack;
    case LinkKind::Home:
        return LayoutFile::LinkHome;
    case LinkKind::Layout:
        return path;
    }
    return {};
}

void LayoutEditor::setValue(Field field, int key, const QString& value) {
    const std::size_t n = std::size_t(key - 1);
    switch (field) {
    case Field::Picture:
        m_content.Pictures[n] = value;
        return;
    case Field::Sound:
        m_content.Sounds[n] = value;
        return;
    case Field::Text:
        m_content.Texts[n] = value;
        return;
    case Field::Link:
        m_content.Links[n] = value;
        return;
    }
}

bool LayoutEditor::section(int n) const {
    return (n == 1 ? m_content.Section1On : n == 2 ? m_content.Section2On : m_content.Section3On) == 1;
}

void LayoutEditor::setSection(int n, bool on) {
    qint16& value = n == 1 ? m_content.Section1On : n == 2 ? m_content.Section2On : m_content.Section3On;
    value = on ? 1 : 0;
}

int LayoutEditor::filledPictures() const {
    return int(std::count_if(m_content.Pictures.begin(), m_content.Pictures.end(),
                             [](const QString& p) { return !p.isEmpty(); }));
}

bool LayoutEditor::recountDropsSequence() const {
    return std::clamp(filledPictures(), 1, MaxKeys) != keyCount() && forcedInput() && !m_sequence.isEmpty();
}

void LayoutEditor::recount() {
    const int count = std::clamp(filledPictures(), 1, MaxKeys);
    if (count != keyCount()) {
        m_content.KeyCount = qint16(count);
        setForcedInput(false);
    }
    m_countedPictures = m_content.Pictures;
}

void LayoutEditor::setForcedInput(bool on) {
    m_content.ForcedInput = on ? 1 : 0;
    if (!on) {
        m_sequence.clear();
    }
}

bool LayoutEditor::isPressed(int key) const {
    return m_sequence.contains(QString::number(key));
}

void LayoutEditor::toggle(int key) {
    if (!forcedInput() || key < 1 || key > keyCount()) {
        return;
    }
    const QString number = QString::number(key);
    if (m_sequence.contains(number)) {
        m_sequence.removeAll(number);
    } else {
        m_sequence << number;
    }
}

LayoutContent LayoutEditor::content() const {
    LayoutContent c = m_content;
    c.Bonus = m_state.BonusFile;
    for (int n = 0; n < MaxKeys; ++n) {
        const auto i = std::size_t(n);
        if (n < keyCount()) {
            c.Sequence[i] = m_sequence.value(n);
        } else {
            c.Sequence[i] = m_loaded.Sequence[i];
            c.Pictures[i] = m_loaded.Pictures[i];
        }
    }
    return c;
}

QList<int> LayoutEditor::hiddenKeys() const {
    QList<int> keys;
    for (int n = keyCount(); n < MaxKeys; ++n) {
        const auto i = std::size_t(n);
        if (!m_content.Sounds[i].isEmpty() || !m_content.Texts[i].isEmpty()) {
            keys << n + 1;
        }
    }
    return keys;
}

bool LayoutEditor::hiddenLinks() const {
    return std::any_of(m_content.Links.begin() + keyCount(), m_content.Links.end(),
                       [](const QString& link) { return !link.isEmpty(); });
}

bool LayoutEditor::changed() const {
    return LayoutFile::Encode(content()) != m_openedBytes || m_state.LayoutPath != m_openedName;
}

LayoutEditor::Working LayoutEditor::working() const {
    return Working{m_loaded,           m_content,         m_sequence,   m_countedPictures, m_loadedKeys,
                   m_state.LayoutPath, m_state.BonusFile, m_openedPath, m_openedBytes,     m_openedName};
}

void LayoutEditor::setWorking(const Working& w) {
    m_loaded = w.loaded;
    m_content = w.content;
    m_sequence = w.sequence;
    m_countedPictures = w.countedPictures;
    m_loadedKeys = w.loadedKeys;
    m_state.LayoutPath = w.layoutPath;
    m_state.BonusFile = w.bonus;
    m_openedPath = w.openedPath;
    m_openedBytes = w.openedBytes;
    m_openedName = w.openedName;
}

void LayoutEditor::setKeyCount(int count) {
    count = std::clamp(count, 1, int(MaxKeys));
    const int before = keyCount();
    if (count == before) {
        return;
    }
    // content() writes the loaded pictures above the count: the ones leaving go there.
    for (int n = count; n < before; ++n) {
        m_loaded.Pictures[std::size_t(n)] = m_content.Pictures[std::size_t(n)];
    }
    for (int n = before; n < count; ++n) {
        m_content.Pictures[std::size_t(n)] = m_loaded.Pictures[std::size_t(n)];
    }
    for (int n = count; n < MaxKeys; ++n) {
        m_content.Pictures[std::size_t(n)].clear();
    }
    m_content.KeyCount = qint16(count);
    setForcedInput(false);
    m_countedPictures = m_content.Pictures;
}

void LayoutEditor::swapKeys(int a, int b) {
    if (a == b || a < 1 || b < 1 || a > MaxKeys || b > MaxKeys) {
        return;
    }
    for (const Field field : {Field::Picture, Field::Sound, Field::Text, Field::Link}) {
        const QString first = value(field, a);
        setValue(field, a, value(field, b));
        setValue(field, b, first);
    }
    const QString na = QString::number(a);
    const QString nb = QString::number(b);
    for (QString& step : m_sequence) {
        step = step == na ? nb : step == nb ? na : step;
    }
}

void LayoutEditor::startEmpty(int count) {
    const QString bonus = m_state.BonusFile;
    m_loaded = LayoutContent();
    m_content = LayoutContent();
    m_loadedKeys = 0;
    m_openedPath.clear();
    newLayout();
    m_state.BonusFile = bonus;
    m_content.KeyCount = qint16(std::clamp(count, 1, int(MaxKeys)));
    remember();
}

void LayoutEditor::duplicate() {
    m_state.LayoutPath = FreeLayoutName(m_dataFolder);
    m_openedPath.clear();
}

void LayoutEditor::saved() {
    m_loaded = content();
    m_loadedKeys = keyCount();
    m_openedPath = m_state.LayoutPath;
    remember();
}
