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
        QTest::addRow("empty") << ""
                               << "<speak></speak>";
        QTest::addRow("silence") << "a<silence msec=\"500\"/>b"
                                 << "<speak>a<break time=\"500ms\"/>b</speak>";
        QTest::addRow("names in capitals") << "<SILENCE MSec=\"200\"/>"
                                           << "<speak><break time=\"200ms\"/></speak>";
        QTest::addRow("silence cut to a minute") << "<silence msec=\"99999999\"/>"
                                                 << "<speak><break time=\"60000ms\"/></speak>";
        QTest::addRow("silence without a number") << "<silence msec=\"molto\"/>x"
                                                  << "<speak>x</speak>";
        // Around the program's rate -4: +10 steps is 3 times as fast.
        QTest::addRow("relative rate") << "<rate speed=\"10\">x</rate>"
                                       << "<speak><prosody rate=\"300%\">x</prosody></speak>";
        QTest::addRow("absolute rate") << "<rate absspeed=\"-10\">x</rate>"
                                       << "<speak><prosody rate=\"52%\">x</prosody></speak>";
        QTest::addRow("nested rates")
            << "<rate speed=\"2\">a<rate speed=\"2\">b</rate></rate>"
            << "<speak><prosody rate=\"125%\">a<prosody rate=\"125%\">b</prosody></prosody></speak>";
        QTest::addRow("rate unchanged") << "<rate absspeed=\"-4\">x</rate>"
                                        << "<speak>x</speak>";
        QTest::addRow("nested volumes")
            << "<volume level=\"50\"><volume level=\"25\">x</volume></volume>"
            << "<speak><prosody volume=\"50%\"><prosody volume=\"50%\">x</prosody></prosody></speak>";
        QTest::addRow("pitch")
            << "<pitch middle=\"4\"><pitch absmiddle=\"-3\">x</pitch></pitch>"
            << "<speak><prosody pitch=\"+4st\"><prosody pitch=\"-7st\">x</prosody></prosody></speak>";
        QTest::addRow("empty tag changes the rest") << "a <rate speed=\"10\"/>b"
                                                    << "<speak>a <prosody rate=\"300%\">b</prosody></speak>";
        QTest::addRow("empty tag ends with its enclosing element")
            << "<emph>a <volume level=\"20\"/>b</emph> c"
            << "<speak><emphasis>a <prosody volume=\"20%\">b</prosody></emphasis> c</speak>";
        QTest::addRow("spelling") << "<spell>ciao</spell>"
                                  << "<speak><say-as interpret-as=\"characters\">ciao</say-as></speak>";
        QTest::addRow("bookmark") << "a<bookmark mark=\"uno\"/>b"
                                  << "<speak>a<mark name=\"uno\"/>b</speak>";
        QTest::addRow("bookmark name quoted") << "<bookmark mark='a\"&lt;b'/>"
                                              << "<speak><mark name=\"a&quot;&lt;b\"/></speak>";
        QTest::addRow("tags without counterpart keep their text")
            << "<voice required=\"Gender=Female\">ciao <pron sym=\"h eh\"/>a te</voice>"
            << "<speak>ciao a te</speak>";
        QTest::addRow("entities stay escaped") << "a &lt; b &gt; c"
                                               << "<speak>a &lt; b &gt; c</speak>";
        QTest::addRow("escaped ampersand read as e") << "pane &amp; latte"
                                                     << "<speak>pane  e  latte</speak>";
        QTest::addRow("CDATA") << "<![CDATA[a<b]]>"
                               << "<speak>a&lt;b</speak>";
        // Not well-formed: read as plain text, every character kept.
        QTest::addRow("bare ampersand") << "Pane & latte"
                                        << "<speak>Pane  e  latte</speak>";
        QTest::addRow("bare less-than") << "a < b"
                                        << "<speak>a &lt; b</speak>";
        QTest::addRow("unclosed tag") << "<b>ciao"
                                      << "<speak>&lt;b&gt;ciao</speak>";
        QTest::addRow("stray end tag") << "ciao</b>"
                                       << "<speak>ciao&lt;/b&gt;</speak>";
        QTest::addRow("trying to end the document") << "</speak><speak>x"
                                                    << "<speak>&lt;/speak&gt;&lt;speak&gt;x</speak>";
        QTest::addRow("declaration inside") << "<?xml version=\"1.0\"?>x"
                                            << "<speak>&lt;?xml version=\"1.0\"?&gt;x</speak>";
        QTest::addRow("unknown entity") << "&nbsp;x"
                                        << "<speak> e nbsp;x</speak>";
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
        QTest::addRow("after a tag") << "<emph>uno</emph> due"
                                     << "due" << 17;
        QTest::addRow("the entity itself") << "a &lt; b"
                                           << "&lt;" << 2;
        QTest::addRow("after a CR LF") << "<emph>a</emph>\r\nb"
                                       << "b" << 16;
        QTest::addRow("after an ampersand read as a word") << "x & y"
                                                           << "y" << 4;
        QTest::addRow("character reference") << "&#233;ra"
                                             << "ra" << 6;
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
        QTest::addRow("Italian, leading zero") << "0410"
                                               << "it";
        QTest::addRow("Swiss Italian") << "810"
                                       << "it";
        QTest::addRow("British English") << "809"
                                         << "en-gb";
        QTest::addRow("lower-case hex") << "c0a"
                                        << "es";
        QTest::addRow("decimal Italian is not Italian") << "1040"
                                                        << "";
        QTest::addRow("not a number") << "it"
                                      << "";
    }
    void windowsLanguageCodes() {
        QFETCH(QString, code);
        QTEST(EspeakLanguageForWindowsCode(code), "language");
    }
};

MIRELVA_TEST(TstVoceMarkup)
#include "voce_markup.moc"
