#pragma once
// The audio information record of the file being registered, the four audio readers, and the
// rewrite of an MP3 file's ID3v2 tag from given values and the record.
//
// Unit-wide state used by the migration worker only, one file at a time, without locking:
// CriarLeitores(extension), LerInfoAudio(path), GravarTag(...) for MP3 files, reading the MPEG
// reader, then LiberarLeitores(extension).
#include <array>
#include <memory>
#include <string>

#include "audio/id3v1.h"
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

extern Tag InfoAudio;
extern std::unique_ptr<TMPEGaudio> LeitorMPEG;
extern std::unique_ptr<TID3v1> LeitorID3v1;
extern std::unique_ptr<TID3v2> LeitorID3v2;
extern std::unique_ptr<TWAVfile> LeitorWAV;

// ".MP3" or "MP3" in any letter case.
bool ExtensaoMP3(const std::string& extensao);

// MP3: new MPEG, ID3v1 and ID3v2 readers (and an empty record); anything else: a new WAV reader.
void CriarLeitores(const std::string& extensao);
// MP3: empties the record and releases the MPEG, ID3v1 and ID3v2 readers; else the WAV reader.
void LiberarLeitores(const std::string& extensao);
void LimparTag();
// Fills InfoAudio from the MP3 or WAV file at the path.
void LerInfoAudio(const std::string& caminho);

// The 27 frame values GravarTag takes, in its order. An empty value means "take it from the
// record" (or, when the record holds nothing of the file's tag, keep the file's own frame).
struct ValoresTag {
    std::string TIT2, TPE1, TCOM, TALB, TYER, Faixa, TIDM, TCON, TEST, TRIT, TLAN, TGRA, TVOC,
        TSUC, TTPE, TPIN, TPFI, TEXT, COMM, TINT, TCAR, TVIN, TMXI, TMXF, TRFI, TRFF, TPMI;
};

// Rewrites the ID3v2 tag of the MP3 file at the path, then empties the record. Raises
// ErroConversao when the track number is not an integer (nothing is saved then).
void GravarTag(const std::string& caminho, const ValoresTag& valores);
void GravarTag(const std::string& caminho, const std::string& TIT2, const std::string& TPE1,
               const std::string& TCOM, const std::string& TALB, const std::string& TYER,
               const std::string& Faixa, const std::string& TIDM, const std::string& TCON,
               const std::string& TEST, const std::string& TRIT, const std::string& TLAN,
               const std::string& TGRA, const std::string& TVOC, const std::string& TSUC,
               const std::string& TTPE, const std::string& TPIN, const std::string& TPFI,
               const std::string& TEXT, const std::string& COMM, const std::string& TINT,
               const std::string& TCAR, const std::string& TVIN, const std::string& TMXI,
               const std::string& TMXF, const std::string& TRFI, const std::string& TRFF,
               const std::string& TPMI);

}  // namespace quorvel
