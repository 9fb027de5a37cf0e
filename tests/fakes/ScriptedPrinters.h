#pragma once

#include "platform/IPrinters.h"

#include <QList>

// Printers with sizes the test chooses; records every page printed and can
// be told to fail like a printer that reports an error.
class ScriptedPrinters : public IPrinters {
public:
    struct Printer {
        QString name;
        QSize portraitTwips;
        QSize landscapeTwips;
        bool toFile = false;
    };
    struct Page {
        int index;
        QPageLayout::Orientation orientation;
        QSize pictureSize;
        QRect target;
        QString outputFile;
    };

    void refresh() override { ++refreshed; }
    QStringList names() const override {
        QStringList out;
        for (const auto& p : printers) {
            out << p.name;
        }
        return out;
    }
    int defaultIndex() const override { return current; }
    bool writesToFile(int index) const override { return printers.at(index).toFile; }
    QSize printableTwips(int index, QPageLayout::Orientation orientation) const override {
        const Printer& p = printers.at(index);
        return orientation == QPageLayout::Portrait ? p.portraitTwips : p.landscapeTwips;
    }
    bool printPage(int index, QPageLayout::Orientation orientation, const QImage& picture,
                   const QRect& target, const QString& outputFile) override {
        if (fail) {
            return false;
        }
        printed.append({index, orientation, picture.size(), target, outputFile});
        return true;
    }

    QList<Printer> printers;
    int current = 0;
    bool fail = false;
    int refreshed = 0;
    QList<Page> printed;
};
