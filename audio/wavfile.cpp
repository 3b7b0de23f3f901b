#include "audio/wavfile.h"

#include <cstring>

#include "platform/arquivos.h"

namespace quorvel {

namespace {

uint32_t LE32(const unsigned char* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
uint16_t LE16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

void TWAVfile::Reset() {
    valid_ = false;
    formatTag_ = 0;
    channels_ = 0;
    sampleRate_ = 0;
    bytesPerSecond_ = 0;
    blockAlign_ = 0;
    bitsPerSample_ = 0;
    sampleCount_ = 0;
    headerSize_ = 0;
    fileSize_ = 0;
}

bool TWAVfile::ReadFromFile(const std::string& FileName) {
    Reset();
    unsigned char h[44] = {};
    {
        auto arquivo = Arquivo::Abrir(FileName, Arquivo::Modo::Leitura);
        if (!arquivo) return false;
        if (arquivo->LerEm(0, h, 40) != 40) return false;
        if (std::memcmp(h + 36, "data", 4) != 0) {
            // After a fact chunk (4 data bytes) this is its sample count; in any other layout it
            // is whatever stands there.
            const int64_t posicao = int64_t{LE32(h + 16)} + 28;
            if (arquivo->LerEm(posicao, h + 40, 4) != 4) return false;
        }
    }
    const uint16_t canais = LE16(h + 22);
    if (std::memcmp(h, "RIFF", 4) != 0 || std::memcmp(h + 8, "WAVE", 4) != 0 ||
        std::memcmp(h + 12, "fmt ", 4) != 0 || (canais != 1 && canais != 2))
        return true;

    valid_ = true;
    formatTag_ = LE16(h + 20);
    channels_ = static_cast<uint8_t>(canais);
    sampleRate_ = LE32(h + 24);
    bytesPerSecond_ = LE32(h + 28);
    blockAlign_ = LE16(h + 32);
    bitsPerSample_ = static_cast<uint8_t>(LE16(h + 34));
    sampleCount_ = static_cast<int32_t>(LE32(h + 40));
    headerSize_ = std::memcmp(h + 36, "data", 4) == 0 ? 44 : static_cast<uint16_t>(LE32(h + 16) + 40);
    fileSize_ = LE32(h + 4) + 8;
    if (fileSize_ < headerSize_) headerSize_ = static_cast<uint16_t>(fileSize_);
    return true;
}

std::string TWAVfile::ChannelMode() const {
    switch (channels_) {
        case 1: return "Mono";
        case 2: return "Stereo";
        default: return "Unknown";
    }
}

double TWAVfile::Duration() const {
    if (!valid_) return 0;
    if (sampleCount_ == 0 && bytesPerSecond_ > 0)
        return double(fileSize_ - headerSize_) / bytesPerSecond_;
    if (sampleCount_ > 0 && sampleRate_ > 0) return double(sampleCount_) / sampleRate_;
    return 0;
}

}  // namespace quorvel
