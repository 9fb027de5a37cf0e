#include "audio/WavSource.h"

#include "audio/WavDecoder.h"

void DecodeWav(const QByteArray& wav, AudioFormat target,
               const std::function<void(std::span<const qint16>)>& sink) {
    WavDecoder decoder(wav, target);
    for (std::vector<qint16> piece = decoder.next(); !piece.empty(); piece = decoder.next()) {
        sink(piece);
    }
}
