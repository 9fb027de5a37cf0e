// A machine where SDL finds no usable audio: everything plays nothing,
// returns at once and reports nothing.
#include "audio/SdlAudioOutput.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"
#include "fakes/TestRegistry.h"

#include <QTemporaryDir>
#include <QtTest>

class TstSoundNoDevice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // A driver that does not exist: SDL's audio cannot start at all.
        qputenv("SDL_AUDIODRIVER", "nessuno");
    }

    void silentWithoutADevice() {
        SdlAudioOutput output;
        QVERIFY(!output.hasDevice());
        QTemporaryDir dir;
        const QString path = dir.filePath("suono.wav");
        QVERIFY(TestSupport::writeFile(path, WavTestFiles::wav(WavTestFiles::sine(22050 * 30, 1, 22050), 1,
                                                               22050, WavTestFiles::Encoding::Pcm16)));
        cSound sound(output);
        sound.setFileName(path);
        sound.PlayFile(0); // thirty seconds of sound that no one can hear: returns at once
        QVERIFY(!output.isPlaying());
        cVoce voce(output);
        QVERIFY(voce.hasSynthesizer());
        QVERIFY(!voce.Speak("Mela"));
        voce.PauseSpeech();
        voce.ResumeSpeech();
        sound.StopSound();
    }
};

MIRELVA_TEST(TstSoundNoDevice)
#include "sound_nodevice.moc"
