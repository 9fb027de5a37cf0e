// Fuzzed code: config/IniEngine.cpp config/IniEncoding.cpp config/Windows1252.cpp config/FileExists.cpp
// Fuzzed code: platform/RegularFile.cpp platform/WriteProtected.cpp
#include "FuzzTarget.h"

#include "config/IniEncoding.h"
#include "config/IniEngine.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>

namespace {
// A bound on the work of one input.
constexpr qsizetype MaxKeys = 64;
constexpr int MaxValue = 1 << 24;

struct Value {
    QString section;
    QString key;
    QString text;
};

// The sections and keys the input seems to hold, found by a plain scan of
// its lines (the engine decides what they read), with what they read.
QList<Value> ReadAll(const QString& file, QByteArrayView data) {
    QList<Value> values;
    QString section;
    const QStringList lines =
        IniEncoding::Decode(data.toByteArray()).text.split(QRegularExpression(QStringLiteral("[\r\n]")));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.contains(QLatin1Char(']'))) {
            section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1).trimmed();
            // A section without keys is kept too, with an empty key, as a place to add one.
            values.append({section, QString(), QString()});
        } else if (line.contains(QLatin1Char('=')) && !section.isEmpty()) {
            const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
            values.append({section, key, IniEngine::ReadString(file, section, key, QString(), MaxValue)});
        }
        // Names with control characters are not names the program writes
        // (the engine cuts them at a NUL or a line break): not candidates.
        if (!values.isEmpty() && std::any_of(values.back().section.begin(), values.back().section.end(),
                                             [](QChar c) { return c < QChar(0x20); })) {
            values.removeLast();
        } else if (!values.isEmpty() && std::any_of(values.back().key.begin(), values.back().key.end(),
                                                    [](QChar c) { return c < QChar(0x20); })) {
            values.removeLast();
        }
        if (values.size() >= MaxKeys) {
            break;
        }
    }
    return values;
}

bool Same(const Value& a, const Value& b) {
    return a.section.compare(b.section, Qt::CaseInsensitive) == 0 &&
           a.key.compare(b.key, Qt::CaseInsensitive) == 0;
}

void CheckOthersUnchanged(const QString& file, const QList<Value>& before, const Value& changed,
                          const char* step) {
    for (const Value& v : before) {
        if (v.key.isEmpty() || Same(v, changed)) {
            continue;
        }
        const QString now = IniEngine::ReadString(file, v.section, v.key, QString(), MaxValue);
        FUZZ_CHECK(now == v.text, QStringLiteral("%1 [%2] %3: \"%4\" became \"%5\"")
                                      .arg(QLatin1String(step), v.section, v.key, v.text, now));
    }
}
} // namespace

// Any file as an INI file: one write (a key replaced, a key added, a section
// added; the last byte of the input chooses) reads back as written and
// changes what no other key reads.
MIRELVA_FUZZ_TARGET(ini) {
    static const QString file = QDir(FuzzScratchFolder()).filePath(QStringLiteral("fuzz.ini"));
    static const std::array<QString, 4> texts = {QStringLiteral("1"), QStringLiteral("Pane è più buono"),
                                                 QStringLiteral("C:\\Immagini\\€uro.gif"),
                                                 QStringLiteral("a=b")};
    WriteFuzzFile(file, data);
    const QList<Value> before = ReadAll(file, data);
    const int choice = data.isEmpty() ? 0 : quint8(data.back());
    const QString& text = texts[size_t(choice & 3)];
    const bool newKey = (choice & 4) != 0;
    const qsizetype pick = before.isEmpty() ? -1 : (choice >> 3) % (before.size() + 1);
    Value changed{QStringLiteral("Sezione nuova"), QStringLiteral("Chiave"), text};
    if (pick >= 0 && pick < before.size()) {
        changed.section = before[pick].section;
        changed.key =
            newKey || before[pick].key.isEmpty() ? QStringLiteral("Chiave nuova") : before[pick].key;
    }

    IniEngine::WriteString(file, changed.section, changed.key, changed.text);
    const QString written = IniEngine::ReadString(file, changed.section, changed.key, QString(), MaxValue);
    FUZZ_CHECK(written == text,
               QStringLiteral("[%1] %2 reads \"%3\"").arg(changed.section, changed.key, written));
    CheckOthersUnchanged(file, before, changed, "write");
}
