#include "music/gravar_tag.h"

#include <cstdint>

#include "platform/arquivos.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

// Empties the record at the end of GravarTag, also when it ends with an error.
struct LimparAoSair {
    ArquivoAudio& audio;
    ~LimparAoSair() { audio.LimparTag(); }
};

// The tag to start the rewrite from: the one the MPEG reader read with the stream, or, when the
// reader found no audio and so kept no tag, the file's tag read now.
TID3v2 TagDoArquivo(const ArquivoAudio& audio) {
    const TMPEGaudio* mpeg = audio.LeitorMPEG();
    if (mpeg && mpeg->Frame().Found) return mpeg->ID3v2();
    TID3v2 t;
    t.ReadFromFile(audio.Caminho());
    return t;
}

}  // namespace

ResultadoTag::Modo ModoGravacaoTag(const TID3v2& tag, const std::string& caminho) {
    unsigned char cabecalho[10] = {};
    int64_t tamanho = 0;
    bool lido = false;
    if (auto arquivo = Arquivo::Abrir(caminho, Arquivo::Modo::Leitura)) {
        tamanho = arquivo->Tamanho();
        lido = arquivo->LerEm(0, cabecalho, sizeof cabecalho) == sizeof cabecalho;
    }
    bool reescrever = true;
    tag.MontarTag(lido ? cabecalho : nullptr, tamanho, reescrever);
    return reescrever ? ResultadoTag::Modo::NovoArquivo : ResultadoTag::Modo::NoLugar;
}

TID3v2 TagParaGravar(const ArquivoAudio& audio, const ValoresTag& v) {
    const Tag& r = audio.InfoAudio();
    // The frames the record holds replace those of the tag only when the record holds the
    // file's texts; otherwise the file's own frames stay.
    const bool doRegistro = audio.registroComTag_;
    TID3v2 t = TagDoArquivo(audio);

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
    return t;
}

ResultadoTag GravarTag(ArquivoAudio& audio, const ValoresTag& v, bool sincronizar) {
    LimparAoSair limpar{audio};
    const std::string& caminho = audio.Caminho();
    if (caminho.empty() || !ArquivoExiste(caminho)) return {ResultadoTag::Modo::NaoGravada, "o arquivo n\xE3o existe"};
    const TID3v2 t = TagParaGravar(audio, v);
    const ResultadoTag::Modo modo = ModoGravacaoTag(t, caminho);
    if (!t.SaveToFile(caminho, sincronizar)) return {ResultadoTag::Modo::NaoGravada, "n\xE3o foi poss\xEDvel gravar o arquivo"};
    return {modo, ""};
}

}  // namespace quorvel
