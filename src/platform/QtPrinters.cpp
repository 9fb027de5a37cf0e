#include "platform/QtPrinters.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cmath>

const QString QtPrinters::PdfPrinterName = QStringLiteral("PDF");

namespace {
// Points are 1/72 inch and twips 1/1440 inch.
constexpr double TwipsPerPoint = 20.0;
} // namespace

void QtPrinters::refresh() {
    read();
}

void QtPrinters::readOnce() const {
    if (!m_read) {
        read();
    }
}

void QtPrinters::read() const {
    m_read = true;
    m_installed = QPrinterInfo::availablePrinters();
    m_default = 0;
    const QString current = QPrinterInfo::defaultPrinterName();
    for (int i = 0; i < m_installed.size(); ++i) {
        if (m_installed.at(i).printerName() == current) {
            m_default = i;
        }
    }
}

QStringList QtPrinters::names() const {
    readOnce();
    QStringList out;
    for (const auto& info : m_installed) {
        out << info.printerName();
    }
    out << PdfPrinterName;
    return out;
}

int QtPrinters::defaultIndex() const {
    readOnce();
    return m_default;
}

bool QtPrinters::writesToFile(int index) const {
    readOnce();
    return index >= m_installed.size();
}

void QtPrinters::configure(QPrinter& printer, int index, QPageLayout::Orientation orientation) const {
    if (writesToFile(index)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), orientation,
                        QMarginsF(PdfMarginPoints, PdfMarginPoints, PdfMarginPoints, PdfMarginPoints),
                        QPageLayout::Point));
        return;
    }
    printer.setPrinterName(m_installed.at(index).printerName());
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation);
}

QSize QtPrinters::printableTwips(int index, QPageLayout::Orientation orientation) const {
    readOnce();
    if (index < 0 || index > m_installed.size()) {
        return {0, 0};
    }
    QPrinter printer(QPrinter::HighResolution);
    configure(printer, index, orientation);
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Point);
    return {static_cast<int>(std::nearbyint(area.width() * TwipsPerPoint)),
            static_cast<int>(std::nearbyint(area.height() * TwipsPerPoint))};
}

bool QtPrinters::printPage(int index, QPageLayout::Orientation orientation, const QImage& picture,
                           const QRect& target, const QString& outputFile) {
    readOnce();
    if (index < 0 || index > m_installed.size() || picture.isNull()) {
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    configure(printer, index, orientation);
    printer.setDocName(QStringLiteral("Mirelva"));
    if (writesToFile(index)) {
        printer.setOutputFileName(outputFile);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // The painter starts at the top left of the printable area, in printer dots.
    const double dotsPerTwip = printer.resolution() / 1440.0;
    const QRectF dots(target.x() * dotsPerTwip, target.y() * dotsPerTwip, target.width() * dotsPerTwip,
                      target.height() * dotsPerTwip);
    // Qt stores pictures in a PDF as JPEG unless told otherwise; a printed
    // board is laminated and used for months, so thin lines must stay sharp.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(dots, picture);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return false;
    }
    if (writesToFile(index)) {
        const QFileInfo written(outputFile);
        return written.isFile() && written.size() > 0;
    }
    return true;
}
