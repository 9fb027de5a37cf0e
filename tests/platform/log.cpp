#include "audio/cVoce.h"
#include "config/LayoutData.h"
#include "fakes/FakeSpeechEngine.h"
#include "fakes/LoggingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RuntimeTestProgram.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "obf/ObfSetupActions.h"
#include "platform/Log.h"
#include "runtime/KeyActivation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readFile;

namespace {
QStringList LogLines(const QString& folder) {
    return QString::fromUtf8(readFile(Log::FilePath(folder))).split('\n', Qt::SkipEmptyParts);
}
} // namespace

class TstLog : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Log::Uninstall(); }

    // Warnings and failures reach the file with their category; chatter does not.
    void whatIsWritten() {
        QTemporaryDir dir;
        Log::Install(dir.path());
        qCDebug(lcFiles) << "rumore";
        qCInfo(lcAudio) << "informazione";
        qCWarning(lcAudio) << "dispositivo assente";
        Log::Failure(lcImport, Outcome::Failed(QStringLiteral("il disco è pieno"),
                                               QStringLiteral("/x/a.png: No space")));
        Log::Failure(lcImport, Outcome::Done());
        const QStringList lines = LogLines(dir.path());
        QCOMPARE(lines.size(), 2);
        QVERIFY2(
            lines[0].contains(QRegularExpression(
                "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d warning mirelva.audio: .*dispositivo assente")),
            qPrintable(lines[0]));
        QVERIFY2(lines[1].endsWith("warning mirelva.import: il disco è pieno - /x/a.png: No space"),
                 qPrintable(lines[1]));
    }

    // A long life never fills the disk: the file moves aside at its cap and one older file is kept.
    void sizeIsCapped() {
        QTemporaryDir dir;
        Log::Install(dir.path());
        const QString line(1000, QLatin1Char('x'));
        for (int i = 0; i < 3 * Log::MaxFileSize / 1000; ++i) {
            qCWarning(lcFiles).noquote() << line;
        }
        const QString path = Log::FilePath(dir.path());
        QVERIFY(QFileInfo(path).size() <= Log::MaxFileSize);
        QVERIFY(QFileInfo(path + ".1").size() <= Log::MaxFileSize);
        QVERIFY(QFileInfo(path + ".1").size() > Log::MaxFileSize / 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    // A log file that cannot be written costs the lines, never the program.
    void unwritableFolder() {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(Log::FilePath(dir.path()))); // a folder where the file goes
        Log::Install(dir.path());
        qCWarning(lcFiles) << "perso";
        QVERIFY(QFileInfo(Log::FilePath(dir.path())).isDir());
    }

    // A failure in the field leaves one line with its reason for whoever helps: a damaged
    // file the user imports (the message shown as it always was)...
    void damagedImport_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<bool>("dataIsFile");
        QTest::addRow("board cut short")
            << "a.obf" << QByteArray(R"({"buttons": [)") << "JSON error" << false;
        QTest::addRow("set that is no ZIP")
            << "a.obz" << QByteArray("PK garbage") << "ZIP: not a ZIP" << false;
        QTest::addRow("data folder is a file")
            << "a.obf"
            << QByteArray(
                   R"({"format": "open-board-0.1", "id": "b", "buttons": [{"id": "1", "label": "ciao"}],
                             "grid": {"rows": 1, "columns": 1, "order": [["1"]]}})")
            << "cannot create a file in " << true;
    }
    void damagedImport() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, detail);
        QFETCH(bool, dataIsFile);
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        QVERIFY(TestSupport::writeFile(file, bytes));
        QVERIFY(!dataIsFile || TestSupport::writeFile(dir.filePath("dati"), "x"));
        Log::Install(dir.path());
        ScriptedFilePicker picker;
        picker.openAnswers.enqueue(file);
        RecordingMessages messages;
        QVERIFY(!ImportWithPicker(nullptr, dir.filePath("dati"), picker, messages, nullptr));
        QCOMPARE(messages.texts().size(), 1);
        const QStringList lines = LogLines(dir.path());
        QCOMPARE(lines.size(), 1);
        const QString shown = messages.texts().first().replace('\n', ' ');
        QVERIFY2(lines[0].contains("warning mirelva.import: " + shown + " - " + file + ": " + detail),
                 qPrintable(lines[0]));
    }

    // ...a speech engine that fails on a key's text (the error shown as before), and a
    // key's sound that is no WAV (nothing shown, as before).
    void failedOutput_data() {
        QTest::addColumn<int>("section");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("line");
        QTest::addRow("speech engine fails")
            << 3 << QStringList{"Errore della sintesi vocale"}
            << "warning mirelva.audio: Errore della sintesi vocale - espeak: synthesizer crashed";
        QTest::addRow("sound is no WAV")
            << 2 << QStringList{} << "warning mirelva.audio: Impossibile riprodurre il suono";
    }
    void failedOutput() {
        QFETCH(int, section);
        QFETCH(QStringList, shown);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const QString sound = dir.filePath("rotto.wav");
        QVERIFY(TestSupport::writeFile(sound, QByteArray("RIFF\x04\0\0\0WAVE", 12)));
        RuntimeTestProgram program;
        LoggingAudioOutput audio;
        FakeSpeechEngines engines;
        engines.present[VoiceChoice::Engine::Espeak] = {{"it"}, true, true};
        QStringList errors;
        KeyActivation activation({audio, program.folder(), cVoce::DefaultAttributes, &engines,
                                  [&](const QString& e) { errors << e; }});
        LayoutData layout;
        layout.KeyCount = 1;
        layout.SectionOn = {false, true, false, false};
        layout.SectionOn[section] = true;
        layout.KeyTexts = QStringList{"", "ciao"};
        layout.SoundPaths = QStringList{"", sound};
        Log::Install(dir.path());
        activation.Activate(layout, 1, false);
        QCOMPARE(errors, shown);
        const QStringList lines = LogLines(dir.path());
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains(line), qPrintable(lines[0]));
        QVERIFY2(section != 2 || lines[0].endsWith(sound + ": no format chunk"), qPrintable(lines[0]));
    }
};

MIRELVA_TEST(TstLog)
#include "log.moc"
