#include "audio/FestivalSpeechEngine.h"
#include "audio/SapiMarkup.h"
#include "audio/VoiceAttributes.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

class TstVoceMarkup : public QObject {
    Q_OBJECT

private slots:
    // Key texts with speech tags, as the SSML engines get them (the voice at rate -4).
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
            {"nested rates add up", "<rate speed=\"2\">a<rate speed=\"2\">b</rate>c</rate>",
             "<prosody rate=\"125%\">a</prosody><prosody rate=\"155%\">b</prosody><prosody "
             "rate=\"125%\">c</prosody>"},
            {"inner volume wins", "<volume level=\"50\"><volume level=\"25\">x</volume></volume>",
             "<prosody volume=\"25%\">x</prosody>"},
            {"pitch, absolute inside relative",
             "<pitch middle=\"4\">a<pitch absmiddle=\"-3\">x</pitch></pitch>",
             "<prosody pitch=\"+4st\">a</prosody><prosody pitch=\"-3st\">x</prosody>"},
            {"empty tag changes the rest", "a <rate speed=\"10\"/>b", "a <prosody rate=\"300%\">b</prosody>"},
            {"empty tag ends with its enclosing element", "<emph>a <volume level=\"20\"/>b</emph> c",
             "<emphasis>a </emphasis><prosody volume=\"20%\"><emphasis>b</emphasis></prosody> c"},
            {"spelling", "<spell>ciao</spell>", "<say-as interpret-as=\"characters\">ciao</say-as>"},
            {"tags without counterpart keep their text",
             "<voice required=\"Gender=Female\">ciao <pron sym=\"h eh\"/>a <bookmark mark=\"1\"/>te</voice>",
             "ciao a te"},
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
        // Characters XML refuses would stop the synthesizer.
        QTest::newRow("NUL and a lone surrogate")
            << QString("a") + QChar(0) + QChar(0xD800) + "b" << QString("<speak>a  b</speak>");
    }
    void translatesSpeechTags() {
        QFETCH(QString, text);
        QTEST(SpeechSsml(ParseSapiMarkup(text, -4), -4, "e"), "ssml");
    }

    // A voice without a word for "&" still gets it escaped; a plain text keeps its tags as words.
    void ampersandWithoutAWord() {
        QCOMPARE(SpeechSsml(ParseSapiMarkup("a & b", 0), 0, {}), QStringLiteral("<speak>a &amp; b</speak>"));
        QCOMPARE(SpeechSsml(PlainSpeech("<b>&", 0), 0, {}), QStringLiteral("<speak>&lt;b&gt;&amp;</speak>"));
    }

    // What Festival's Italian voices are given: nothing that stops or crashes them.
    void festivalSentences_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("sentences");
        QTest::addRow("sentences") << "Ciao. Come stai? Bene" << QStringList{"ciao.", "come stai?", "bene"};
        QTest::addRow("accents kept, capitals made small (Festival fails on them)")
            << QString::fromUtf8("PERCHÉ Città ÈÌÒÙ") << QStringList{QString::fromUtf8("perché città èìòù")};
        QTest::addRow("y with diaeresis crashes Festival") << QString::fromUtf8("ÿ") << QStringList{"y"};
        QTest::addRow("other accents dropped") << QString::fromUtf8("ñü ß") << QStringList{"nu ss"};
        QTest::addRow("percent and ampersand in words") << "50% & 3" << QStringList{"50 per cento e 3"};
        QTest::addRow("other alphabets and symbols are blanks")
            << QString::fromUtf8("Привет 你好 € @ # \" \\ 😀 mela") << QStringList{"mela"};
        QTest::addRow("nothing readable") << QString::fromUtf8("你好 ¿¡") << QStringList{};
        QTest::addRow("control characters") << QString("a\x01\x02\tb\nc") << QStringList{"a b c"};
        QTest::addRow("a word too long for Festival's memory is cut")
            << QString(90, u'a')
            << QStringList{QString(40, u'a') + ' ' + QString(40, u'a') + ' ' + QString(10, u'a')};
    }
    void festivalSentences() {
        QFETCH(QString, text);
        QStringList got;
        for (const QByteArray& s : FestivalSpeechEngine::FestivalSentences(text)) {
            got << QString::fromLatin1(s);
        }
        QTEST(got, "sentences");
    }

    // A long text without punctuation is cut into sentences Festival can hold.
    void festivalSentencesAreShort() {
        const QString text = QString("mela pera ").repeated(500);
        const std::vector<QByteArray> sentences = FestivalSpeechEngine::FestivalSentences(text);
        QVERIFY(sentences.size() > 20);
        for (const QByteArray& s : sentences) {
            QVERIFY2(s.size() <= 200, s.constData());
        }
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
