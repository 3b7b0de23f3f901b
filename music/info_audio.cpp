#include "music/info_audio.h"

#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

#define QUORVEL_CAMPO(nome) CampoTag{#nome, &Tag::nome}
const std::array<CampoTag, 47> CamposTag = {
    QUORVEL_CAMPO(MPEGValido), QUORVEL_CAMPO(Tamanho), QUORVEL_CAMPO(VersaoCamada),
    QUORVEL_CAMPO(TaxaBits), QUORVEL_CAMPO(TaxaAmostragem), QUORVEL_CAMPO(ModoCanal),
    QUORVEL_CAMPO(Duracao), QUORVEL_CAMPO(PosicaoQuadro), QUORVEL_CAMPO(Protegido),
    QUORVEL_CAMPO(Quadros), QUORVEL_CAMPO(BitCopyright), QUORVEL_CAMPO(BitOriginal),
    QUORVEL_CAMPO(Enfase), QUORVEL_CAMPO(Codificador), QUORVEL_CAMPO(TagExiste),
    QUORVEL_CAMPO(TagVersao), QUORVEL_CAMPO(TagTamanho), QUORVEL_CAMPO(FrameTIT2),
    QUORVEL_CAMPO(FrameTPE1), QUORVEL_CAMPO(FrameTALB), QUORVEL_CAMPO(FrameTRCK),
    QUORVEL_CAMPO(FrameTYER), QUORVEL_CAMPO(FrameTCON), QUORVEL_CAMPO(FrameCOMM),
    QUORVEL_CAMPO(FrameTCOM), QUORVEL_CAMPO(FrameTENC), QUORVEL_CAMPO(FrameTCOP),
    QUORVEL_CAMPO(FrameTLAN), QUORVEL_CAMPO(FrameTGRA), QUORVEL_CAMPO(FrameTVOC),
    QUORVEL_CAMPO(FrameTSUC), QUORVEL_CAMPO(FrameTTPE), QUORVEL_CAMPO(FrameTPIN),
    QUORVEL_CAMPO(FrameTPFI), QUORVEL_CAMPO(FrameWXXX), QUORVEL_CAMPO(FrameTRIT),
    QUORVEL_CAMPO(FrameTINT), QUORVEL_CAMPO(FrameTEXT), QUORVEL_CAMPO(FrameTEST),
    QUORVEL_CAMPO(FrameTIDM), QUORVEL_CAMPO(FrameTCAR), QUORVEL_CAMPO(FrameTVIN),
    QUORVEL_CAMPO(FrameTMXI), QUORVEL_CAMPO(FrameTMXF), QUORVEL_CAMPO(FrameTRFI),
    QUORVEL_CAMPO(FrameTRFF), QUORVEL_CAMPO(FrameTPMI),
};
#undef QUORVEL_CAMPO

namespace {

const char* const kSim = "Sim";
const char* const kNao = "N\xE3o";

const char* SimNao(bool valor) { return valor ? kSim : kNao; }

void PreencherDoID3v2(Tag& r, const TID3v2& t) {
    r.TagExiste = kSim;
    r.TagVersao = "2." + std::to_string(t.TagVersion());
    r.TagTamanho = std::to_string(t.Size()) + " bytes";
    r.FrameTIT2 = t.Title();
    r.FrameTPE1 = t.Artist();
    r.FrameTALB = t.Album();
    if (t.Track() != 0) r.FrameTRCK = std::to_string(t.Track());
    r.FrameTYER = t.Year();
    r.FrameTCON = t.Genre();
    r.FrameCOMM = t.Comment();
    r.FrameTCOM = t.Composer();
    r.FrameTENC = t.Encoder();
    r.FrameTCOP = t.Copyright();
    r.FrameTLAN = t.Language();
    r.FrameTGRA = t.FrameTGRA();
    r.FrameTVOC = t.FrameTVOC();
    r.FrameTSUC = t.FrameTSUC();
    r.FrameTTPE = t.FrameTTPE();
    r.FrameTPIN = t.FrameTPIN();
    r.FrameTPFI = t.FrameTPFI();
    r.FrameWXXX = t.Link();
    r.FrameTRIT = t.FrameTRIT();
    r.FrameTINT = t.FrameTINT();
    r.FrameTEXT = t.FrameTEXT();
    r.FrameTEST = t.FrameTEST();
    r.FrameTIDM = t.FrameTIDM();
    r.FrameTCAR = t.FrameTCAR();
    r.FrameTVIN = t.FrameTVIN();
    r.FrameTMXI = t.FrameTMXI();
    r.FrameTMXF = t.FrameTMXF();
    r.FrameTRFI = t.FrameTRFI();
    r.FrameTRFF = t.FrameTRFF();
    r.FrameTPMI = t.FrameTPMI();
}

void PreencherDoID3v1(Tag& r, const TID3v1& t) {
    r.TagExiste = kSim;
    r.TagVersao = t.TagVersion() == 1 ? "1.0" : "1.1";
    r.FrameTIT2 = t.Title();
    r.FrameTPE1 = t.Artist();
    r.FrameTALB = t.Album();
    r.FrameTRCK = std::to_string(t.Track());
    r.FrameTYER = t.Year();
    r.FrameTCON = t.Genre();
    r.FrameCOMM = t.Comment();
}

void PreencherDoMPEG(Tag& r, const TMPEGaudio& m) {
    r.MPEGValido = kSim;
    r.Tamanho = std::to_string(m.FileLength()) + " bytes";
    r.VersaoCamada = m.Version() + " " + m.Layer();
    r.TaxaBits = std::string(m.VBR().Found ? "VBR " : "CBR ") + std::to_string(m.BitRate()) + " kbit/s";
    r.TaxaAmostragem = std::to_string(m.SampleRate()) + " hz";
    r.ModoCanal = m.ChannelMode();
    r.Duracao = FormatarDecimal(m.Duration(), 1) + " seg.";
    r.PosicaoQuadro = std::to_string(m.Frame().Position) + " bytes";
    r.Protegido = SimNao(m.Frame().CRCProtected);
    r.Quadros = std::to_string(m.Frames());
    r.BitCopyright = SimNao(m.Frame().CopyrightFlag);
    r.BitOriginal = SimNao(m.Frame().OriginalFlag);
    r.Enfase = m.Emphasis();
    r.Codificador = m.Encoder();
}

}  // namespace

bool ExtensaoMP3(const std::string& extensao) {
    const std::string e = MaiusculasAscii(extensao);
    return e == ".MP3" || e == "MP3";
}

ArquivoAudio::ArquivoAudio(std::string caminho) : caminho_(std::move(caminho)) {
    if (caminho_.empty()) return;
    if (ExtensaoMP3(ExtrairExtensao(caminho_)))
        mpeg_.emplace();
    else
        wav_.emplace();
}

void ArquivoAudio::LimparTag() {
    info_ = Tag();
    registroComTag_ = false;
}

void ArquivoAudio::LerInfoAudio() {
    LimparTag();
    if (caminho_.empty() || !ArquivoExiste(caminho_)) return;
    if (mpeg_) {
        // The MPEG reader reads the file's ID3v2 and ID3v1 tags along with the stream: the
        // record takes them from there, so the tag is parsed once.
        if (!mpeg_->ReadFromFile(caminho_)) return;
        if (!mpeg_->Valid()) {
            info_.MPEGValido = kNao;
            return;
        }
        PreencherDoMPEG(info_, *mpeg_);
        registroComTag_ = true;
        if (mpeg_->ID3v2().Exists())
            PreencherDoID3v2(info_, mpeg_->ID3v2());
        else if (mpeg_->ID3v1().Exists())
            PreencherDoID3v1(info_, mpeg_->ID3v1());
    } else if (wav_) {
        if (!wav_->ReadFromFile(caminho_) || !wav_->Valid()) return;
        info_.ModoCanal = wav_->ChannelMode();
        info_.TaxaAmostragem = std::to_string(wav_->SampleRate()) + " hz";
        info_.Tamanho = std::to_string(wav_->FileSize()) + " bytes";
        info_.Duracao = FormatarDecimal(wav_->Duration(), 3) + " seg.";
    }
}

const TID3v2& ArquivoAudio::TagID3v2() const {
    if (!mpeg_) throw Erro("The file has no MPEG reader");
    return mpeg_->ID3v2();
}

double ArquivoAudio::Duracao() const {
    if (mpeg_) return mpeg_->Duration();
    if (wav_) return wav_->Duration();
    return 0;
}

ArquivoAudio LerInfoAudio(const std::string& caminho) {
    ArquivoAudio audio(caminho);
    audio.LerInfoAudio();
    return audio;
}

}  // namespace quorvel
