#pragma once
// ID3v2 tags at the start of an audio file: reads versions 2.2, 2.3 and 2.4 and writes version 2.3.
//
// The 35 frames the tag knows are described once, in TID3v2::Quadros. At most 500 bytes of a
// frame are used, only the text encodings 0 (single byte) and 1 (UTF-16) are understood, and
// unsynchronisation, extended headers and compressed frames are not handled. Writing always
// produces single-byte frames and either reuses the space of an existing tag of up to 4,096
// bytes or rewrites the file with a tag padded to 4,096 bytes.
#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

class Arquivo;

// What a frame's text is when read, and so how it is written back.
enum class LeituraQuadro : uint8_t {
    Texto,       // the decoded text, written as it stands
    Faixa,       // the track number: TrackText and Track, written as the decimal of Track when > 0
    Genero,      // the text without references to the ID3v1 list ("(17)Rock" gives "Rock")
    Comentario,  // a described text with language, written as "eng", an empty description and the text
    Link,        // a described text without language, written with an empty description
    Reserva,     // fills the field of `campo` when that field's own frame gave no text; never written
    ReservaAno,  // the same, with the first 4 characters only (a date's year)
};

// One frame the tag knows: its identifiers, how it is read and written, and where the audio
// information record shows it.
struct DescricaoQuadro {
    const char* id;     // versions 2.3 and 2.4
    const char* idV22;  // version 2.2
    LeituraQuadro leitura;
    int campo;          // the slot whose field a fallback frame fills (its own slot otherwise)
    int registro;       // position among the record's frame fields; -1 when the record has none
};

class TID3v2 {
public:
    static constexpr int TotalFrames = 35;
    static constexpr int TamanhoPadrao = 4096;  // tag size of a rewritten file
    static constexpr int TamanhoCorpo = 500;    // bytes of a frame body that are kept

    // The frames by slot: 16 standard frames (12 to 15 are only fallbacks when reading) and the
    // station's own frames TRIT to TPMI. Frames are written in slot order.
    enum Slot {
        SlotTitle = 0, SlotArtist = 1, SlotAlbum = 2, SlotTrack = 3, SlotYear = 4, SlotGenre = 5,
        SlotComment = 6, SlotComposer = 7, SlotEncoder = 8, SlotCopyright = 9, SlotLanguage = 10,
        SlotLink = 11, SlotYearFallback = 12, SlotArtistFallback = 13, SlotTitleFallback = 14,
        SlotAlbumFallback = 15,
        SlotTRIT = 16, SlotTINT, SlotTEXT, SlotTEST, SlotTIDM, SlotTCAR, SlotTVIN, SlotTMXI,
        SlotTMXF, SlotTRFI, SlotTRFF, SlotTCAD, SlotTSUC, SlotTGRA, SlotTVOC, SlotTTPE, SlotTPIN,
        SlotTPFI, SlotTPMI
    };
    static const std::array<DescricaoQuadro, TotalFrames> Quadros;
    // How SaveToFile wrote the tag: not at all (false), over the old tag, or in a new copy of the file.
    enum Gravacao { NaoGravada = 0, NoLugar, NovoArquivo };

    TID3v2() { Reset(); }  // Create

    void Reset();
    // True when the first 10 bytes could be read, whether or not they start a tag (see Exists).
    bool ReadFromFile(const std::string& FileName);
    bool ReadFromFile(const Arquivo& arquivo);
    // Writes the current fields as a new ID3v2.3 tag into the file. A file that has to be
    // rewritten is replaced atomically: the original is never lost. What is written is flushed
    // to the disk before it returns (before the rename, for a rewritten file) unless
    // `sincronizar` is false, for a file the caller flushes later itself.
    Gravacao SaveToFile(const std::string& FileName, bool sincronizar = true) const;
    // How SaveToFile would write into the file as it is now (NaoGravada when it cannot be read).
    Gravacao PreverGravacao(const std::string& FileName) const;

    bool Exists() const { return exists_; }
    uint8_t TagVersion() const { return tagVersion_; }
    int32_t Size() const { return size_; }
    uint16_t Track() const { return track_; }
    const std::string& TrackText() const { return trackText_; }
    void SetTrack(uint16_t v) { track_ = v; }

    // The text field of a slot (empty for the track and the fallbacks), and its assignment,
    // which keeps the text without leading and trailing characters of code 0x20 or below.
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

// Texts by frame slot: the values a tag is written from, the record's frame fields.
using TextosQuadros = std::array<std::string, TID3v2::TotalFrames>;

}  // namespace quorvel
