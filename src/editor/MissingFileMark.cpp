#include "editor/MissingFileMark.h"

#include "config/FileExists.h"
#include "editor/Twips.h"

#include <QLineEdit>

MissingFileMark::MissingFileMark(QLineEdit& box, int left, int top, int width, int height)
    : QLabel(box.parentWidget()), m_box(box), m_normalText(box.palette().color(QPalette::Text)) {
    setObjectName(box.objectName() + QStringLiteral("_mark"));
    setAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral("color: #d00000; font-weight: bold;"));
    Twips::Place(*this, left, top, width, height);
    connect(&box, &QLineEdit::textChanged, this, &MissingFileMark::check);
    check();
}

void MissingFileMark::check() {
    const QString path = m_box.text();
    const bool missing = !path.isEmpty() && !FileExists(path);
    setText(missing ? QStringLiteral("✖") : QString());
    setToolTip(missing ? QStringLiteral("File non trovato") : QString());
    setAccessibleName(toolTip());
    QPalette palette = m_box.palette();
    palette.setColor(QPalette::Text, missing ? QColor(0xd0, 0, 0) : m_normalText);
    m_box.setPalette(palette);
}
