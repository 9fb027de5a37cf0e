// Fuzzed code: config/IniEngine.cpp config/IniEncoding.cpp config/Windows1252.cpp config/FileExists.cpp
#include "FuzzTarget.h"

#include "config/IniEngine.h"

#include <QDir>
#include <QStringList>

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

QStringList Entries(const QString& text, int count) {
    return text.left(count).split(QChar(0), Qt::SkipEmptyParts);
}

// Every key the file offers through the enumerations, with what it reads.
// Room for everything a file of `bytes` bytes holds, names and values alike.
QList<Value> ReadAll(const QString& file, int bytes) {
    const int size = 2 * bytes + 16;
    QList<Value> values;
    QString buffer;
    QStringList sections;
    for (const QString& name : Entries(buffer, IniEngine::ReadSectionNames(file, buffer, size))) {
        if (!sections.contains(name, Qt::CaseInsensitive)) {
            sections << name;
        }
    }
    for (const QString& section : sections) {
        // A section without keys is kept too, with an empty key, as a place to add one.
        const qsizetype first = values.size();
        for (const QString& entry : Entries(buffer, IniEngine::ReadSection(file, section, buffer, size))) {
            const QString key = entry.section(QLatin1Char('='), 0, 0);
            if (values.size() < MaxKeys) {
                values.append({section, key, IniEngine::ReadString(file, section, key, QString(), MaxValue)});
            }
        }
        if (values.size() == first && values.size() < MaxKeys) {
            values.append({section, QString(), QString()});
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

// Any file as an INI file: after reading and enumerating it, one write (a
// key replaced, a key added, a section added; the last byte of the input
// chooses) reads back as written, and neither that write nor deleting the
// key again changes what any other key reads.
MIRELVA_FUZZ_TARGET(ini) {
    static const QString file = QDir(FuzzScratchFolder()).filePath(QStringLiteral("fuzz.ini"));
    static const std::array<QString, 4> texts = {QStringLiteral("1"), QStringLiteral("Pane è più buono"),
                                                 QStringLiteral("C:\\Immagini\\€uro.gif"),
                                                 QStringLiteral("a=b")};
    WriteFuzzFile(file, data);
    const QList<Value> before = ReadAll(file, int(data.size()));
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

    IniEngine::DeleteKey(file, changed.section, changed.key);
    CheckOthersUnchanged(file, before, changed, "delete");
}
