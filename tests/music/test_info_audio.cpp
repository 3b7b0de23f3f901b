// The audio information record and the tag rewrite, on MP3 files made by lame and tagged by
// mutagen, and WAV files made by sox.
#include <gtest/gtest.h>

#include <cstdio>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "music/info_audio.h"
#include "platform/caminhos.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {
namespace {

using teste::LerBytes;

bool RegistroVazio() {
    for (const CampoTag& c : CamposTag)
        if (!(InfoAudio.*c.campo).empty()) return false;
    return true;
}

// One decimal with ',' as the locale writes it (no leading zero below 1).
std::string UmaCasa(double v) {
    char t[32];
    std::snprintf(t, sizeof t, "%.1f", v);
    std::string s = t;
    s[s.find('.')] = ',';
    if (s.rfind("0,", 0) == 0) s.erase(0, 1);
    return s;
}

class InfoAudioTeste : public ::testing::Test {
protected:
    teste::UnidadesTemporarias unidades;
    std::string pastaHost;

    void SetUp() override {
        QUORVEL_EXIGIR("sox", "lame", "mutagen");
        pastaHost = unidades.Unidade('c') + "/Musicas";
        LiberarLeitores(".mp3");
        LiberarLeitores(".wav");
    }
    void TearDown() override {
        LiberarLeitores(".mp3");
        LiberarLeitores(".wav");
    }
    // An MP3 in C:\Musicas\ (returned as a Windows path text), tagged by a mutagen script.
    std::string Mp3(const std::string& nome, const std::string& opcoes, const std::string& script = "") {
        teste::GerarMp3(pastaHost + "/" + nome, 2, opcoes);
        if (!script.empty()) teste::Python(script, pastaHost + "/" + nome);
        return Windows(nome);
    }
    std::string Host(const std::string& nome) { return pastaHost + "/" + nome; }
    // The path text of a file of the folder: C:\Musicas\<nome> through the drive folder (Linux),
    // the folder's own path (Windows).
    std::string Windows(const std::string& nome) { return CaminhoWindowsDeHost(Host(nome)); }
};

const char* const kTagCompleta = R"PY(
def proprio(ident, texto):
    return type(ident, (m.TextFrame,), {})(encoding=1, text=texto)
t = m.ID3()
t.add(m.TIT2(encoding=1, text="T\u00edtulo"))
t.add(m.TPE1(encoding=0, text="Artista"))
t.add(m.TALB(encoding=0, text="Album"))
t.add(m.TYER(encoding=0, text="2001"))
t.add(m.TCON(encoding=0, text="Samba"))
t.add(m.COMM(encoding=0, lang="eng", desc="", text="Obs"))
t.add(m.TCOM(encoding=0, text="Compositor antigo"))
t.add(m.TENC(encoding=0, text="Estudio"))
t.add(m.TCOP(encoding=0, text="Gravadora"))
t.add(m.TLAN(encoding=0, text="Portugu\u00eas"))
t.add(m.WXXX(encoding=0, desc="", url="http://radio.example/"))
for ident in ["TRIT", "TINT", "TEST", "TIDM", "TCAR", "TVIN", "TMXI", "TMXF", "TRFI", "TRFF",
              "TGRA", "TVOC", "TTPE", "TPIN", "TPFI", "TPMI"]:
    t.add(proprio(ident, ident + "!"))
t.save(sys.argv[1], v2_version=3)
)PY";

TEST_F(InfoAudioTeste, CaminhoVazioSoLimpaORegistro) {
    InfoAudio.FrameTIT2 = "resto";
    LerInfoAudio("");
    EXPECT_TRUE(RegistroVazio());
    EXPECT_FALSE(LeitorMPEG);
    EXPECT_FALSE(LeitorWAV);
}

TEST_F(InfoAudioTeste, MP3ComTagV23) {
    const std::string mp3 = Mp3("a.mp3", "-b 128", kTagCompleta);
    CriarLeitores(".mp3");
    LerInfoAudio(mp3);
    const Tag& r = InfoAudio;
    const TMPEGaudio& m = *LeitorMPEG;
    EXPECT_EQ(r.MPEGValido, "Sim");
    EXPECT_EQ(r.Tamanho, std::to_string(LerBytes(Host("a.mp3")).size()) + " bytes");
    EXPECT_EQ(r.VersaoCamada, "MPEG 1 Layer III");
    EXPECT_EQ(r.TaxaBits, "CBR 128 kbit/s");
    EXPECT_EQ(r.TaxaAmostragem, "44100 hz");
    EXPECT_EQ(r.ModoCanal, "Joint Stereo");
    EXPECT_EQ(r.Duracao, UmaCasa(m.Duration()) + " seg.");
    EXPECT_EQ(r.PosicaoQuadro, "0 bytes");
    EXPECT_EQ(r.Protegido, "N\xE3o");
    EXPECT_EQ(r.Quadros, std::to_string(m.Frames()));
    EXPECT_EQ(r.BitCopyright, "N\xE3o");
    EXPECT_EQ(r.BitOriginal, "Sim");
    EXPECT_EQ(r.Enfase, "None");
    EXPECT_EQ(r.Codificador, "LAME 3.10");
    EXPECT_EQ(r.TagExiste, "Sim");
    EXPECT_EQ(r.TagVersao, "2.3");
    EXPECT_EQ(r.TagTamanho, teste::FramesMutagen(Host("a.mp3")).at("#tamanho") + " bytes");
    EXPECT_EQ(r.FrameTIT2, "T\xEDtulo");
    EXPECT_EQ(r.FrameTPE1, "Artista");
    EXPECT_EQ(r.FrameTALB, "Album");
    EXPECT_EQ(r.FrameTRCK, "");  // no TRCK frame
    EXPECT_EQ(r.FrameTYER, "2001");
    EXPECT_EQ(r.FrameTCON, "Samba");
    EXPECT_EQ(r.FrameCOMM, "Obs");
    EXPECT_EQ(r.FrameTCOM, "Compositor antigo");
    EXPECT_EQ(r.FrameTENC, "Estudio");
    EXPECT_EQ(r.FrameTCOP, "Gravadora");
    EXPECT_EQ(r.FrameTLAN, "Portugu\xEAs");
    EXPECT_EQ(r.FrameWXXX, "http://radio.example/");
    EXPECT_EQ(r.FrameTRIT, "TRIT!");
    EXPECT_EQ(r.FrameTGRA, "TGRA!");
    EXPECT_EQ(r.FrameTPMI, "TPMI!");
    EXPECT_EQ(r.FrameTEXT, "");
    EXPECT_EQ(r.FrameTSUC, "");
    // The MPEG reader's own ID3v2 reader holds the same tag.
    EXPECT_EQ(m.ID3v2().Album(), "Album");
}

TEST_F(InfoAudioTeste, MP3SoComID3v1) {
    const std::string v11 = Mp3("v11.mp3", "-b 128", R"PY(
t = m.ID3()
t.add(m.TIT2(encoding=0, text="Titulo v1"))
t.add(m.TPE1(encoding=0, text="Artista v1"))
t.add(m.TRCK(encoding=0, text="7"))
t.add(m.TCON(encoding=0, text="Rock"))
t["COMM"] = m.COMM(encoding=0, lang="eng", desc="", text="nota")
t.save(sys.argv[1], v1=2, v2_version=3)
m.ID3(sys.argv[1]).delete(sys.argv[1], delete_v1=False, delete_v2=True)
)PY");
    CriarLeitores(".mp3");
    LerInfoAudio(v11);
    EXPECT_EQ(InfoAudio.TagExiste, "Sim");
    EXPECT_EQ(InfoAudio.TagVersao, "1.1");
    EXPECT_EQ(InfoAudio.TagTamanho, "");
    EXPECT_EQ(InfoAudio.FrameTIT2, "Titulo v1");
    EXPECT_EQ(InfoAudio.FrameTPE1, "Artista v1");
    EXPECT_EQ(InfoAudio.FrameTRCK, "7");
    EXPECT_EQ(InfoAudio.FrameTCON, "Rock");
    EXPECT_EQ(InfoAudio.FrameCOMM, "nota");
    EXPECT_EQ(InfoAudio.FrameTCOM, "");
    EXPECT_EQ(InfoAudio.FrameTPMI, "");

    // A v1.0 block (no track) still gives its track number 0.
    teste::GerarMp3(Host("v10.mp3"), 1, "-b 128");
    {
        std::string b = LerBytes(Host("v10.mp3"));
        b += teste::BlocoID3v1("Dez", "", "", "1990", "comentario longo de trinta!!", -1, 255);
        teste::GravarBytes(Host("v10.mp3"), b);
    }
    LerInfoAudio(Windows("v10.mp3"));
    EXPECT_EQ(InfoAudio.TagVersao, "1.0");
    EXPECT_EQ(InfoAudio.FrameTRCK, "0");
    EXPECT_EQ(InfoAudio.FrameTCON, "");
    EXPECT_EQ(InfoAudio.FrameCOMM, "comentario longo de trinta!!");
}

TEST_F(InfoAudioTeste, SemTagVBRECBR) {
    const std::string vbr = Mp3("abr.mp3", "--abr 192");
    CriarLeitores(".mp3");
    LerInfoAudio(vbr);
    EXPECT_EQ(InfoAudio.MPEGValido, "Sim");
    EXPECT_EQ(InfoAudio.TagExiste, "");
    EXPECT_EQ(InfoAudio.TagVersao, "");
    EXPECT_EQ(InfoAudio.FrameTIT2, "");
    EXPECT_EQ(InfoAudio.TaxaBits, "VBR " + std::to_string(LeitorMPEG->BitRate()) + " kbit/s");
    EXPECT_EQ(InfoAudio.Quadros, std::to_string(LeitorMPEG->VBR().FrameCount));

    const std::string mono = Mp3("mono22.mp3", "-m m --resample 22.05 -b 32");
    LerInfoAudio(mono);
    EXPECT_EQ(InfoAudio.VersaoCamada, "MPEG 2 Layer III");
    EXPECT_EQ(InfoAudio.TaxaBits, "CBR 32 kbit/s");
    EXPECT_EQ(InfoAudio.TaxaAmostragem, "22050 hz");
    EXPECT_EQ(InfoAudio.ModoCanal, "Mono");
}

TEST_F(InfoAudioTeste, WAVDe12Segundos) {
    teste::GerarWav(Host("voz.wav"), 12.3456, 44100, 2);
    CriarLeitores(".wav");
    LerInfoAudio(Windows("VOZ.WAV"));
    EXPECT_EQ(InfoAudio.Duracao, "12,346 seg.");
    EXPECT_EQ(InfoAudio.ModoCanal, "Stereo");
    EXPECT_EQ(InfoAudio.TaxaAmostragem, "44100 hz");
    EXPECT_EQ(InfoAudio.Tamanho, std::to_string(LerBytes(Host("voz.wav")).size()) + " bytes");
    EXPECT_EQ(InfoAudio.MPEGValido, "");
    EXPECT_EQ(InfoAudio.TagExiste, "");
    EXPECT_EQ(InfoAudio.VersaoCamada, "");
    // Short WAV: no leading zero before the separator.
    teste::GerarWav(Host("curto.wav"), 0.25, 8000, 1);
    LerInfoAudio(Windows("curto.wav"));
    EXPECT_EQ(InfoAudio.Duracao, ",250 seg.");
    LiberarLeitores(".wav");
    EXPECT_FALSE(LeitorWAV);
}

TEST_F(InfoAudioTeste, MP3InvalidoOuAusente) {
    teste::GravarBytes(Host("texto.mp3"), teste::TagID3v2Manual(3, 0, teste::QuadroManual("TIT2", std::string(1, '\0') + "x"), 10) +
                                              std::string(5000, 'a'));
    CriarLeitores(".mp3");
    LerInfoAudio(Windows("texto.mp3"));
    EXPECT_EQ(InfoAudio.MPEGValido, "N\xE3o");
    EXPECT_EQ(InfoAudio.TagExiste, "");
    EXPECT_EQ(InfoAudio.FrameTIT2, "");

    LerInfoAudio(Windows("falta.mp3"));
    EXPECT_TRUE(RegistroVazio());
    ValoresTag valores;
    valores.TIT2 = "Titulo";
    GravarTag(Windows("falta.mp3"), valores);
    EXPECT_TRUE(LerBytes(Host("falta.mp3")).empty());
}

TEST_F(InfoAudioTeste, GravarTagComoORegistroDaMusicaPede) {
    const std::string mp3 = Mp3("g.mp3", "-b 128", kTagCompleta);
    CriarLeitores(".mp3");
    LerInfoAudio(mp3);
    // Registration's values: title, artist, composer, TSUC and TEXT; the rest from the record.
    GravarTag(mp3, "Novo t\xEDtulo", "Novo artista", "", "", "", "", "", "", "", "", "", "", "", "N", "",
              "", "", ".mp3", "", "", "", "", "", "", "", "", "");
    EXPECT_TRUE(RegistroVazio());
    const auto f = teste::FramesMutagen(Host("g.mp3"));
    EXPECT_EQ(f.at("#versao"), "2.3.0");
    EXPECT_EQ(f.at("TIT2"), "Novo t\xEDtulo");
    EXPECT_EQ(f.at("TPE1"), "Novo artista");
    EXPECT_EQ(f.at("TCOM"), "Compositor antigo");  // empty value: the file's own composer
    EXPECT_EQ(f.at("TALB"), "Album");
    EXPECT_EQ(f.at("COMM"), "Obs");
    EXPECT_EQ(f.at("TENC"), "Estudio");
    EXPECT_EQ(f.at("TCOP"), "Gravadora");
    EXPECT_EQ(f.at("WXXX"), "http://radio.example/");
    EXPECT_EQ(f.at("TLAN"), "Portugu\xEAs");
    EXPECT_EQ(f.at("TSUC"), "N");
    EXPECT_EQ(f.at("TEXT"), ".mp3");
    EXPECT_EQ(f.at("TCAD"), "S");
    EXPECT_EQ(f.at("TRIT"), "TRIT!");
    EXPECT_EQ(f.at("TPMI"), "TPMI!");
    EXPECT_EQ(f.count("TRCK"), 0u);

    // A composer given replaces the file's; a track number is written in decimal.
    CriarLeitores(".mp3");
    LerInfoAudio(mp3);
    ValoresTag v;
    v.TCOM = "Compositor novo";
    v.Faixa = " 9";
    GravarTag(mp3, v);
    const auto g = teste::FramesMutagen(Host("g.mp3"));
    EXPECT_EQ(g.at("TCOM"), "Compositor novo");
    EXPECT_EQ(g.at("TIT2"), "Novo t\xEDtulo");
    EXPECT_EQ(g.at("TRCK"), "9");
    EXPECT_EQ(g.at("TCAD"), "S");
}

TEST_F(InfoAudioTeste, FaixaQueNaoEInteiroNaoGravaNada) {
    const std::string mp3 = Mp3("f.mp3", "-b 128", kTagCompleta);
    const std::string antes = LerBytes(Host("f.mp3"));
    CriarLeitores(".mp3");
    LerInfoAudio(mp3);
    ValoresTag v;
    v.TIT2 = "Outro";
    v.Faixa = "3/12";
    EXPECT_THROW(GravarTag(mp3, v), ErroConversao);
    EXPECT_EQ(LerBytes(Host("f.mp3")), antes);
    EXPECT_TRUE(RegistroVazio());
}

TEST_F(InfoAudioTeste, ID3v1ViraTagID3v2ComSeusTextos) {
    const std::string mp3 = Mp3("so1.mp3", "-b 128", R"PY(
t = m.ID3()
t.add(m.TIT2(encoding=0, text="Velho titulo"))
t.add(m.TPE1(encoding=0, text="Velho artista"))
t.add(m.TALB(encoding=0, text="Velho album"))
t.add(m.TRCK(encoding=0, text="4"))
t.save(sys.argv[1], v1=2, v2_version=3)
m.ID3(sys.argv[1]).delete(sys.argv[1], delete_v1=False, delete_v2=True)
)PY");
    CriarLeitores(".mp3");
    LerInfoAudio(mp3);
    ValoresTag v;
    v.TIT2 = "Titulo novo";
    GravarTag(mp3, v);
    const auto f = teste::FramesMutagen(Host("so1.mp3"));
    EXPECT_EQ(f.at("TIT2"), "Titulo novo");
    EXPECT_EQ(f.at("TPE1"), "Velho artista");
    EXPECT_EQ(f.at("TALB"), "Velho album");
    EXPECT_EQ(f.at("TRCK"), "4");
    EXPECT_EQ(f.at("TCAD"), "S");
    // The ID3v1 block stays at the end.
    EXPECT_EQ(LerBytes(Host("so1.mp3")).substr(LerBytes(Host("so1.mp3")).size() - 128, 3), "TAG");
}

TEST_F(InfoAudioTeste, FluxoInvalidoNaoPerdeOsQuadrosDoArquivo) {
    // An MP3 whose stream cannot be analysed: the record holds no frame texts, yet the rewrite
    // keeps the frames the file had and changes only the given ones.
    teste::GravarBytes(Host("ruim.mp3"), std::string(3000, '\x11'));
    teste::Python(R"PY(
t = m.ID3()
t.add(m.TIT2(encoding=0, text="Titulo"))
t.add(m.TCOM(encoding=0, text="Compositor"))
t.add(m.TENC(encoding=0, text="Estudio"))
t.add(type("TGRA", (m.TextFrame,), {})(encoding=0, text="Gravadora"))
t.add(m.TRCK(encoding=0, text="2"))
t.save(sys.argv[1], v2_version=3)
)PY",
                  Host("ruim.mp3"));
    CriarLeitores(".mp3");
    LerInfoAudio(Windows("ruim.mp3"));
    ASSERT_EQ(InfoAudio.MPEGValido, "N\xE3o");
    ValoresTag v;
    v.TPE1 = "Artista";
    v.TSUC = "N";
    GravarTag(Windows("ruim.mp3"), v);
    const auto f = teste::FramesMutagen(Host("ruim.mp3"));
    EXPECT_EQ(f.at("TIT2"), "Titulo");
    EXPECT_EQ(f.at("TPE1"), "Artista");
    EXPECT_EQ(f.at("TCOM"), "Compositor");
    EXPECT_EQ(f.at("TENC"), "Estudio");
    EXPECT_EQ(f.at("TGRA"), "Gravadora");
    EXPECT_EQ(f.at("TRCK"), "2");
    EXPECT_EQ(f.at("TSUC"), "N");
    EXPECT_EQ(f.at("TCAD"), "S");
    EXPECT_TRUE(LerBytes(Host("ruim.mp3")).find(std::string(3000, '\x11')) != std::string::npos);
}

TEST_F(InfoAudioTeste, LeitoresPorExtensao) {
    CriarLeitores("MP3");
    EXPECT_TRUE(LeitorMPEG && LeitorID3v1 && LeitorID3v2);
    EXPECT_FALSE(LeitorWAV);
    InfoAudio.Codificador = "x";
    LiberarLeitores(".Mp3");
    EXPECT_FALSE(LeitorMPEG || LeitorID3v1 || LeitorID3v2);
    EXPECT_TRUE(RegistroVazio());
    CriarLeitores(".ogg");
    EXPECT_TRUE(LeitorWAV);
    EXPECT_FALSE(LeitorMPEG);
    // A WAV path while MPEG readers are held still gets a WAV reader.
    CriarLeitores(".mp3");
    LiberarLeitores(".wav");
    teste::GerarWav(Host("w.wav"), 1, 8000, 1);
    LerInfoAudio(Windows("w.wav"));
    EXPECT_EQ(InfoAudio.Duracao, "1,000 seg.");
}

}  // namespace
}  // namespace quorvel
