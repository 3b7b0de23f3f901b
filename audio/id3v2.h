#pragma once
// ID3v2 tags at the start of an audio file: reads versions 2.2, 2.3 and 2.4 and writes version 2.3.
//
// The tag knows 35 frame slots: 16 standard frames (four of them only fallbacks when reading) and
// the station's own frames TRIT to TPMI. At most 500 bytes of a frame are used, only the text
// encodings 0 (single byte) and 1 (UTF-16) are understood, and unsynchronisation, extended
// headers and compressed frames are not handled. Writing always produces single-byte frames and
// either reuses the space of an existing tag of up to 4,096 bytes or rewrites the file with a tag
// padded to 4,096 bytes.
#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

class TID3v2 {
public:
    static constexpr int TotalFrames = 35;
    static constexpr int TamanhoCorpo = 500;     // bytes of a frame body that are kept
    static constexpr int32_t TamanhoPadrao = 4096;  // tag size of a rewritten file
    // Frame identifiers by slot, for versions 2.3/2.4 and for version 2.2.
    static const std::array<const char*, TotalFrames> FrameIDs;
    static const std::array<const char*, TotalFrames> FrameIDsV22;

    // Slots of the text fields (slot 3 is the track number, 12 to 15 are fallbacks only).
    enum Slot {
        SlotTitle = 0, SlotArtist = 1, SlotAlbum = 2, SlotTrack = 3, SlotYear = 4, SlotGenre = 5,
        SlotComment = 6, SlotComposer = 7, SlotEncoder = 8, SlotCopyright = 9, SlotLanguage = 10,
        SlotLink = 11, SlotYearFallback = 12, SlotArtistFallback = 13, SlotTitleFallback = 14,
        SlotAlbumFallback = 15,
        SlotTRIT = 16, SlotTINT, SlotTEXT, SlotTEST, SlotTIDM, SlotTCAR, SlotTVIN, SlotTMXI,
        SlotTMXF, SlotTRFI, SlotTRFF, SlotTCAD, SlotTSUC, SlotTGRA, SlotTVOC, SlotTTPE, SlotTPIN,
        SlotTPFI, SlotTPMI
    };

    TID3v2() { Reset(); }  // Create

    void Reset();
    // True when the first 10 bytes could be read, whether or not they start a tag (see Exists).
    bool ReadFromFile(const std::string& FileName);
    // Writes the current fields as a new ID3v2.3 tag into the file; false on any failure. A file
    // that has to be rewritten is replaced atomically: the original is never lost. What is written
    // is flushed to the disk before it returns (before the rename, for a rewritten file) unless
    // `sincronizar` is false, for a file the caller flushes later itself.
    bool SaveToFile(const std::string& FileName, bool sincronizar = true) const;

    bool Exists() const { return exists_; }
    uint8_t TagVersion() const { return tagVersion_; }
    int32_t Size() const { return size_; }
    uint16_t Track() const { return track_; }
    const std::string& TrackText() const { return trackText_; }

    const std::string& Title() const { return texto_[SlotTitle]; }
    const std::string& Artist() const { return texto_[SlotArtist]; }
    const std::string& Album() const { return texto_[SlotAlbum]; }
    const std::string& Year() const { return texto_[SlotYear]; }
    const std::string& Genre() const { return texto_[SlotGenre]; }
    const std::string& Comment() const { return texto_[SlotComment]; }
    const std::string& Composer() const { return texto_[SlotComposer]; }
    const std::string& Encoder() const { return texto_[SlotEncoder]; }
    const std::string& Copyright() const { return texto_[SlotCopyright]; }
    const std::string& Language() const { return texto_[SlotLanguage]; }
    const std::string& Link() const { return texto_[SlotLink]; }
    const std::string& FrameTRIT() const { return texto_[SlotTRIT]; }
    const std::string& FrameTINT() const { return texto_[SlotTINT]; }
    const std::string& FrameTEXT() const { return texto_[SlotTEXT]; }
    const std::string& FrameTEST() const { return texto_[SlotTEST]; }
    const std::string& FrameTIDM() const { return texto_[SlotTIDM]; }
    const std::string& FrameTCAR() const { return texto_[SlotTCAR]; }
    const std::string& FrameTVIN() const { return texto_[SlotTVIN]; }
    const std::string& FrameTMXI() const { return texto_[SlotTMXI]; }
    const std::string& FrameTMXF() const { return texto_[SlotTMXF]; }
    const std::string& FrameTRFI() const { return texto_[SlotTRFI]; }
    const std::string& FrameTRFF() const { return texto_[SlotTRFF]; }
    const std::string& FrameTCAD() const { return texto_[SlotTCAD]; }
    const std::string& FrameTSUC() const { return texto_[SlotTSUC]; }
    const std::string& FrameTGRA() const { return texto_[SlotTGRA]; }
    const std::string& FrameTVOC() const { return texto_[SlotTVOC]; }
    const std::string& FrameTTPE() const { return texto_[SlotTTPE]; }
    const std::string& FrameTPIN() const { return texto_[SlotTPIN]; }
    const std::string& FrameTPFI() const { return texto_[SlotTPFI]; }
    const std::string& FrameTPMI() const { return texto_[SlotTPMI]; }

    // Assigning a text keeps it without leading and trailing characters of code 0x20 or below.
    void SetTitle(const std::string& v) { Definir(SlotTitle, v); }
    void SetArtist(const std::string& v) { Definir(SlotArtist, v); }
    void SetAlbum(const std::string& v) { Definir(SlotAlbum, v); }
    void SetTrack(uint16_t v) { track_ = v; }
    void SetYear(const std::string& v) { Definir(SlotYear, v); }
    void SetGenre(const std::string& v) { Definir(SlotGenre, v); }
    void SetComment(const std::string& v) { Definir(SlotComment, v); }
    void SetComposer(const std::string& v) { Definir(SlotComposer, v); }
    void SetEncoder(const std::string& v) { Definir(SlotEncoder, v); }
    void SetCopyright(const std::string& v) { Definir(SlotCopyright, v); }
    void SetLanguage(const std::string& v) { Definir(SlotLanguage, v); }
    void SetLink(const std::string& v) { Definir(SlotLink, v); }
    void SetFrameTRIT(const std::string& v) { Definir(SlotTRIT, v); }
    void SetFrameTINT(const std::string& v) { Definir(SlotTINT, v); }
    void SetFrameTEXT(const std::string& v) { Definir(SlotTEXT, v); }
    void SetFrameTEST(const std::string& v) { Definir(SlotTEST, v); }
    void SetFrameTIDM(const std::string& v) { Definir(SlotTIDM, v); }
    void SetFrameTCAR(const std::string& v) { Definir(SlotTCAR, v); }
    void SetFrameTVIN(const std::string& v) { Definir(SlotTVIN, v); }
    void SetFrameTMXI(const std::string& v) { Definir(SlotTMXI, v); }
    void SetFrameTMXF(const std::string& v) { Definir(SlotTMXF, v); }
    void SetFrameTRFI(const std::string& v) { Definir(SlotTRFI, v); }
    void SetFrameTRFF(const std::string& v) { Definir(SlotTRFF, v); }
    void SetFrameTCAD(const std::string& v) { Definir(SlotTCAD, v); }
    void SetFrameTSUC(const std::string& v) { Definir(SlotTSUC, v); }
    void SetFrameTGRA(const std::string& v) { Definir(SlotTGRA, v); }
    void SetFrameTVOC(const std::string& v) { Definir(SlotTVOC, v); }
    void SetFrameTTPE(const std::string& v) { Definir(SlotTTPE, v); }
    void SetFrameTPIN(const std::string& v) { Definir(SlotTPIN, v); }
    void SetFrameTPFI(const std::string& v) { Definir(SlotTPFI, v); }
    void SetFrameTPMI(const std::string& v) { Definir(SlotTPMI, v); }

    // The text field of a slot (empty for slots 3 and 12 to 15), and its assignment.
    const std::string& Texto(int slot) const { return texto_[slot]; }
    void Definir(int slot, const std::string& valor);

    // The text of a frame body: encoding 1 is UTF-16 read low byte first, anything else is taken
    // as single-byte text; blanks and control characters are stripped from both ends.
    static std::string DecodeText(const std::string& body);
    // The text after the description (and the language, when the frame has one) of COMM/WXXX.
    static std::string ExtractDescribedText(const std::string& body, bool comIdioma);
    // The whole tag size stated by a 10-byte header (footer included), 0 when it exceeds the file.
    static int32_t TagSize(const unsigned char cabecalho[10], int64_t tamanhoArquivo);
    // The tag SaveToFile would write over a file whose first bytes are `cabecalho` (10 bytes, or
    // nullptr when they could not be read) and whose size is `tamanhoArquivo`; `reescrever` tells
    // whether the file has to be rewritten rather than written in place.
    std::string MontarTag(const unsigned char* cabecalho, int64_t tamanhoArquivo,
                          bool& reescrever) const;

private:
    bool exists_;
    uint8_t tagVersion_;
    int32_t size_;
    uint16_t track_;
    std::string trackText_;
    std::array<std::string, TotalFrames> texto_;
};

}  // namespace quorvel
