#include "obf/ObfReport.h"

#include <QFileInfo>

namespace {
QString Describe(ObfReport::Issue issue) {
    switch (issue) {
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
        return QStringLiteral("collegamento a una tabella che non è nel file");
    case ObfReport::Issue::ExtraLink:
        return QStringLiteral("collegamento oltre i tasti funzione disponibili, tralasciato");
    case ObfReport::Issue::Split:
        return QStringLiteral("più di 21 tasti: divisa in più layout, F12 passa al successivo");
    }
    return QString();
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
    lines << m_made;
    if (m_entries.isEmpty()) {
        lines << QStringLiteral("Tutto il contenuto è stato importato.");
        return lines.join(QLatin1Char('\n'));
    }
    lines << QStringLiteral("Non è stato possibile importare tutto:");
    for (const Entry& entry : m_entries) {
        lines << QStringLiteral("  %1, %2: %3").arg(entry.board, entry.detail, Describe(entry.issue));
    }
    return lines.join(QLatin1Char('\n'));
}
