#pragma once
// Analysis of an MPEG audio file (in practice an MP3): the first frame, found by two valid
// headers one frame apart, its Xing or VBRI header, the encoder guessed from header traits and
// tags, the bit rate, frame count and play time. Reads at most three 3,458-byte blocks besides
// the two tags.
#include <cstdint>
#include <string>

#include "audio/id3v1.h"
#include "audio/id3v2.h"

namespace quorvel {

// The decoded header of the accepted frame.
struct FrameInfo {
    bool Found = false;
    int32_t Position = 0;  // from the start of the block in which the frame was found
    uint16_t FrameSize = 0;
    bool SixZeroBytes = false;
    uint8_t HeaderBytes[4] = {0, 0, 0, 0};
    uint8_t VersionID = 0;  // 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1
    uint8_t LayerID = 0;    // 0 reserved, 1 Layer III, 2 Layer II, 3 Layer I
    bool CRCProtected = false;
    uint16_t BitRateIndex = 0;
    uint16_t SampleRateIndex = 0;
    bool PaddingFlag = false;
    bool PrivateFlag = false;
    uint8_t ModeID = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    uint8_t ModeExtension = 0;
    bool CopyrightFlag = false;
    bool OriginalFlag = false;
    uint8_t EmphasisID = 0;
};

// The variable-bit-rate header of the first frame.
struct VBRData {
    bool Found = false;
    char Signature[4] = {0, 0, 0, 0};
    int32_t FrameCount = 0;
    int32_t ByteCount = 0;
    uint8_t Quality = 0;
    std::string EncoderTag;  // the 8 bytes after a Xing header; empty for VBRI
};

class TMPEGaudio {
public:
    static constexpr int TamanhoBloco = 3458;     // bytes of a scanned block
    static constexpr int LimiteVarredura = 1729;  // last header position tried in a block

    TMPEGaudio() { Reset(); }  // Create (the two tag readers are members)

    void Reset();
    // True when the file could be read through; Frame.Found and Valid tell whether audio was found.
    bool ReadFromFile(const std::string& FileName);

    int64_t FileLength() const { return fileLength_; }
    const VBRData& VBR() const { return vbr_; }
    const FrameInfo& Frame() const { return frame_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    // The file's ID3v2 tag as read, also when no audio was found (ID3v2 is then reset).
    const TID3v2& TagDoArquivo() const { return frame_.Found ? id3v2_ : tagSemAudio_; }
    const std::string& EncoderTag() const { return encoderTag_; }

    std::string Version() const;
    std::string Layer() const;
    uint16_t BitRate() const;
    uint16_t SampleRate() const;
    std::string ChannelMode() const;
    std::string Emphasis() const;
    int32_t Frames() const;
    double Duration() const;
    uint8_t EncoderID() const;
    std::string Encoder() const;
    bool Valid() const;

    // The frame rules on their own, for any header.
    static bool HeaderValido(const unsigned char* b);
    static FrameInfo DecodificarCabecalho(const unsigned char* b);
    static uint16_t TaxaTabela(const FrameInfo& f);       // kbit/s, 0 for reserved values
    static uint16_t TaxaAmostragem(const FrameInfo& f);   // Hz, 0 for reserved values
    static int Coeficiente(const FrameInfo& f);           // samples per frame / 8
    static int Preenchimento(const FrameInfo& f);         // padding bytes of the frame
    static uint16_t FrameLength(const FrameInfo& f);
    static int DeslocamentoLateral(const FrameInfo& f);   // side information size after the header
    // The first frame of a 3,458-byte block whose successor header stands one frame later.
    static FrameInfo ScanForFrame(const unsigned char* bloco, VBRData& vbr);
    // A Xing or VBRI header at offset q of a 3,458-byte block.
    static VBRData ReadVBRHeader(const unsigned char* bloco, int q);
    // "LAME" and four characters, or "GOGO", nearest to the end of a 3,458-byte block.
    static std::string SearchEncoderTag(const unsigned char* bloco, uint16_t limite);

private:
    int64_t TamanhoAudio() const;

    int64_t fileLength_;
    std::string encoderTag_;
    VBRData vbr_;
    FrameInfo frame_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TID3v2 tagSemAudio_;  // the tag read from a file in which no audio was found
};

}  // namespace quorvel
