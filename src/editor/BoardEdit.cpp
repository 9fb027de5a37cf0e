#include "editor/BoardEdit.h"

#include "config/LayoutFile.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {
// Negative, zero or positive as `a` sorts before, with or after `b`; runs of
// digits compare by their value, the rest without regard to case.
int CompareNames(const QString& a, const QString& b) {
    static const QRegularExpression runs(QStringLiteral("\\d+|\\D+"));
    auto i = runs.globalMatch(a);
    auto j = runs.globalMatch(b);
    while (i.hasNext() && j.hasNext()) {
        const QString x = i.next().captured();
        const QString y = j.next().captured();
        int order = 0;
        if (x.front().isDigit() && y.front().isDigit()) {
            const QString u = x.mid(x.indexOf(QRegularExpression(QStringLiteral("[1-9]|$"))));
            const QString v = y.mid(y.indexOf(QRegularExpression(QStringLiteral("[1-9]|$"))));
            order = u.size() != v.size() ? int(u.size() - v.size()) : u.compare(v);
        } else {
            order = x.compare(y, Qt::CaseInsensitive);
        }
        if (order != 0) {
            return order;
        }
    }
    return int(i.hasNext()) - int(j.hasNext());
}
} // namespace

BoardEdit::BoardEdit(LayoutEditor& editor) : m_editor(editor) {}

template <typename Edit> void BoardEdit::change(Edit edit) {
    LayoutEditor::Working before = m_editor.working();
    const QByteArray bytes = LayoutFile::Encode(m_editor.content());
    const QString path = m_editor.layoutPath();
    edit();
    // Nothing a save would write changed, nor the name: no step to undo.
    if (LayoutFile::Encode(m_editor.content()) == bytes && m_editor.layoutPath() == path &&
        m_editor.sequence() == before.sequence) {
        return;
    }
    m_undo << std::move(before);
    m_redo.clear();
}

BoardEdit::Key BoardEdit::key(int k) const {
    return Key{m_editor.value(Field::Picture, k), m_editor.value(Field::Sound, k),
               m_editor.value(Field::Text, k), m_editor.value(Field::Link, k)};
}

// A sound or words given to a key on the board are meant to be heard: their
// section is switched on with them, in the same step (a board started empty
// has both off, and the table reads nothing of a section that is off). A key
// left without a sound is then named when the board is saved.
void BoardEdit::put(Field field, int k, const QString& value) {
    m_editor.setValue(field, k, value);
    if (!value.isEmpty() && (field == Field::Sound || field == Field::Text)) {
        m_editor.setSection(field == Field::Sound ? 2 : 3, true);
    }
}

void BoardEdit::setValue(Field field, int k, const QString& value) {
    change([&] { put(field, k, value); });
}

void BoardEdit::setKey(int k, const Key& key) {
    change([&] {
        put(Field::Picture, k, key.picture);
        put(Field::Sound, k, key.sound);
        put(Field::Text, k, key.text);
        put(Field::Link, k, key.link);
    });
}

void BoardEdit::setPictures(int first, const QStringList& paths) {
    change([&] {
        for (int i = 0; i < paths.size() && first + i <= m_editor.keyCount(); ++i) {
            m_editor.setValue(Field::Picture, first + i, paths[i]);
        }
    });
}

int BoardEdit::fillEmptyKeys(const QList<Key>& pictures) {
    int next = 0;
    change([&] {
        for (int k = 1; k <= m_editor.keyCount() && next < pictures.size(); ++k) {
            if (!m_editor.value(Field::Picture, k).isEmpty()) {
                continue;
            }
            const Key& chosen = pictures[next++];
            m_editor.setValue(Field::Picture, k, chosen.picture);
            if (m_editor.value(Field::Text, k).isEmpty()) {
                put(Field::Text, k, chosen.text);
            }
        }
    });
    return int(pictures.size()) - next;
}

QStringList BoardEdit::InNameOrder(QStringList files) {
    std::stable_sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        // "pane" before "pane2" whatever their kinds of file.
        const QFileInfo x(a);
        const QFileInfo y(b);
        const int order = CompareNames(x.completeBaseName(), y.completeBaseName());
        return order != 0 ? order < 0 : CompareNames(x.fileName(), y.fileName()) < 0;
    });
    return files;
}

int BoardEdit::emptyKeys() const {
    int empty = 0;
    for (int k = 1; k <= m_editor.keyCount(); ++k) {
        empty += m_editor.value(Field::Picture, k).isEmpty() ? 1 : 0;
    }
    return empty;
}

QString BoardEdit::WordsOf(const QString& file) {
    // "02_pane" is numbered to sort; "3 porcellini" is what the key says.
    static const QRegularExpression number(QStringLiteral("^\\d+[_.-]+(?=.*[^\\d_. -])"));
    QString words = QFileInfo(file).completeBaseName().remove(number);
    words.replace(QLatin1Char('_'), QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char(' '));
    return words.simplified();
}

void BoardEdit::swap(int a, int b) {
    change([&] { m_editor.swapKeys(a, b); });
}

void BoardEdit::setKeyCount(int count) {
    change([&] { m_editor.setKeyCount(count); });
}

void BoardEdit::setForcedInput(bool on) {
    change([&] { m_editor.setForcedInput(on); });
}

void BoardEdit::toggleStep(int k) {
    change([&] { m_editor.toggle(k); });
}

void BoardEdit::newBoard(int count) {
    change([&] { m_editor.startEmpty(count); });
}

void BoardEdit::duplicate() {
    change([&] { m_editor.duplicate(); });
}

bool BoardEdit::undo() {
    if (m_undo.isEmpty()) {
        return false;
    }
    m_redo << m_editor.working();
    m_editor.setWorking(m_undo.takeLast());
    return true;
}

bool BoardEdit::redo() {
    if (m_redo.isEmpty()) {
        return false;
    }
    m_undo << m_editor.working();
    m_editor.setWorking(m_redo.takeLast());
    return true;
}

void BoardEdit::forgetHistory() {
    m_undo.clear();
    m_redo.clear();
}
