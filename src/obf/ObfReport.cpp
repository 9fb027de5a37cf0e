#include "obf/ObfReport.h"

#include <QFileInfo>
#include <QMap>

namespace {
// Examples of each kind of issue shown in the message; the file has them all.
constexpr int Examples = 3;
// Layouts named one by one in the message; past that, only how many.
constexpr int NamedLayouts = 12;

QString Describe(ObfReport::Issue issue) {
    switch (issue) {
    case ObfReport::Issue::SkippedBoard:
        return QStringLiteral("tabella non importata (nessun tasto da mostrare, o file illeggibile)");
    case ObfReport::Issue::RemotePicture:
        return QStringLiteral("immagine su Internet, non scaricata (al suo posto la scritta del tasto)");
    case ObfReport::Issue::SymbolPicture:
        return QStringLiteral(
            "immagine di una raccolta di simboli non disponibile (al suo posto la scritta del "
            "tasto)");
    case ObfReport::Issue::BadPicture:
        return QStringLiteral("immagine mancante o illeggibile (al suo posto la scritta del tasto)");
    case ObfReport::Issue::RemoteSound:
        return QStringLiteral("suono su Internet, non scaricato: il tasto resta senza suono");
    case ObfReport::Issue::BadSound:
        return QStringLiteral("suono mancante o illeggibile: il tasto resta senza suono");
    case ObfReport::Issue::Action:
        return QStringLiteral("azione speciale non eseguibile, il tasto pronuncia solo il testo");
    case ObfReport::Issue::MissingLink:
        return QStringLiteral("collegamento a una tabella che non è nel file o non è stata importata");
    case ObfReport::Issue::Split:
        return QStringLiteral("più di 21 tasti: divisa in più layout, «Avanti» e F12 passano al successivo");
    }
    return QString();
}

QString Line(const ObfReport::Entry& entry) {
    return QStringLiteral("%1, %2").arg(entry.board, entry.detail);
}
} // namespace

void ObfReport::addLayout(const QString& board, const QString& path, int keys) {
    m_layouts << path;
    m_made << QStringLiteral("  %1 → %2 (%3 tasti)").arg(board, QFileInfo(path).fileName()).arg(keys);
}

void ObfReport::add(Issue issue, const QString& board, const QString& detail) {
    m_entries << Entry{issue, board, detail};
}

QString ObfReport::summary() const {
    QStringList lines;
    lines << (m_layouts.size() == 1
                  ? QStringLiteral("Importazione completata: 1 layout creato.")
                  : QStringLiteral("Importazione completata: %1 layout creati.").arg(m_layouts.size()));
    lines << m_made.mid(0, NamedLayouts);
    if (m_made.size() > NamedLayouts) {
        lines << QStringLiteral("  … e altri %1 layout").arg(m_made.size() - NamedLayouts);
    }
    if (m_entries.isEmpty()) {
        lines << QStringLiteral("Tutto il contenuto è stato importato.");
        return lines.join(QLatin1Char('\n'));
    }
    lines << QStringLiteral("Non è stato possibile importare tutto:");
    QMap<int, QList<Entry>> byIssue;
    for (const Entry& entry : m_entries) {
        byIssue[int(entry.issue)] << entry;
    }
    for (const QList<Entry>& entries : std::as_const(byIssue)) {
        lines << QStringLiteral("  %1 × %2").arg(entries.size()).arg(Describe(entries.first().issue));
        for (int i = 0; i < std::min<qsizetype>(Examples, entries.size()); ++i) {
            lines << QStringLiteral("      %1").arg(Line(entries[i]));
        }
        if (entries.size() > Examples) {
            lines << QStringLiteral("      …");
        }
    }
    if (!m_listFile.isEmpty()) {
        lines << QStringLiteral("L'elenco completo è nel file «%1».").arg(m_listFile);
    }
    return lines.join(QLatin1Char('\n'));
}

QString ObfReport::fullList() const {
    QStringList lines;
    lines << QStringLiteral("Layout creati: %1").arg(m_layouts.size()) << m_made << QString();
    QMap<int, QList<Entry>> byIssue;
    for (const Entry& entry : m_entries) {
        byIssue[int(entry.issue)] << entry;
    }
    for (const QList<Entry>& entries : std::as_const(byIssue)) {
        lines << QStringLiteral("%1 (%2):").arg(Describe(entries.first().issue)).arg(entries.size());
        for (const Entry& entry : entries) {
            lines << QStringLiteral("  %1").arg(Line(entry));
        }
        lines << QString();
    }
    return lines.join(QLatin1Char('\n'));
}
