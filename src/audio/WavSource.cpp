#include "audio/WavSource.h"

#include "audio/AudioConverter.h"
#include "audio/AudioLibraries.h"

#include <QFile>

#include <SDL.h>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::optional<QByteArray> result;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray bytes;
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        bool failed = false;
        // A file that shrinks while it is read ends early; one that grows is cut.
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                failed = true;
                break;
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        if (!failed) {
            bytes.resize(done);
            result = bytes;
        }
    }
    ::close(fd);
    return result;
}

void DecodeWav(const QByteArray& wav, AudioFormat target,
               const std::function<void(std::span<const qint16>)>& sink) {
    const SdlFunctions* sdl = Sdl();
    if (wav.isEmpty() || sdl == nullptr) {
        return;
    }
    SDL_RWops* rw = sdl->RWFromConstMem(wav.constData(), int(wav.size()));
    if (rw == nullptr) {
        return;
    }
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (sdl->LoadWAV_RW(rw, 1, &spec, &buffer, &length) == nullptr) {
        return;
    }
    const Uint32 frameBytes = Uint32(SDL_AUDIO_BITSIZE(spec.format) / 8) * spec.channels;
    const Uint64 maxBytes = Uint64(frameBytes) * Uint64(spec.freq) * MaxSoundSeconds;
    if (length > maxBytes) {
        length = Uint32(maxBytes);
    }
    AudioConverter converter(spec.format, spec.channels, spec.freq, target);
    if (converter.isValid() && length > 0 && frameBytes > 0) {
        const auto give = [&](const std::vector<qint16>& samples) {
            if (!samples.empty()) {
                sink(samples);
            }
        };
        // The first 20 ms alone, then the rest at once.
        const Uint32 first = std::min(length, std::max<Uint32>(1, Uint32(spec.freq) / 50) * frameBytes);
        give(converter.put(buffer, int(first)));
        if (length > first) {
            give(converter.put(buffer + first, int(length - first)));
        }
        give(converter.finish());
    }
    sdl->FreeWAV(buffer);
}
