#pragma once
// The header of a RIFF/WAVE file, read at fixed offsets of the canonical layout ("fmt ", then
// "data" or a fact chunk), and the play time it implies.
#include <cstdint>
#include <string>

namespace quorvel {

class TWAVfile {
public:
    TWAVfile() { Reset(); }  // Create

    void Reset();
    // True when the header bytes could be read, whether or not they are a WAVE header (see Valid).
    bool ReadFromFile(const std::string& FileName);

    bool Valid() const { return valid_; }
    uint16_t FormatTag() const { return formatTag_; }
    uint8_t Channels() const { return channels_; }
    uint32_t SampleRate() const { return sampleRate_; }
    uint32_t BytesPerSecond() const { return bytesPerSecond_; }
    uint16_t BlockAlign() const { return blockAlign_; }
    uint8_t BitsPerSample() const { return bitsPerSample_; }
    int32_t SampleCount() const { return sampleCount_; }
    uint16_t HeaderSize() const { return headerSize_; }
    uint32_t FileSize() const { return fileSize_; }

    std::string ChannelMode() const;
    double Duration() const;

private:
    bool valid_;
    uint16_t formatTag_;
    uint8_t channels_;
    uint32_t sampleRate_;
    uint32_t bytesPerSecond_;
    uint16_t blockAlign_;
    uint8_t bitsPerSample_;
    int32_t sampleCount_;
    uint16_t headerSize_;
    uint32_t fileSize_;
};

}  // namespace quorvel
