#include "SettingsProbe.h"

#include "NoServices.h"

#include "audio/IAudioOutput.h"
#include "audio/SdlCaptureSource.h"
#include "config/CINIFile.h"
#include "editor/LayoutWriter.h"
#include "editor/frmSetup.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace {
class SilentServices : public IMessages, public NoPicker, public SilentAudio {
public:
    void showMessage(const QString&, MsgIcon, const QString&) override { ++messages; }
    bool askYesNo(const QString&, const QString&) override { return false; }
    int messages = 0;
};

// A program folder with a 21-key layout; `pictures` false leaves the picture files out.
struct SettingsFolder {
    explicit SettingsFolder(bool pictures) {
        QImage photo(3000, 2250, QImage::Format_RGB32);
        QPainter painter(&photo);
        painter.fillRect(photo.rect(), QLinearGradient(0, 0, 3000, 2250));
        for (int y = 0; y < 2250; y += 75) {
            painter.fillRect(0, y, 3000, 30, QColor::fromHsv(y % 360, 200, 220));
        }
        painter.end();
        LayoutContent content;
        content.KeyCount = 21;
        const QString first = dir.filePath(QStringLiteral("foto1.jpg"));
        for (int k = 1; k <= 21; ++k) {
            content.Pictures[k - 1] = dir.filePath(QStringLiteral("foto%1.jpg").arg(k));
            if (pictures) {
                k == 1 ? void(photo.save(first, "JPEG", 90))
                       : void(QFile::copy(first, content.Pictures[k - 1]));
            }
        }
        valid = LayoutWriter::Save(content, dir.filePath(QStringLiteral("a.ini")), dir.path()).ok();
    }
    QTemporaryDir dir;
    bool valid = false;
};

void OpenSettings(benchmark::State& state, bool pictures) {
    static SettingsFolder withPictures(true);
    static SettingsFolder without(false);
    const SettingsFolder& folder = pictures ? withPictures : without;
    SilentServices services;
    SdlCaptureSource microphone;
    SetupState setupState;
    const SetupTools tools{services, microphone, {}, {}};
    for (auto _ : state) {
        ResetSharedIni();
        const auto start = std::chrono::steady_clock::now();
        auto window = std::make_unique<frmSetup>(folder.dir.path(), setupState, services, services, tools);
        window->show();
        QCoreApplication::processEvents();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!folder.valid || services.messages != 0) {
            state.SkipWithError("the settings window did not open on the layout");
            return;
        }
        // The thumbnails still being made do not count in the opening.
        window->waitForThumbnails();
    }
}
} // namespace

void BM_OpenSettings(benchmark::State& state) {
    OpenSettings(state, true);
}

void BM_OpenSettingsFloor(benchmark::State& state) {
    OpenSettings(state, false);
}
