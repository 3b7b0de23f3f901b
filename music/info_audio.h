#pragma once
// One audio file as music registration and --info-audio see it: the readers of its kind and the
// audio information record they fill, all held by one value (ArquivoAudio) that reading returns.
//
//   ArquivoAudio audio = LerInfoAudio("D:\\Musicas\\Ana - Luz.mp3");
//   audio.InfoAudio().TaxaBits;  audio.Duracao();  audio.TagID3v2().Album();
//   GravarTag(audio, valores);   // music/gravar_tag.h
#include <array>
#include <optional>
#include <string>

#include "audio/id3v2.h"
#include "audio/mpegaudio.h"
#include "audio/wavfile.h"

namespace quorvel {

// Everything known about one audio file, as display texts.
struct Tag {
    std::string MPEGValido;
    std::string Tamanho;
    std::string VersaoCamada;
    std::string TaxaBits;
    std::string TaxaAmostragem;
    std::string ModoCanal;
    std::string Duracao;
    std::string PosicaoQuadro;
    std::string Protegido;
    std::string Quadros;
    std::string BitCopyright;
    std::string BitOriginal;
    std::string Enfase;
    std::string Codificador;
    std::string TagExiste;
    std::string TagVersao;
    std::string TagTamanho;
    std::string FrameTIT2;
    std::string FrameTPE1;
    std::string FrameTALB;
    std::string FrameTRCK;
    std::string FrameTYER;
    std::string FrameTCON;
    std::string FrameCOMM;
    std::string FrameTCOM;
    std::string FrameTENC;
    std::string FrameTCOP;
    std::string FrameTLAN;
    std::string FrameTGRA;
    std::string FrameTVOC;
    std::string FrameTSUC;
    std::string FrameTTPE;
    std::string FrameTPIN;
    std::string FrameTPFI;
    std::string FrameWXXX;
    std::string FrameTRIT;
    std::string FrameTINT;
    std::string FrameTEXT;
    std::string FrameTEST;
    std::string FrameTIDM;
    std::string FrameTCAR;
    std::string FrameTVIN;
    std::string FrameTMXI;
    std::string FrameTMXF;
    std::string FrameTRFI;
    std::string FrameTRFF;
    std::string FrameTPMI;
};

// The 47 fields of Tag with their names, in declared order.
struct CampoTag {
    const char* nome;
    std::string Tag::*campo;
};
extern const std::array<CampoTag, 47> CamposTag;

// ".MP3" or "MP3" in any letter case.
bool ExtensaoMP3(const std::string& extensao);

struct ValoresTag;
struct ResultadoTag;

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

    const TMPEGaudio* LeitorMPEG() const { return mpeg_ ? &*mpeg_ : nullptr; }
    const TWAVfile* LeitorWAV() const { return wav_ ? &*wav_ : nullptr; }
    // The file's ID3v2 tag as the MPEG reader found it, before any rewrite (empty when the
    // reader found no audio). Raises Erro for a file that has no MPEG reader.
    const TID3v2& TagID3v2() const;
    // The play time in seconds: the MPEG reader's, or the WAV reader's; 0 without a reader.
    double Duracao() const;

private:
    friend ResultadoTag GravarTag(ArquivoAudio& audio, const ValoresTag& valores, bool sincronizar);
    friend TID3v2 TagParaGravar(const ArquivoAudio& audio, const ValoresTag& valores);

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
