#include "access/VoiceOptionsWidget.h"
#include "audio/VoiceSettings.h"
#include "fakes/FakeSpeechEngine.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using Engine = VoiceChoice::Engine;

namespace {
template <typename T> T* control(QWidget& w, const QString& name) {
    for (T* c : w.findChildren<T*>()) {
        if (c->accessibleName() == name) {
            return c;
        }
    }
    return nullptr;
}
} // namespace

class TstVoiceOptions : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    FakeSpeechEngines m_engines;
    RecordingAudioOutput m_out;

private slots:
    void init() {
        QFile::remove(VoiceSettings::FilePath(m_dir.path()));
        m_engines.present.clear();
        m_engines.present[Engine::Espeak] = {{"roa/it", "roa/it+f3"}, true};
        m_engines.log.clear();
    }

    // The saved voice shows as it was saved; one that is missing stays chosen
    // and the options window says once what is missing, while "Prova" is heard in espeak-ng.
    void savedVoiceThatIsMissing() {
        QVERIFY(VoiceSettings::Save(m_dir.path(), *VoiceChoice::parse("festival:pc_diphone;velocita=2")));
        VoiceOptionsWidget w(m_dir.path(), m_out, m_engines);
        QCOMPARE(w.choice(), *VoiceChoice::parse("festival:pc_diphone;velocita=2"));
        auto* notice = control<QLabel>(w, "Avviso sulla voce");
        QVERIFY(notice->text().contains("festival manca."));
        QVERIFY(!notice->isHidden());
        control<QPushButton>(w, "Prova")->click();
        QCOMPARE(m_engines.log.last(), "espeak speak " + VoiceOptionsWidget::SampleSentence + " rate 2 wait");
        QVERIFY(!m_out.allHeard().empty());
        // Saving again keeps the user's choice for when Festival is installed.
        QVERIFY(w.save());
        QCOMPARE(VoiceSettings::Load(m_dir.path()).voice, QString("pc_diphone"));
    }

    // Choosing an engine lists its voices; the controls' values reach "Prova" and the file.
    void choosingAVoice() {
        m_engines.present[Engine::Festival] = {{"lp_diphone", "pc_diphone"}, true};
        VoiceOptionsWidget w(m_dir.path(), m_out, m_engines);
        QCOMPARE(w.choice(), VoiceChoice{});
        auto* engine = control<QComboBox>(w, "Sintesi");
        auto* voice = control<QComboBox>(w, "Voce");
        engine->setCurrentIndex(engine->findData(int(Engine::Festival)));
        QCOMPARE(voice->count(), 3); // the engine's Italian voice and its two voices
        voice->setCurrentIndex(voice->findData("lp_diphone"));
        control<QSpinBox>(w, "Velocità")->setValue(-7);
        control<QSpinBox>(w, "Tono")->setValue(3);
        control<QSpinBox>(w, "Volume")->setValue(60);
        QVERIFY(control<QLabel>(w, "Avviso sulla voce")->isHidden());
        control<QPushButton>(w, "Prova")->click();
        QCOMPARE(m_engines.log.last(),
                 "festival speak " + VoiceOptionsWidget::SampleSentence + " rate -7 wait");
        QVERIFY(w.save());
        QCOMPARE(VoiceSettings::Load(m_dir.path()),
                 (VoiceChoice{Engine::Festival, "lp_diphone", {-7, 3, 60}}));
    }

    // The system's voice not running: said at once, when it is chosen.
    void choosingAnEngineThatIsNotThere() {
        VoiceOptionsWidget w(m_dir.path(), m_out, m_engines);
        auto* engine = control<QComboBox>(w, "Sintesi");
        engine->setCurrentIndex(engine->findData(int(Engine::SpeechDispatcher)));
        QVERIFY(control<QLabel>(w, "Avviso sulla voce")->text().contains("speechd manca."));
        QVERIFY(!QFile::exists(VoiceSettings::FilePath(m_dir.path()))); // nothing written before save()
    }
};

MIRELVA_TEST(TstVoiceOptions)
#include "voice_options.moc"
