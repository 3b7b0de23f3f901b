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

Tag InfoAudio;
std::unique_ptr<TMPEGaudio> LeitorMPEG;
std::unique_ptr<TID3v1> LeitorID3v1;
std::unique_ptr<TID3v2> LeitorID3v2;
std::unique_ptr<TWAVfile> LeitorWAV;

namespace {

const char* const kSim = "Sim";
const char* const kNao = "N\xE3o";

// The file whose tag texts the record holds (empty when it holds none). GravarTag takes the
// frames it gets no value for from the record only for that file; for any other it keeps the
// file's own frames, so that a rewrite never drops them.
std::string caminhoDoRegistro;

const char* SimNao(bool valor) { return valor ? kSim : kNao; }

void PreencherDoID3v2(const TID3v2& t) {
    Tag& r = InfoAudio;
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

void PreencherDoID3v1(const TID3v1& t) {
    Tag& r = InfoAudio;
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

void PreencherDoMPEG(const TMPEGaudio& m) {
    Tag& r = InfoAudio;
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

void LerInfoMP3(const std::string& caminho) {
    if (!LeitorID3v1) LeitorID3v1 = std::make_unique<TID3v1>();
    if (!LeitorID3v2) LeitorID3v2 = std::make_unique<TID3v2>();
    if (!LeitorMPEG->ReadFromFile(caminho)) return;
    if (!LeitorMPEG->Valid()) {
        InfoAudio.MPEGValido = kNao;
        return;
    }
    PreencherDoMPEG(*LeitorMPEG);
    if (!LeitorID3v2->ReadFromFile(caminho)) return;
    caminhoDoRegistro = caminho;
    if (LeitorID3v2->Exists()) {
        PreencherDoID3v2(*LeitorID3v2);
        return;
    }
    if (!LeitorID3v1->ReadFromFile(caminho)) {
        InfoAudio.TagExiste = kNao;
        return;
    }
    if (LeitorID3v1->Exists()) PreencherDoID3v1(*LeitorID3v1);
}

void LerInfoWAV(const std::string& caminho) {
    if (!LeitorWAV) LeitorWAV = std::make_unique<TWAVfile>();
    if (!LeitorWAV->ReadFromFile(caminho) || !LeitorWAV->Valid()) return;
    InfoAudio.ModoCanal = LeitorWAV->ChannelMode();
    InfoAudio.TaxaAmostragem = std::to_string(LeitorWAV->SampleRate()) + " hz";
    InfoAudio.Tamanho = std::to_string(LeitorWAV->FileSize()) + " bytes";
    InfoAudio.Duracao = FormatarDecimal(LeitorWAV->Duration(), 3) + " seg.";
}

// Empties the record at the end of GravarTag, also when it ends with an error.
struct LimparAoSair {
    ~LimparAoSair() { LimparTag(); }
};

}  // namespace

bool ExtensaoMP3(const std::string& extensao) {
    const std::string e = MaiusculasAscii(extensao);
    return e == ".MP3" || e == "MP3";
}

void CriarLeitores(const std::string& extensao) {
    if (ExtensaoMP3(extensao)) {
        LeitorMPEG = std::make_unique<TMPEGaudio>();
        LeitorID3v1 = std::make_unique<TID3v1>();
        LeitorID3v2 = std::make_unique<TID3v2>();
        LimparTag();
    } else {
        LeitorWAV = std::make_unique<TWAVfile>();
    }
}

void LiberarLeitores(const std::string& extensao) {
    if (ExtensaoMP3(extensao)) {
        LimparTag();
        LeitorMPEG.reset();
        LeitorID3v1.reset();
        LeitorID3v2.reset();
    } else {
        LeitorWAV.reset();
    }
}

void LimparTag() {
    InfoAudio = Tag();
    caminhoDoRegistro.clear();
}

void LerInfoAudio(const std::string& caminho) {
    LimparTag();
    if (caminho.empty()) return;
    const std::string extensao = ExtrairExtensao(caminho);
    if (!LeitorMPEG) CriarLeitores(extensao);
    if (!ArquivoExiste(caminho)) return;
    if (MaiusculasAscii(extensao) == ".MP3") {
        if (!LeitorMPEG) CriarLeitores(extensao);
        LerInfoMP3(caminho);
    } else {
        LerInfoWAV(caminho);
    }
}

void GravarTag(const std::string& caminho, const ValoresTag& v) {
    LimparAoSair limpar;
    if (!ArquivoExiste(caminho)) return;
    if (!LeitorID3v2) LeitorID3v2 = std::make_unique<TID3v2>();
    TID3v2& t = *LeitorID3v2;
    const Tag& r = InfoAudio;
    // Without the file's texts in the record, the writer starts from the file's own tag.
    const bool doRegistro = !caminhoDoRegistro.empty() && caminhoDoRegistro == caminho;
    if (!doRegistro) t.ReadFromFile(caminho);

    auto definir = [&](void (TID3v2::*setter)(const std::string&), const std::string& valor,
                       const std::string& campo) {
        if (!valor.empty())
            (t.*setter)(valor);
        else if (doRegistro)
            (t.*setter)(campo);
    };
    definir(&TID3v2::SetTitle, v.TIT2, r.FrameTIT2);
    definir(&TID3v2::SetArtist, v.TPE1, r.FrameTPE1);
    definir(&TID3v2::SetComposer, v.TCOM, r.FrameTCOM);
    definir(&TID3v2::SetAlbum, v.TALB, r.FrameTALB);
    definir(&TID3v2::SetYear, v.TYER, r.FrameTYER);
    if (!v.Faixa.empty())
        t.SetTrack(static_cast<uint16_t>(TextoParaInteiro(v.Faixa)));
    else if (doRegistro && !r.FrameTRCK.empty())
        t.SetTrack(static_cast<uint16_t>(TextoParaInteiro(r.FrameTRCK)));
    definir(&TID3v2::SetFrameTIDM, v.TIDM, r.FrameTIDM);
    definir(&TID3v2::SetGenre, v.TCON, r.FrameTCON);
    definir(&TID3v2::SetFrameTEST, v.TEST, r.FrameTEST);
    definir(&TID3v2::SetFrameTRIT, v.TRIT, r.FrameTRIT);
    definir(&TID3v2::SetLanguage, v.TLAN, r.FrameTLAN);
    definir(&TID3v2::SetFrameTGRA, v.TGRA, r.FrameTGRA);
    definir(&TID3v2::SetFrameTVOC, v.TVOC, r.FrameTVOC);
    definir(&TID3v2::SetFrameTSUC, v.TSUC, r.FrameTSUC);
    definir(&TID3v2::SetFrameTTPE, v.TTPE, r.FrameTTPE);
    definir(&TID3v2::SetFrameTPIN, v.TPIN, r.FrameTPIN);
    definir(&TID3v2::SetFrameTPFI, v.TPFI, r.FrameTPFI);
    definir(&TID3v2::SetFrameTEXT, v.TEXT, r.FrameTEXT);
    definir(&TID3v2::SetComment, v.COMM, r.FrameCOMM);
    definir(&TID3v2::SetFrameTINT, v.TINT, r.FrameTINT);
    definir(&TID3v2::SetFrameTCAR, v.TCAR, r.FrameTCAR);
    definir(&TID3v2::SetFrameTVIN, v.TVIN, r.FrameTVIN);
    definir(&TID3v2::SetFrameTMXI, v.TMXI, r.FrameTMXI);
    definir(&TID3v2::SetFrameTMXF, v.TMXF, r.FrameTMXF);
    definir(&TID3v2::SetFrameTRFI, v.TRFI, r.FrameTRFI);
    definir(&TID3v2::SetFrameTRFF, v.TRFF, r.FrameTRFF);
    definir(&TID3v2::SetFrameTPMI, v.TPMI, r.FrameTPMI);
    if (doRegistro) {
        t.SetEncoder(r.FrameTENC);
        t.SetCopyright(r.FrameTCOP);
        t.SetLink(r.FrameWXXX);
    }
    t.SetFrameTCAD("S");
    t.SaveToFile(caminho);
}

void GravarTag(const std::string& caminho, const std::string& TIT2, const std::string& TPE1,
               const std::string& TCOM, const std::string& TALB, const std::string& TYER,
               const std::string& Faixa, const std::string& TIDM, const std::string& TCON,
               const std::string& TEST, const std::string& TRIT, const std::string& TLAN,
               const std::string& TGRA, const std::string& TVOC, const std::string& TSUC,
               const std::string& TTPE, const std::string& TPIN, const std::string& TPFI,
               const std::string& TEXT, const std::string& COMM, const std::string& TINT,
               const std::string& TCAR, const std::string& TVIN, const std::string& TMXI,
               const std::string& TMXF, const std::string& TRFI, const std::string& TRFF,
               const std::string& TPMI) {
    GravarTag(caminho, ValoresTag{TIT2, TPE1, TCOM, TALB, TYER, Faixa, TIDM, TCON, TEST,
                                  TRIT, TLAN, TGRA, TVOC, TSUC, TTPE, TPIN, TPFI, TEXT,
                                  COMM, TINT, TCAR, TVIN, TMXI, TMXF, TRFI, TRFF, TPMI});
}

}  // namespace quorvel
