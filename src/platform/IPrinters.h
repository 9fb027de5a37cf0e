#pragma once

#include <QImage>
#include <QPageLayout>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// The printers the print window can use. Every printer is given A4 paper and
// its sizes are in twips (1/1440 inch); a page position is measured from the
// top-left corner of the printable area.
class IPrinters {
public:
    virtual ~IPrinters() = default;
    // Reads the system's printers again; the print window does so each time it
    // opens, so that a printer installed meanwhile is offered.
    virtual void refresh() = 0;
    // The printers by device name, in the system's order.
    virtual QStringList names() const = 0;
    // The entry to preselect: the system's current printer.
    virtual int defaultIndex() const = 0;
    // True for a printer that writes the page into a file (the PDF printer):
    // the caller then chooses the file and passes it to printPage.
    virtual bool writesToFile(int index) const = 0;
    // Width and height of the printable area in the given orientation.
    virtual QSize printableTwips(int index, QPageLayout::Orientation orientation) const = 0;
    // Prints one page with the picture stretched into `target`. Returns false
    // when the printer (or the file) reports an error: nothing was printed.
    virtual bool printPage(int index, QPageLayout::Orientation orientation, const QImage& picture,
                           const QRect& target, const QString& outputFile) = 0;
};
