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
    m_loaded = LayoutContent();
    m_content = LayoutContent();
    m_sequence.clear();
    m_loadedKeys = 0;
    m_openedPath.clear();
    m_state.LayoutPath = ConfigFile::ActiveLayout(m_dataFolder);
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

void LayoutEditor::newLayout() {
    QString path;
    for (int n = 1;; ++n) {
        path = m_dataFolder + QStringLiteral("/layout%1.ini").arg(n);
        if (!FileExists(path)) {
            break;
        }
    }
    m_state.LayoutPath = path;
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
        if (!m_content.Sounds[std::size_t(n)].isEmpty() || !m_content.Texts[std::size_t(n)].isEmpty()) {
            keys << n + 1;
        }
    }
    return keys;
}

bool LayoutEditor::changed() const {
    return LayoutFile::Encode(content()) != m_openedBytes || m_state.LayoutPath != m_openedName;
}
