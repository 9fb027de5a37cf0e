#pragma once

#include "access/EdgeLayout.h"
#include "access/PhraseStore.h"
#include "access/Sentence.h"

#include <QHash>
#include <QImage>
#include <QRect>

// Draws what lies around the table on the window's canvas: the message bar
// (the sentence, its last word always in sight, and its actions) and the
// strip of the function keys' layouts; and, in place of the table, the view
// of the saved phrases.
class EdgeView {
public:
    // Both, over whatever the canvas holds there; returns the area drawn.
    QRect drawEdges(QImage& canvas, const EdgeLayout& layout, const QList<SentenceItem>& sentence);
    // The bar alone, after the sentence changed.
    QRect drawBar(QImage& canvas, const EdgeLayout& layout, const QList<SentenceItem>& sentence);
    // Large items with the phrases' labels, in `rects`.
    static void DrawPhrases(QImage& canvas, const QList<QRect>& rects, const QStringList& labels);

private:
    QImage picture(const QString& path, int side);

    // Pictures drawn in the bar, by path and size: a choice redraws the bar within a frame.
    QHash<QString, QImage> m_pictures;
};
