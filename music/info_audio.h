#pragma once
// One audio file as music registration and --info-audio see it: the readers of its kind and the
// audio information record they fill, all held by one value (ArquivoAudio) that reading returns.
//
//   ArquivoAudio audio = LerInfoAudio("D:\\Musicas\\Ana - Luz.mp3");
//   audio.InfoAudio().TaxaBits;  audio.Duracao();  audio.TagID3v2().Texto(TID3v2::SlotAlbum);
//   GravarTag(audio, valores);   // music/gravar_tag.h
#include <array>
#include <optional>
#include <string>

#include "audio/id3v2.h"
#include "audio/mpegaudio.h"
#include "audio/wavfile.h"

namespace quorvel {

// Everything known about one audio file, as display texts: the audio's fields, then the tag's
// frames by slot (those TID3v2::Quadros gives a record position; the others stay empty).
struct Tag {
    std::string MPEGValido, Tamanho, VersaoCamada, TaxaBits, TaxaAmostragem, ModoCanal, Duracao,
        PosicaoQuadro, Protegido, Quadros, BitCopyright, BitOriginal, Enfase, Codificador,
        TagExiste, TagVersao, TagTamanho;
    TextosQuadros Frames;
};

// The 47 fields of Tag with their names, in the record's order: the audio's fields, then
// "Frame" and the frame's identifier, in the order of the frames' record positions.
struct CampoTag {
    std::string nome;
    std::string Tag::*campo;  // nullptr for a frame
    int slot;                 // the frame's slot
    const std::string& Valor(const Tag& r) const { return campo ? r.*campo : r.Frames[slot]; }
};
extern const std::array<CampoTag, 47> CamposTag;

// ".MP3" or "MP3" in any letter case.
bool ExtensaoMP3(const std::string& extensao);

// The readers of one audio file and its information record. An MP3 file (by its extension) gets
// an MPEG reader, which also reads the file's ID3v2 and ID3v1 tags; any other file a WAV reader.
class ArquivoAudio {
public:
    // The readers for the path's extension (none for an empty path); the record empty.
    explicit ArquivoAudio(std::string caminho);

    const std::string& Caminho() const { return caminho_; }
    const Tag& InfoAudio() const { return info_; }

    // Fills the record from the file (an MP3 or WAV file); a missing file leaves it empty.
    void LerInfoAudio();
    // Empties the record.
    void LimparTag();
    // True while the record holds the texts of the file's tag (its frame fields are the tag's).
    bool RegistroComTag() const { return registroComTag_; }

    const TMPEGaudio* LeitorMPEG() const { return mpeg_ ? &*mpeg_ : nullptr; }
    const TWAVfile* LeitorWAV() const { return wav_ ? &*wav_ : nullptr; }
    // The file's ID3v2 tag as the MPEG reader found it, before any rewrite (empty when the
    // reader found no audio). Raises Erro for a file that has no MPEG reader.
    const TID3v2& TagID3v2() const;
    // The file's ID3v2 tag as read, also when no audio was found; read now for a file that has
    // no MPEG reader.
    TID3v2 TagDoArquivo() const;
    // The play time in seconds: the MPEG reader's, or the WAV reader's; 0 without a reader.
    double Duracao() const;

private:
    std::string caminho_;
    Tag info_;
    // True while the record holds the texts of the file's tag.
    bool registroComTag_ = false;
    std::optional<TMPEGaudio> mpeg_;
    std::optional<TWAVfile> wav_;
};

// The readers for the path's extension, and the record filled from the file.
ArquivoAudio LerInfoAudio(const std::string& caminho);

}  // namespace quorvel
