#include "audio/SapiMarkup.h"
#include "audio/VoiceAttributes.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

class TstVoceMarkup : public QObject {
    Q_OBJECT

private slots:
    void translatesSpeechTags_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ssml");
        static const struct {
            const char* name;
            const char* text;
            const char* ssml;
        } rows[] = {
            {"empty", "", ""},
            {"silence, names in capitals", "a<SILENCE MSec=\"500\"/>b", "a<break time=\"500ms\"/>b"},
            {"silence cut to a minute", "<silence msec=\"99999999\"/>", "<break time=\"60000ms\"/>"},
            {"silence without a number", "<silence msec=\"molto\"/>x", "x"},
            // Around the program's rate -4: +10 steps is 3 times as fast.
            {"relative rate", "<rate speed=\"10\">x</rate>", "<prosody rate=\"300%\">x</prosody>"},
            {"absolute rate", "<rate absspeed=\"-10\">x</rate>", "<prosody rate=\"52%\">x</prosody>"},
            {"nested rates", "<rate speed=\"2\">a<rate speed=\"2\">b</rate></rate>",
             "<prosody rate=\"125%\">a<prosody rate=\"125%\">b</prosody></prosody>"},
            {"nested volumes", "<volume level=\"50\"><volume level=\"25\">x</volume></volume>",
             "<prosody volume=\"50%\"><prosody volume=\"50%\">x</prosody></prosody>"},
            {"pitch", "<pitch middle=\"4\"><pitch absmiddle=\"-3\">x</pitch></pitch>",
             "<prosody pitch=\"+4st\"><prosody pitch=\"-7st\">x</prosody></prosody>"},
            {"empty tag changes the rest", "a <rate speed=\"10\"/>b", "a <prosody rate=\"300%\">b</prosody>"},
            {"empty tag ends with its enclosing element", "<emph>a <volume level=\"20\"/>b</emph> c",
             "<emphasis>a <prosody volume=\"20%\">b</prosody></emphasis> c"},
            {"spelling", "<spell>ciao</spell>", "<say-as interpret-as=\"characters\">ciao</say-as>"},
            {"bookmark name quoted", "<bookmark mark='a\"&lt;b'/>", "<mark name=\"a&quot;&lt;b\"/>"},
            {"tags without counterpart keep their text",
             "<voice required=\"Gender=Female\">ciao <pron sym=\"h eh\"/>a te</voice>", "ciao a te"},
            {"entities stay escaped", "a &lt; b &gt; c", "a &lt; b &gt; c"},
            {"escaped ampersand read as e", "pane &amp; latte", "pane  e  latte"},
            {"CDATA", "<![CDATA[a<b]]>", "a&lt;b"},
            // Not well-formed: read as plain text, every character kept.
            {"bare ampersand", "Pane & latte", "Pane  e  latte"},
            {"bare less-than", "a < b", "a &lt; b"},
            {"unclosed tag", "<b>ciao", "&lt;b&gt;ciao"},
            {"stray end tag", "ciao</b>", "ciao&lt;/b&gt;"},
            {"trying to end the document", "</speak><speak>x", "&lt;/speak&gt;&lt;speak&gt;x"},
            {"declaration inside", "<?xml version=\"1.0\"?>x", "&lt;?xml version=\"1.0\"?&gt;x"},
            {"unknown entity", "&nbsp;x", " e nbsp;x"},
        };
        for (const auto& r : rows) {
            QTest::newRow(r.name) << QString(r.text) << "<speak>" + QString(r.ssml) + "</speak>";
        }
    }
    void translatesSpeechTags() {
        QFETCH(QString, text);
        QFETCH(QString, ssml);
        const SsmlText out = TranslateSapiMarkup(text, {-4, "e"});
        QCOMPARE(out.ssml, ssml);
        QCOMPARE(out.sourceIndex.size(), size_t(out.ssml.size()));
        // Word and sentence events report positions in the caller's text.
        for (int p = 0; p <= int(out.ssml.size()); ++p) {
            QVERIFY2(out.toSource(p) >= 0 && out.toSource(p) <= text.size(), qPrintable(QString::number(p)));
        }
        QCOMPARE(out.toSource(int(out.ssml.size())), int(text.size()));
    }

    // A voice without a word for "&" still gets it escaped.
    void ampersandWithoutAWord() {
        QCOMPARE(TranslateSapiMarkup("a & b", {0, {}}).ssml, QStringLiteral("<speak>a &amp; b</speak>"));
        QCOMPARE(PlainTextAsSsml("<b>&", {0, {}}).ssml, QStringLiteral("<speak>&lt;b&gt;&amp;</speak>"));
    }

    void tracesCharactersBackToTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<int>("source");
        QTest::addRow("after a tag") << "<emph>uno</emph> due" << QString("due") << 17;
        QTest::addRow("the entity itself") << "a &lt; b" << QString("&lt;") << 2;
        QTest::addRow("after a CR LF") << "<emph>a</emph>\r\nb" << QString("b") << 16;
        QTest::addRow("after an ampersand read as a word") << "x & y" << QString("y") << 4;
        QTest::addRow("character reference") << "&#233;ra" << QString("ra") << 6;
    }
    void tracesCharactersBackToTheText() {
        QFETCH(QString, text);
        QFETCH(QString, find);
        const SsmlText out = TranslateSapiMarkup(text, {0, "e"});
        const qsizetype at = out.ssml.indexOf(find);
        QVERIFY(at >= 0);
        QTEST(out.toSource(int(at)), "source");
    }

    // Layouts name a Windows language code; espeak-ng wants its own names.
    void windowsLanguageCodes_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("language");
        QTest::addRow("Italian, leading zero") << "0410" << QString("it");
        QTest::addRow("Swiss Italian") << "810" << QString("it");
        QTest::addRow("British English") << "809" << QString("en-gb");
        QTest::addRow("lower-case hex") << "c0a" << QString("es");
        QTest::addRow("decimal Italian is not Italian") << "1040" << QString();
        QTest::addRow("not a number") << "it" << QString();
    }
    void windowsLanguageCodes() {
        QFETCH(QString, code);
        QTEST(EspeakLanguageForWindowsCode(code), "language");
    }
};

MIRELVA_TEST(TstVoceMarkup)
#include "voce_markup.moc"
