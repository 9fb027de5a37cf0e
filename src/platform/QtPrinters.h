#pragma once

#include "platform/IPrinters.h"

#include <QList>
#include <QMarginsF>
#include <QPrinterInfo>

class QPrinter;

// The installed printers through Qt PrintSupport, followed by a PDF printer
// that writes the page into a file, so that a machine without any printer can
// still print the table.
class QtPrinters : public IPrinters {
public:
    // The name of the PDF printer, always the last entry.
    static const QString PdfPrinterName;
    // The PDF page keeps the unprintable border of a usual desktop printer, so
    // that the file prints on paper without losing the edges of the table.
    static constexpr qreal PdfMarginPoints = 18.0;

    void refresh() override;
    QStringList names() const override;
    int defaultIndex() const override;
    bool writesToFile(int index) const override;
    QSize printableTwips(int index, QPageLayout::Orientation orientation) const override;
    bool printPage(int index, QPageLayout::Orientation orientation, const QImage& picture,
                   const QRect& target, const QString& outputFile) override;

private:
    void configure(QPrinter& printer, int index, QPageLayout::Orientation orientation) const;
    // The printers are read when first needed, not when the object is made:
    // reading them loads the print system's libraries and asks its server,
    // which the program's start must not wait for.
    void readOnce() const;
    void read() const;

    mutable QList<QPrinterInfo> m_installed;
    mutable int m_default = 0;
    mutable bool m_read = false;
};
