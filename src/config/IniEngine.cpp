#include "config/IniEngine.h"

#include "config/FileExists.h"
#include "config/IniEncoding.h"
#include "platform/WriteProtected.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <optional>

namespace {
// A real layout is a few KB. Every read decodes the whole file, and a
// layout load reads about a hundred values, so anything larger reads as
// absent (the usual messages about a missing or invalid layout follow) and
// is never rewritten.
constexpr qint64 MaxFileSize = 1024 * 1024;
const QString LineEnd = QStringLiteral("\r\n");

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n') || c == QLatin1Char('\v') || c == QLatin1Char('\f') || c == QChar(0x1A);
}

QStringView TrimmedView(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.mid(begin, end - begin);
}

QString Trimmed(QStringView text) {
    return TrimmedView(text).toString();
}

// The profile functions hand strings over as C strings.
QString CutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

// A value written into a line must stay on that line.
QString OneLine(const QString& text) {
    QString out = CutAtNul(text);
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

enum class LineKind { Blank, Header, Entry };

// Views into the line parsed: valid as long as the line's text is.
struct ParsedLine {
    LineKind kind = LineKind::Blank;
    QStringView name;
    QStringView value;
    bool hasValue = false;
};

ParsedLine Parse(QStringView line) {
    ParsedLine parsed;
    qsizetype start = 0;
    while (start < line.size() && IsBlank(line[start])) {
        ++start;
    }
    if (start == line.size()) {
        return parsed;
    }
    if (line[start] == QLatin1Char('[')) {
        // A header without its closing bracket is not a header: the line is
        // an entry of the section above it.
        const qsizetype close = line.indexOf(QLatin1Char(']'), start + 1);
        if (close >= 0) {
            parsed.kind = LineKind::Header;
            parsed.name = TrimmedView(line.mid(start + 1, close - start - 1));
            return parsed;
        }
    }
    parsed.kind = LineKind::Entry;
    const qsizetype equals = line.indexOf(QLatin1Char('='), start);
    if (equals < 0) {
        parsed.name = TrimmedView(line);
        return parsed;
    }
    parsed.name = TrimmedView(line.left(equals));
    parsed.value = TrimmedView(line.mid(equals + 1));
    parsed.hasValue = true;
    return parsed;
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            continue;
        }
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            ++i;
        }
        start = i + 1;
    }
    if (start < text.size()) {
        lines.append(text.mid(start));
    }
    return lines;
}

// The file a name leads to: a case variant on disk counts as the same file,
// and a link is followed to the file it names.
QString Locate(const QString& file) {
    QString path = QFileInfo::exists(file) ? file : ResolveFileCase(file);
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists()) {
        path = info.canonicalFilePath();
    }
    return path;
}

// One INI file read whole into lines; changes are written back whole.
class Document {
public:
    explicit Document(const QString& file) { Load(file); }

    // False for a path that is not a readable regular file that may be written.
    bool Usable() const { return m_state != State::Unusable; }

    qsizetype FindSection(const QString& name) const {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const ParsedLine parsed = Parse(lines[i]);
            if (parsed.kind == LineKind::Header && SameName(parsed.name, name)) {
                return i;
            }
        }
        return -1;
    }

    // The index of the header after the section's lines (or the end).
    qsizetype SectionEnd(qsizetype header) const {
        qsizetype i = header + 1;
        while (i < lines.size() && Parse(lines[i]).kind != LineKind::Header) {
            ++i;
        }
        return i;
    }

    // Where a new key of the section goes: after its last line that is not blank.
    qsizetype AppendPosition(qsizetype header) const {
        qsizetype pos = SectionEnd(header);
        while (pos - 1 > header && Parse(lines[pos - 1]).kind == LineKind::Blank) {
            --pos;
        }
        return pos;
    }

    qsizetype FindKey(qsizetype header, const QString& key) const {
        const qsizetype end = SectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i) {
            const ParsedLine parsed = Parse(lines[i]);
            if (parsed.kind == LineKind::Entry && SameName(parsed.name, key)) {
                return i;
            }
        }
        return -1;
    }

    void Save() const {
        if (m_state == State::Unusable) {
            return;
        }
        QString text = lines.join(LineEnd);
        if (!lines.isEmpty()) {
            text += LineEnd;
        }
        WriteBytes(IniEncoding::Encode(text, m_form));
    }

    QStringList lines;

private:
    enum class State { Absent, Present, Unusable };

    void Load(const QString& file) {
        if (file.isEmpty()) {
            m_state = State::Unusable;
            return;
        }
        m_path = Locate(file);
        const QFileInfo info(m_path);
        if (!info.exists()) {
            m_state = info.isSymLink() ? State::Unusable : State::Absent;
            return;
        }
        // Folders, devices and FIFOs are never read (a FIFO would block the
        // open, a device could be endless) and never written.
        if (!info.isFile() || info.size() > MaxFileSize) {
            m_state = State::Unusable;
            return;
        }
        QFile f(m_path);
        if (!f.open(QIODevice::ReadOnly)) {
            m_state = State::Unusable;
            return;
        }
        m_state = State::Present;
        m_readOnly = WriteProtected(info);
        Decode(f.read(info.size()));
    }

    void Decode(QByteArray bytes) {
        IniEncoding::Decoded decoded = IniEncoding::Decode(std::move(bytes));
        m_form = decoded.form;
        lines = SplitLines(decoded.text);
    }

    // The whole new content goes to a temporary file that then replaces the
    // old one, so a failed write never leaves a cut file behind.
    void WriteBytes(const QByteArray& bytes) const {
        if (m_readOnly) {
            return;
        }
        QSaveFile save(m_path);
        if (save.open(QIODevice::WriteOnly)) {
            if (save.write(bytes) == bytes.size()) {
                save.commit();
            }
            return;
        }
        // A folder we may not create files in, holding a file we may write.
        if (m_state != State::Present) {
            return;
        }
        QFile f(m_path);
        if (f.open(QIODevice::ReadWrite) && f.write(bytes) == bytes.size()) {
            f.resize(bytes.size());
        }
    }

    QString m_path;
    State m_state = State::Absent;
    bool m_readOnly = false;
    IniEncoding::Form m_form = IniEncoding::Form::Windows1252;
};

// The text of the file `ReadString` reads: the same files a Document reads
// (a case variant on disk counts as the same file), without the copies a
// Document makes to be written back.
std::optional<QString> ReadText(const QString& file) {
    if (file.isEmpty()) {
        return std::nullopt;
    }
    std::optional<QByteArray> bytes = ReadRegularFile(file, MaxFileSize);
    if (!bytes) {
        const QString resolved = ResolveFileCase(file);
        if (resolved == file || !(bytes = ReadRegularFile(resolved, MaxFileSize))) {
            return std::nullopt;
        }
    }
    return IniEncoding::Decode(std::move(*bytes)).text;
}

// The value of the first `key` in the first section named `section`, found
// in one pass over the text without copying a line. Lines outside the
// section are only looked at for a header.
std::optional<QStringView> FindValue(QStringView text, QStringView section, QStringView key) {
    bool inSection = false;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n')) {
            ++end;
        }
        const QStringView line = text.mid(start, end - start);
        if (inSection || line.contains(QLatin1Char('['))) {
            const ParsedLine parsed = Parse(line);
            if (parsed.kind == LineKind::Header) {
                // Only the first section of that name counts.
                if (inSection) {
                    return std::nullopt;
                }
                inSection = SameName(parsed.name, section);
            } else if (inSection && parsed.kind == LineKind::Entry && SameName(parsed.name, key)) {
                return parsed.value;
            }
        }
        const bool crLf =
            end + 1 < text.size() && text[end] == QLatin1Char('\r') && text[end + 1] == QLatin1Char('\n');
        start = end + (crLf ? 2 : 1);
    }
    return std::nullopt;
}

} // namespace

namespace IniEngine {
std::optional<QString> ReadFileText(const QString& file) {
    return ReadText(file);
}

QString LookUp(const std::optional<QString>& text, const QString& section, const QString& key,
               const QString& defaultValue, int bufferSize) {
    if (bufferSize <= 0) {
        return {};
    }
    QString value;
    bool found = false;
    if (text) {
        if (const std::optional<QStringView> v = FindValue(*text, TrimmedView(section), TrimmedView(key))) {
            value = v->toString();
            found = true;
        }
    }
    if (!found) {
        value = Trimmed(CutAtNul(defaultValue));
    } else if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) {
        value = value.mid(1, value.size() - 2);
    }
    value = CutAtNul(value);
    value.truncate(bufferSize - 1);
    return value;
}

QString ReadString(const QString& file, const QString& section, const QString& key,
                   const QString& defaultValue, int bufferSize) {
    if (bufferSize <= 0) {
        return {};
    }
    return LookUp(ReadText(file), section, key, defaultValue, bufferSize);
}

void WriteString(const QString& file, const QString& section, const QString& key, const QString& value) {
    Document doc(file);
    if (!doc.Usable()) {
        return;
    }
    const QString sectionName = Trimmed(OneLine(section));
    const QString keyName = Trimmed(OneLine(key));
    const QString text = OneLine(value);
    const qsizetype header = doc.FindSection(sectionName);
    if (header < 0) {
        doc.lines << QLatin1Char('[') + sectionName + QLatin1Char(']') << keyName + QLatin1Char('=') + text;
    } else if (const qsizetype line = doc.FindKey(header, keyName); line >= 0) {
        doc.lines[line] = Parse(doc.lines[line]).name.toString() + QLatin1Char('=') + text;
    } else {
        doc.lines.insert(doc.AppendPosition(header), keyName + QLatin1Char('=') + text);
    }
    doc.Save();
}

} // namespace IniEngine
