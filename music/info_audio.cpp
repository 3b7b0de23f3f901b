#include "music/info_audio.h"

#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

const std::array<CampoTag, 47> CamposTag = [] {
    std::array<CampoTag, 47> campos;
    int i = 0;
#define QUORVEL_CAMPO(nome) campos[i++] = CampoTag{#nome, &Tag::nome, -1}
    QUORVEL_CAMPO(MPEGValido); QUORVEL_CAMPO(Tamanho); QUORVEL_CAMPO(VersaoCamada); QUORVEL_CAMPO(TaxaBits);
    QUORVEL_CAMPO(TaxaAmostragem); QUORVEL_CAMPO(ModoCanal); QUORVEL_CAMPO(Duracao);
    QUORVEL_CAMPO(PosicaoQuadro); QUORVEL_CAMPO(Protegido); QUORVEL_CAMPO(Quadros);
    QUORVEL_CAMPO(BitCopyright); QUORVEL_CAMPO(BitOriginal); QUORVEL_CAMPO(Enfase);
    QUORVEL_CAMPO(Codificador); QUORVEL_CAMPO(TagExiste); QUORVEL_CAMPO(TagVersao); QUORVEL_CAMPO(TagTamanho);
#undef QUORVEL_CAMPO
    for (int slot = 0; slot < TID3v2::TotalFrames; ++slot) {
        const DescricaoQuadro& q = TID3v2::Quadros[slot];
        if (q.registro >= 0) campos[i + q.registro] = CampoTag{std::string("Frame") + q.id, nullptr, slot};
    }
    return campos;
}();

namespace {

const char* const kSim = "Sim";
const char* const kNao = "N\xE3o";

const char* SimNao(bool valor) { return valor ? kSim : kNao; }

void PreencherDoID3v2(Tag& r, const TID3v2& t) {
    r.TagExiste = kSim;
    r.TagVersao = "2." + std::to_string(t.TagVersion());
    r.TagTamanho = std::to_string(t.Size()) + " bytes";
    for (int slot = 0; slot < TID3v2::TotalFrames; ++slot)
        if (TID3v2::Quadros[slot].registro >= 0) r.Frames[slot] = t.Texto(slot);
    if (t.Track() != 0) r.Frames[TID3v2::SlotTrack] = std::to_string(t.Track());
}

void PreencherDoID3v1(Tag& r, const TID3v1& t) {
    r.TagExiste = kSim;
    r.TagVersao = t.TagVersion() == 1 ? "1.0" : "1.1";
    r.Frames[TID3v2::SlotTitle] = t.Title();
    r.Frames[TID3v2::SlotArtist] = t.Artist();
    r.Frames[TID3v2::SlotAlbum] = t.Album();
    r.Frames[TID3v2::SlotTrack] = std::to_string(t.Track());
    r.Frames[TID3v2::SlotYear] = t.Year();
    r.Frames[TID3v2::SlotGenre] = t.Genre();
    r.Frames[TID3v2::SlotComment] = t.Comment();
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

TID3v2 ArquivoAudio::TagDoArquivo() const {
    if (mpeg_) return mpeg_->TagDoArquivo();
    TID3v2 t;
    t.ReadFromFile(caminho_);
    return t;
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
