#include "config/LayoutFile.h"

#include "config/DurableFile.h"
#include "config/FileExists.h"
#include "config/IniEncoding.h"
#include "config/IniSnapshot.h"
#include "config/Integer16.h"
#include "platform/WriteProtected.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <optional>

namespace LayoutFile {
namespace {
const QString KeyProgram = QStringLiteral("KeyProgram");
const QString Settings = QStringLiteral("Impostazioni");
const QString Forced = QStringLiteral("Input Obbligato");
const QString SequenceSection = QStringLiteral("Sequenza");
const QString BonusSection = QStringLiteral("Bonus");
const QString Pictures = QStringLiteral("Sezione Immagini");
const QString Sounds = QStringLiteral("Sezione Sonoro");
const QString Texts = QStringLiteral("Sezione Testo");
const QString FunctionKeySection = QStringLiteral("Tasti Funzione");
// Added after the nine sections, and only to layouts that have links, so a
// layout without them keeps the bytes it always had.
const QString LinkSection = QStringLiteral("Collegamenti");
const QString LinkKey = QStringLiteral("Collegamento");
const QString VoiceSection = QStringLiteral("Voce");
const QString VoiceKey = QStringLiteral("Nome");
const QString SequenceKey = QStringLiteral("SequenzaInput");
const QString PictureKey = QStringLiteral("Immagine");
const QString SoundKey = QStringLiteral("Sonoro");
const QString TextKey = QStringLiteral("Testo");
// A larger file reads as no layout at all, so none is written.
constexpr qsizetype MaxFileSize = 1024 * 1024;

// The text of a layout file, line by line, as the INI engine writes it.
class Lines {
public:
    explicit Lines(LayoutFile::Style style) : m_style(style) {}

    void Section(const QString& name) {
        if (!m_lines.isEmpty()) {
            m_lines << QString();
        }
        m_lines << QLatin1Char('[') + name + QLatin1Char(']');
    }
    void Value(const QString& key, const QString& value) {
        m_lines << key + QLatin1Char('=') + OneLine(value);
    }
    // The numbers of Impostazioni and Input Obbligato, in the writer's style.
    void Number(const QString& key, int value) {
        const QString equals =
            m_style == LayoutFile::Style::Installer ? QStringLiteral(" = ") : QStringLiteral("=");
        m_lines << key + equals + QString::number(value);
    }
    template <std::size_t N> void Numbered(const QString& prefix, const std::array<QString, N>& values) {
        for (std::size_t n = 0; n < N; ++n) {
            Value(prefix + QString::number(n + 1), values[n]);
        }
    }
    QString Text() const { return m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

private:
    // A value ends at a NUL and keeps to its line.
    static QString OneLine(const QString& value) {
        QString line = value.left(value.indexOf(QChar(0)));
        line.replace(QLatin1Char('\r'), QLatin1Char(' '));
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return line;
    }

    LayoutFile::Style m_style;
    QStringList m_lines;
};

Fault Found(Fault::Kind kind, int key = 0, QString value = QString(), int conversionError = 0) {
    return Fault{kind, key, std::move(value), conversionError, {}};
}

bool ZeroOrOne(qint16 v) {
    return v == 0 || v == 1;
}

// The file a save replaces: the existing name in any letter case, the file a
// link points to; nothing when that is not a file that may be replaced.
std::optional<QString> SaveTarget(const QString& path) {
    QString target = ResolveFileCase(path);
    QFileInfo info(target);
    if (info.isSymLink() && info.exists()) {
        target = info.canonicalFilePath();
        info = QFileInfo(target);
    }
    if (info.exists() && (!info.isFile() || WriteProtected(info))) {
        return std::nullopt;
    }
    return target;
}

// Reads numbers in the table's way: the first that is no number ends the load.
class StrictReader {
public:
    StrictReader(const IniSnapshot& file, LayoutData& data) : m_file(file), m_data(data) {}

    Fault Run() {
        if (!HasMarker(m_file)) {
            return Found(Fault::Kind::NotALayout);
        }
        std::optional<qint16> keys = Number(Settings, QStringLiteral("Tasti"));
        if (!keys) {
            return m_fault;
        }
        if (!TableShapeFor(*keys)) {
            return Found(Fault::Kind::KeyCount);
        }
        m_data.KeyCount = *keys;
        const std::optional<qint16> forced = Number(Forced, QStringLiteral("IsInput"));
        if (!forced) {
            return m_fault;
        }
        if (!ZeroOrOne(*forced)) {
            return Found(Fault::Kind::ForcedInput);
        }
        m_data.ForcedInput = *forced;
        if (m_data.ForcedInput == 1) {
            if (const Fault fault = LoadSequence(); fault.kind != Fault::Kind::None) {
                return fault;
            }
        }
        if (const Fault fault = CheckSections(); fault.kind != Fault::Kind::None) {
            return fault;
        }
        if (const Fault fault = LoadKeys(); fault.kind != Fault::Kind::None) {
            return fault;
        }
        m_data.FunctionKeyPaths = QStringList(FunctionKeys + 1);
        for (int f = 1; f <= FunctionKeys; ++f) {
            m_data.FunctionKeyPaths[f] = m_file.Value(FunctionKeySection, QStringLiteral("F%1").arg(f));
        }
        m_data.BonusPath = m_file.Value(BonusSection, QStringLiteral("File1"));
        m_data.Voice = m_file.Value(VoiceSection, VoiceKey);
        m_data.LinkPaths = QStringList(Keys() + 1);
        for (int i = 1; i <= Keys(); ++i) {
            m_data.LinkPaths[i] = m_file.Value(LinkSection, LinkKey + QString::number(i));
        }
        return {};
    }

private:
    std::optional<qint16> Number(const QString& section, const QString& key) {
        const Integer16 number = Integer16::FromText(m_file.Value(section, key));
        if (number.error != 0) {
            m_fault = Found(Fault::Kind::NotANumber, 0, QString(), number.error);
            return std::nullopt;
        }
        return number.value;
    }

    int Keys() const { return std::max<int>(m_data.KeyCount, 0); }

    Fault LoadSequence() {
        m_data.InputSequence = QList<qint16>(Keys() + 1, 0);
        for (int i = 1; i <= Keys(); ++i) {
            const QString text = m_file.Value(SequenceSection, SequenceKey + QString::number(i));
            const Integer16 number = Integer16::FromText(text);
            if (number.error != 0) {
                return Found(Fault::Kind::SequenceNotNumber, i, text);
            }
            if (number.value < 1 || number.value > MaxKeys) {
                return Found(Fault::Kind::SequenceValue, i, text);
            }
            m_data.InputSequence[i - 1] = number.value;
        }
        return {};
    }

    Fault CheckSections() {
        std::array<qint16, 4> on{};
        for (int n = 1; n <= 3; ++n) {
            const std::optional<qint16> value = Number(Settings, QStringLiteral("IsSezione%1").arg(n));
            if (!value) {
                return m_fault;
            }
            if (n == 1 ? *value != 1 : !ZeroOrOne(*value)) {
                static constexpr Fault::Kind Kinds[] = {Fault::Kind::Section1, Fault::Kind::Section2,
                                                        Fault::Kind::Section3};
                return Found(Kinds[n - 1]);
            }
            on[n] = *value;
        }
        for (int n = 1; n <= 3; ++n) {
            m_data.SectionOn[n] = on[n] == 1;
        }
        return {};
    }

    Fault LoadKeys() {
        if (m_data.SectionOn[1]) {
            if (const Fault fault =
                    LoadPaths(Pictures, PictureKey, m_data.PicturePaths, Fault::Kind::MissingPicture);
                fault.kind != Fault::Kind::None) {
                return fault;
            }
        }
        if (m_data.SectionOn[2]) {
            if (const Fault fault = LoadPaths(Sounds, SoundKey, m_data.SoundPaths, Fault::Kind::MissingSound);
                fault.kind != Fault::Kind::None) {
                return fault;
            }
        }
        if (m_data.SectionOn[3]) {
            m_data.KeyTexts = QStringList(Keys() + 1);
            for (int i = 1; i <= Keys(); ++i) {
                m_data.KeyTexts[i] = m_file.Value(Texts, TextKey + QString::number(i));
            }
        }
        return {};
    }

    // Paths are taken up to the first missing file; the rest of the section
    // is only looked at, to name every missing file.
    Fault LoadPaths(const QString& section, const QString& key, QStringList& paths, Fault::Kind missing) {
        paths = QStringList(Keys() + 1);
        Fault fault;
        for (int i = 1; i <= Keys(); ++i) {
            const QString path = m_file.Value(section, key + QString::number(i));
            if (!FileExists(path)) {
                if (fault.kind == Fault::Kind::None) {
                    fault = Found(missing, i, path);
                }
                fault.missing.append({i, path});
            } else if (fault.kind == Fault::Kind::None) {
                paths[i] = path;
            }
        }
        return fault;
    }

    const IniSnapshot& m_file;
    LayoutData& m_data;
    Fault m_fault;
};

// A value read as a 16-bit whole number; nothing when it is no number.
std::optional<qint16> WholeNumber(const QString& text) {
    const Integer16 number = Integer16::FromText(text);
    return number.error == 0 ? std::optional<qint16>(number.value) : std::nullopt;
}
} // namespace

bool HasMarker(const IniSnapshot& file) {
    return file.Value(KeyProgram, QStringLiteral("Key")).toUpper() == Marker;
}

bool IsLayout(const QString& path) {
    return HasMarker(IniSnapshot::FromFile(path));
}

QByteArray Encode(const LayoutContent& content, Style style) {
    Lines lines(style);
    lines.Section(KeyProgram);
    lines.Value(QStringLiteral("Key"), Marker);
    lines.Section(Settings);
    lines.Number(QStringLiteral("Tasti"), content.KeyCount);
    lines.Number(QStringLiteral("IsSezione1"), content.Section1On);
    lines.Number(QStringLiteral("IsSezione2"), content.Section2On);
    lines.Number(QStringLiteral("IsSezione3"), content.Section3On);
    lines.Section(Forced);
    lines.Number(QStringLiteral("IsInput"), content.ForcedInput);
    lines.Section(SequenceSection);
    lines.Numbered(SequenceKey, content.Sequence);
    lines.Section(BonusSection);
    lines.Value(QStringLiteral("File1"), content.Bonus);
    lines.Section(Pictures);
    lines.Numbered(PictureKey, content.Pictures);
    lines.Section(Sounds);
    lines.Numbered(SoundKey, content.Sounds);
    lines.Section(Texts);
    lines.Numbered(TextKey, content.Texts);
    lines.Section(FunctionKeySection);
    lines.Numbered(QStringLiteral("F"), content.FunctionKeyLayouts);
    if (std::any_of(content.Links.begin(), content.Links.end(),
                    [](const QString& l) { return !l.isEmpty(); })) {
        lines.Section(LinkSection);
        lines.Numbered(LinkKey, content.Links);
    }
    if (!content.Voice.isEmpty()) {
        lines.Section(VoiceSection);
        lines.Value(VoiceKey, content.Voice);
    }
    return IniEncoding::Encode(lines.Text());
}

Outcome Write(const LayoutContent& content, const QString& path) {
    const QByteArray bytes = Encode(content);
    if (bytes.size() > MaxFileSize) {
        return Outcome::Failed(QStringLiteral("il layout è troppo grande"),
                               QStringLiteral("%1: %2 byte").arg(path).arg(bytes.size()));
    }
    const std::optional<QString> target = SaveTarget(path);
    if (!target) {
        const QFileInfo info(ResolveFileCase(path));
        const int error = info.isDir() ? EISDIR : EACCES;
        return Outcome::Failed(DurableFile::ErrorText(error), path);
    }
    DurableFile::RemoveStaleTemporaries(*target);
    if (const int error = DurableFile::Write(*target, bytes); error != 0) {
        return Outcome::Failed(DurableFile::ErrorText(error), DurableFile::Detail(*target, error));
    }
    return Outcome::Done();
}

Fault Load(const IniSnapshot& file, LayoutData& data) {
    return StrictReader(file, data).Run();
}

Editable ReadForEditing(const IniSnapshot& file) {
    Editable read;
    if (!HasMarker(file)) {
        read.fault = Fault::Kind::NotALayout;
        return read;
    }
    const std::optional<qint16> keys = WholeNumber(file.Value(Settings, QStringLiteral("Tasti")));
    if (!keys) {
        read.fault = Fault::Kind::NotALayout;
        return read;
    }
    if (*keys > MaxKeys) {
        read.fault = Fault::Kind::KeyCount;
        return read;
    }
    // A switch that is no number makes the file as unusable as a bad marker.
    std::array<std::optional<qint16>, 4> switches = {
        WholeNumber(file.Value(Settings, QStringLiteral("IsSezione1"))),
        WholeNumber(file.Value(Settings, QStringLiteral("IsSezione2"))),
        WholeNumber(file.Value(Settings, QStringLiteral("IsSezione3"))),
        WholeNumber(file.Value(Forced, QStringLiteral("IsInput")))};
    if (std::any_of(switches.begin(), switches.end(), [](const auto& s) { return !s.has_value(); })) {
        read.fault = Fault::Kind::NotALayout;
        return read;
    }
    const auto zeroOrOne = [](const std::optional<qint16>& value) {
        return static_cast<qint16>(*value == 1);
    };
    LayoutContent& c = read.content;
    c.KeyCount = *keys;
    c.Section1On = 1;
    c.Section2On = zeroOrOne(switches[1]);
    c.Section3On = zeroOrOne(switches[2]);
    c.ForcedInput = zeroOrOne(switches[3]);
    c.Bonus = file.Value(BonusSection, QStringLiteral("File1"));
    for (int n = 1; n <= MaxKeys; ++n) {
        const QString number = QString::number(n);
        c.Sequence[n - 1] = file.Value(SequenceSection, SequenceKey + number);
        c.Pictures[n - 1] = file.Value(Pictures, PictureKey + number);
        c.Sounds[n - 1] = file.Value(Sounds, SoundKey + number);
        c.Texts[n - 1] = file.Value(Texts, TextKey + number);
        c.Links[n - 1] = file.Value(LinkSection, LinkKey + number);
    }
    for (int f = 1; f <= FunctionKeys; ++f) {
        c.FunctionKeyLayouts[f - 1] = file.Value(FunctionKeySection, QStringLiteral("F%1").arg(f));
    }
    c.Voice = file.Value(VoiceSection, VoiceKey);
    return read;
}
} // namespace LayoutFile
