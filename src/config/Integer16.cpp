#include "config/Integer16.h"

#include <limits>

Integer16 Integer16::FromText(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed[i] == QLatin1Char('+') || trimmed[i] == QLatin1Char('-'))) {
        negative = trimmed[i] == QLatin1Char('-');
        ++i;
    }
    if (i == trimmed.size()) {
        return {0, TypeMismatch};
    }
    qint64 magnitude = 0;
    bool overflow = false;
    for (; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return {0, TypeMismatch};
        }
        // Keep reading after an overflow: "99999x" is still no number at all.
        magnitude = overflow ? magnitude : magnitude * 10 + (c.unicode() - '0');
        overflow = overflow || magnitude > 32768;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (overflow || value < std::numeric_limits<qint16>::min() ||
        value > std::numeric_limits<qint16>::max()) {
        return {0, Overflow};
    }
    return {static_cast<qint16>(value), 0};
}

QString Integer16::ErrorDescription(int error) {
    if (error == TypeMismatch) {
        return QStringLiteral("Tipo non corrispondente");
    }
    return error == Overflow ? QStringLiteral("Overflow") : QString();
}
