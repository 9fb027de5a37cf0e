#include "access/PhraseStore.h"

#include "config/DurableFile.h"
#include "config/Windows1252.h"
#include "platform/RegularFile.h"
#include "platform/WriteProtected.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
const QString FileName = QStringLiteral("frasi.txt");
const QString FavouritesHeader = QStringLiteral("[Preferite]");
const QString RecentHeader = QStringLiteral("[Recenti]");
const QChar SoundMark = QChar(0x266A);
const QChar Separator = QLatin1Char('\t');
// A line longer than this is no phrase anybody wrote.
constexpr qsizetype MaxLineLength = 4000;

QString Decoded(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16);
        return utf16(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? Windows1252::Decode(bytes) : text;
}

bool Readable(const QString& line) {
    for (const QChar c : line) {
        if (c != Separator && (c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter)) {
            return false;
        }
    }
    return line.size() <= MaxLineLength;
}

// One field of a line: tabs and line breaks would split it.
QString Field(const QString& text) {
    QString field = text;
    for (QChar& c : field) {
        if (c == Separator || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            c = QLatin1Char(' ');
        }
    }
    return field;
}

Phrase ParseLine(const QString& line) {
    const QStringList fields = line.split(Separator);
    Phrase phrase{fields.first().trimmed(), {}};
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const QString& f = fields.at(i);
        if (f.startsWith(SoundMark)) {
            phrase.items.append({QString(), f.mid(1).trimmed(), QString()});
        } else if (!f.trimmed().isEmpty()) {
            phrase.items.append({f.trimmed(), QString(), QString()});
        }
    }
    if (phrase.items.isEmpty()) {
        phrase.items.append({phrase.label, QString(), QString()});
    }
    return phrase;
}

QString LineOf(const Phrase& phrase) {
    QStringList fields{Field(phrase.label)};
    for (const SentenceItem& item : phrase.items) {
        if (!item.text.trimmed().isEmpty()) {
            fields << Field(item.text);
        } else if (!item.sound.isEmpty()) {
            fields << SoundMark + Field(item.sound);
        }
    }
    return fields.join(Separator);
}

Phrase FromItems(const QList<SentenceItem>& items) {
    Phrase phrase{Sentence::PlainTextOf(items), {}};
    for (const SentenceItem& item : items) {
        // The bar's pictures belong to the layout of the moment; a phrase keeps what it says.
        phrase.items.append({item.text, item.text.trimmed().isEmpty() ? item.sound : QString(), QString()});
    }
    if (phrase.label.isEmpty()) {
        phrase.label = QStringLiteral("(suoni)");
    }
    return phrase;
}

bool SameWords(const Phrase& a, const Phrase& b) {
    return a.items == b.items;
}
} // namespace

Phrase Phrase::Written(const QString& text) {
    const QString simple = text.simplified();
    return {simple, {{simple, QString(), QString()}}};
}

QString PhraseStore::FilePath(const QString& dataFolder) {
    return dataFolder + QLatin1Char('/') + FileName;
}

PhraseStore::PhraseStore(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

void PhraseStore::load(QString* notice) {
    m_favourites.clear();
    m_recent.clear();
    m_damaged = false;
    const QString path = FilePath(m_dataFolder);
    const QFileInfo info(path);
    if (!info.exists()) {
        return;
    }
    QStringList lost;
    const std::optional<QByteArray> bytes =
        info.isFile() ? ReadRegularFile(path, std::numeric_limits<qint64>::max(), MaxReadBytes)
                      : std::nullopt;
    if (!bytes) {
        lost << QStringLiteral(
            "il file non si può leggere (al suo posto c'è una cartella o un file speciale)");
    }
    QStringList lines = Decoded(bytes.value_or(QByteArray())).split(QLatin1Char('\n'));
    if (info.size() > MaxReadBytes && !lines.isEmpty()) {
        // The last line read is cut in the middle.
        lines.removeLast();
        lost << QStringLiteral("il file è troppo grande: si leggono solo le prime frasi");
    }
    int unreadable = 0;
    QList<Phrase>* list = &m_recent;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (line.startsWith(QChar(0xFEFF))) {
            line.remove(0, 1);
        }
        const QString header = line.trimmed();
        if (header.compare(FavouritesHeader, Qt::CaseInsensitive) == 0) {
            list = &m_favourites;
        } else if (header.compare(RecentHeader, Qt::CaseInsensitive) == 0) {
            list = &m_recent;
        } else if (!Readable(line)) {
            ++unreadable;
        } else if (!header.isEmpty()) {
            list->append(ParseLine(line));
        }
    }
    if (unreadable > 0) {
        lost << QStringLiteral("%1 righe illeggibili sono state lasciate da parte").arg(unreadable);
    }
    if (m_recent.size() > MaxRecent) {
        m_recent.resize(MaxRecent);
    }
    if (m_favourites.size() > MaxFavourites) {
        m_favourites.resize(MaxFavourites);
        lost << QStringLiteral("si tengono solo le prime %1 frasi preferite").arg(MaxFavourites);
    }
    m_damaged = !lost.isEmpty() && info.isFile();
    if (!lost.isEmpty() && notice != nullptr) {
        *notice = QStringLiteral("Il file delle frasi «%1» è danneggiato: %2.\r\nSi usano le frasi che si "
                                 "sono potute leggere; al primo salvataggio il file com'era viene "
                                 "conservato accanto con il nome «%3».")
                      .arg(QDir::toNativeSeparators(path), lost.join(QStringLiteral("; ")),
                           FileName + QStringLiteral(".danneggiato"));
    }
}

Outcome PhraseStore::save() {
    const QString path = FilePath(m_dataFolder);
    const QString shown = QDir::toNativeSeparators(path);
    const auto fail = [&path](const QString& why, const QString& detail) {
        return Outcome::Failed(why, path + QStringLiteral(": ") + detail);
    };
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        return fail(QStringLiteral("Le frasi non sono state salvate: al posto del file «%1» c'è una "
                                   "cartella.\r\nSpostarla o rinominarla.")
                        .arg(shown),
                    QStringLiteral("not a file"));
    }
    if (info.exists() && WriteProtected(info)) {
        return fail(QStringLiteral("Le frasi non sono state salvate: il file «%1» è protetto da scrittura.")
                        .arg(shown),
                    QStringLiteral("write-protected"));
    }
    if (m_damaged) {
        // The damaged file stays beside the new one, under a name nobody else uses.
        QString copy = path + QStringLiteral(".danneggiato");
        for (int n = 2; QFileInfo::exists(copy); ++n) {
            copy = path + QStringLiteral(".danneggiato%1").arg(n);
        }
        if (!QFile::copy(path, copy)) {
            return fail(QStringLiteral("Le frasi non sono state salvate: non si è potuta fare una copia del "
                                       "file danneggiato «%1».")
                            .arg(shown),
                        QStringLiteral("cannot copy to ") + copy);
        }
        m_damaged = false;
    }
    QStringList lines{FavouritesHeader};
    for (const Phrase& p : m_favourites) {
        lines << LineOf(p);
    }
    lines << RecentHeader;
    for (const Phrase& p : m_recent) {
        lines << LineOf(p);
    }
    if (const int error =
            DurableFile::Write(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8())) {
        return Outcome::Failed(QStringLiteral("Impossibile salvare le frasi in «%1»: %2.")
                                   .arg(shown, DurableFile::ErrorText(error)),
                               DurableFile::Detail(path, error));
    }
    return Outcome::Done();
}

void PhraseStore::setFavourites(const QList<Phrase>& favourites) {
    m_favourites = favourites.mid(0, MaxFavourites);
}

void PhraseStore::addRecent(const QList<SentenceItem>& items) {
    const Phrase phrase = FromItems(items);
    if (phrase.items.isEmpty()) {
        return;
    }
    m_recent.removeIf([&](const Phrase& p) { return SameWords(p, phrase); });
    m_recent.prepend(phrase);
    if (m_recent.size() > MaxRecent) {
        m_recent.resize(MaxRecent);
    }
}

bool PhraseStore::addFavourite(const QList<SentenceItem>& items) {
    const Phrase phrase = FromItems(items);
    if (phrase.items.isEmpty() || m_favourites.size() >= MaxFavourites ||
        std::any_of(m_favourites.begin(), m_favourites.end(),
                    [&](const Phrase& p) { return SameWords(p, phrase); })) {
        return false;
    }
    m_favourites.append(phrase);
    return true;
}
