#include "audio/SapiMarkup.h"

#include "fakes/TestRegistry.h"

#include <QtTest>

// Word and sentence events report positions in the caller's text: every
// position must lie within it, and the end of the speech is its length.
class TstMarkupPositions : public QObject {
    Q_OBJECT
private slots:
    void positionsStayWithinTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addRow("empty") << "";
        QTest::addRow("tags only") << "<emph/>";
        QTest::addRow("text then a tag") << "ab<emph/>";
        QTest::addRow("a tag then text") << "<silence msec=\"5\"/>ab";
        QTest::addRow("not markup") << "a < b";
    }
    void positionsStayWithinTheText() {
        QFETCH(QString, text);
        const SsmlText out = TranslateSapiMarkup(text, {0, "e"});
        for (int p = 0; p <= int(out.ssml.size()); ++p) {
            const int source = out.toSource(p);
            QVERIFY2(source >= 0 && source <= text.size(), qPrintable(QString::number(p)));
        }
        QCOMPARE(out.toSource(int(out.ssml.size())), int(text.size()));
    }
};
MIRELVA_TEST(TstMarkupPositions)
#include "markup_positions.moc"
