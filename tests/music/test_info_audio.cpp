// The audio information record and the tag rewrite, on MP3 files made by lame and tagged by
// mutagen, and WAV files made by sox.
#include <gtest/gtest.h>

#include <cstdio>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "music/gravar_tag.h"
#include "music/info_audio.h"
#include "platform/caminhos.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {
namespace {

using teste::LerBytes;

bool RegistroVazio(const Tag& registro) {
    for (const CampoTag& c : CamposTag)
        if (!c.Valor(registro).empty()) return false;
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

TEST_F(InfoAudioTeste, CaminhoVazioSemLeitoresNemRegistro) {
    const ArquivoAudio audio = LerInfoAudio("");
    EXPECT_TRUE(RegistroVazio(audio.InfoAudio()));
    EXPECT_FALSE(audio.LeitorMPEG());
    EXPECT_FALSE(audio.LeitorWAV());
    EXPECT_EQ(audio.Duracao(), 0);
}

TEST_F(InfoAudioTeste, MP3ComTagV23) {
    const std::string mp3 = Mp3("a.mp3", "-b 128", kTagCompleta);
    const ArquivoAudio audio = LerInfoAudio(mp3);
    const Tag& r = audio.InfoAudio();
    ASSERT_TRUE(audio.LeitorMPEG());
    const TMPEGaudio& m = *audio.LeitorMPEG();
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
    EXPECT_EQ(r.Frames[TID3v2::SlotTitle], "T\xEDtulo");
    EXPECT_EQ(r.Frames[TID3v2::SlotArtist], "Artista");
    EXPECT_EQ(r.Frames[TID3v2::SlotAlbum], "Album");
    EXPECT_EQ(r.Frames[TID3v2::SlotTrack], "");  // no TRCK frame
    EXPECT_EQ(r.Frames[TID3v2::SlotYear], "2001");
    EXPECT_EQ(r.Frames[TID3v2::SlotGenre], "Samba");
    EXPECT_EQ(r.Frames[TID3v2::SlotComment], "Obs");
    EXPECT_EQ(r.Frames[TID3v2::SlotComposer], "Compositor antigo");
    EXPECT_EQ(r.Frames[TID3v2::SlotEncoder], "Estudio");
    EXPECT_EQ(r.Frames[TID3v2::SlotCopyright], "Gravadora");
    EXPECT_EQ(r.Frames[TID3v2::SlotLanguage], "Portugu\xEAs");
    EXPECT_EQ(r.Frames[TID3v2::SlotLink], "http://radio.example/");
    EXPECT_EQ(r.Frames[TID3v2::SlotTRIT], "TRIT!");
    EXPECT_EQ(r.Frames[TID3v2::SlotTGRA], "TGRA!");
    EXPECT_EQ(r.Frames[TID3v2::SlotTPMI], "TPMI!");
    EXPECT_EQ(r.Frames[TID3v2::SlotTEXT], "");
    EXPECT_EQ(r.Frames[TID3v2::SlotTSUC], "");
    // The MPEG reader's own ID3v2 reader holds the same tag.
    EXPECT_EQ(audio.TagID3v2().Texto(TID3v2::SlotAlbum), "Album");
    EXPECT_EQ(audio.Duracao(), m.Duration());
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
    const Tag v1 = LerInfoAudio(v11).InfoAudio();
    EXPECT_EQ(v1.TagExiste, "Sim");
    EXPECT_EQ(v1.TagVersao, "1.1");
    EXPECT_EQ(v1.TagTamanho, "");
    EXPECT_EQ(v1.Frames[TID3v2::SlotTitle], "Titulo v1");
    EXPECT_EQ(v1.Frames[TID3v2::SlotArtist], "Artista v1");
    EXPECT_EQ(v1.Frames[TID3v2::SlotTrack], "7");
    EXPECT_EQ(v1.Frames[TID3v2::SlotGenre], "Rock");
    EXPECT_EQ(v1.Frames[TID3v2::SlotComment], "nota");
    EXPECT_EQ(v1.Frames[TID3v2::SlotComposer], "");
    EXPECT_EQ(v1.Frames[TID3v2::SlotTPMI], "");

    // A v1.0 block (no track) still gives its track number 0.
    teste::GerarMp3(Host("v10.mp3"), 1, "-b 128");
    {
        std::string b = LerBytes(Host("v10.mp3"));
        b += teste::BlocoID3v1("Dez", "", "", "1990", "comentario longo de trinta!!", -1, 255);
        teste::GravarBytes(Host("v10.mp3"), b);
    }
    const Tag v10 = LerInfoAudio(Windows("v10.mp3")).InfoAudio();
    EXPECT_EQ(v10.TagVersao, "1.0");
    EXPECT_EQ(v10.Frames[TID3v2::SlotTrack], "0");
    EXPECT_EQ(v10.Frames[TID3v2::SlotGenre], "");
    EXPECT_EQ(v10.Frames[TID3v2::SlotComment], "comentario longo de trinta!!");
}

TEST_F(InfoAudioTeste, SemTagVBRECBR) {
    const std::string vbr = Mp3("abr.mp3", "--abr 192");
    const ArquivoAudio abr = LerInfoAudio(vbr);
    const Tag& r = abr.InfoAudio();
    EXPECT_EQ(r.MPEGValido, "Sim");
    EXPECT_EQ(r.TagExiste, "");
    EXPECT_EQ(r.TagVersao, "");
    EXPECT_EQ(r.Frames[TID3v2::SlotTitle], "");
    EXPECT_EQ(r.TaxaBits, "VBR " + std::to_string(abr.LeitorMPEG()->BitRate()) + " kbit/s");
    EXPECT_EQ(r.Quadros, std::to_string(abr.LeitorMPEG()->VBR().FrameCount));

    const std::string mono = Mp3("mono22.mp3", "-m m --resample 22.05 -b 32");
    const Tag m = LerInfoAudio(mono).InfoAudio();
    EXPECT_EQ(m.VersaoCamada, "MPEG 2 Layer III");
    EXPECT_EQ(m.TaxaBits, "CBR 32 kbit/s");
    EXPECT_EQ(m.TaxaAmostragem, "22050 hz");
    EXPECT_EQ(m.ModoCanal, "Mono");
}

TEST_F(InfoAudioTeste, WAVDe12Segundos) {
    teste::GerarWav(Host("voz.wav"), 12.3456, 44100, 2);
    const ArquivoAudio voz = LerInfoAudio(Windows("VOZ.WAV"));
    const Tag& r = voz.InfoAudio();
    EXPECT_EQ(r.Duracao, "12,346 seg.");
    EXPECT_EQ(r.ModoCanal, "Stereo");
    EXPECT_EQ(r.TaxaAmostragem, "44100 hz");
    EXPECT_EQ(r.Tamanho, std::to_string(LerBytes(Host("voz.wav")).size()) + " bytes");
    EXPECT_EQ(r.MPEGValido, "");
    EXPECT_EQ(r.TagExiste, "");
    EXPECT_EQ(r.VersaoCamada, "");
    EXPECT_NEAR(voz.Duracao(), 12.3456, 1e-4);
    // A WAV file has no tag of its own.
    EXPECT_THROW(voz.TagID3v2(), Erro);
    // Short WAV: no leading zero before the separator.
    teste::GerarWav(Host("curto.wav"), 0.25, 8000, 1);
    EXPECT_EQ(LerInfoAudio(Windows("curto.wav")).InfoAudio().Duracao, ",250 seg.");
}

TEST_F(InfoAudioTeste, MP3InvalidoOuAusente) {
    teste::GravarBytes(Host("texto.mp3"), teste::TagID3v2Manual(3, 0, teste::QuadroManual("TIT2", std::string(1, '\0') + "x"), 10) +
                                              std::string(5000, 'a'));
    const Tag texto = LerInfoAudio(Windows("texto.mp3")).InfoAudio();
    EXPECT_EQ(texto.MPEGValido, "N\xE3o");
    EXPECT_EQ(texto.TagExiste, "");
    EXPECT_EQ(texto.Frames[TID3v2::SlotTitle], "");
    // Without audio the reader shows no tag, but the rewrite starts from the file's own frames.
    ArquivoAudio semAudio = LerInfoAudio(Windows("texto.mp3"));
    EXPECT_EQ(semAudio.TagID3v2().Texto(TID3v2::SlotTitle), "");
    ValoresTag sucesso;
    sucesso[TID3v2::SlotTSUC] = "N";
    EXPECT_EQ(GravarTag(semAudio, sucesso).modo, ResultadoTag::Modo::NovoArquivo);
    TID3v2 relido;
    ASSERT_TRUE(relido.ReadFromFile(Host("texto.mp3")));
    EXPECT_EQ(relido.Texto(TID3v2::SlotTitle), "x");
    EXPECT_EQ(relido.Texto(TID3v2::SlotTSUC), "N");

    ArquivoAudio falta = LerInfoAudio(Windows("falta.mp3"));
    EXPECT_TRUE(RegistroVazio(falta.InfoAudio()));
    EXPECT_EQ(falta.Duracao(), 0);
    ValoresTag valores;
    valores[TID3v2::SlotTitle] = "Titulo";
    GravarTag(falta, valores);
    EXPECT_TRUE(LerBytes(Host("falta.mp3")).empty());
}

TEST_F(InfoAudioTeste, GravarTagComoORegistroDaMusicaPede) {
    const std::string mp3 = Mp3("g.mp3", "-b 128", kTagCompleta);
    ArquivoAudio audio = LerInfoAudio(mp3);
    // Registration's values: title, artist, TSUC and TEXT; the rest from the record.
    ValoresTag registro;
    registro[TID3v2::SlotTitle] = "Novo t\xEDtulo";
    registro[TID3v2::SlotArtist] = "Novo artista";
    registro[TID3v2::SlotTSUC] = "N";
    registro[TID3v2::SlotTEXT] = ".mp3";
    GravarTag(audio, registro);
    EXPECT_TRUE(RegistroVazio(audio.InfoAudio()));
    // The tag read before the rewrite stays with the audio: registration takes its album, year,
    // track and lookups from it.
    EXPECT_EQ(audio.TagID3v2().Texto(TID3v2::SlotTitle), "T\xEDtulo");
    EXPECT_EQ(audio.TagID3v2().Texto(TID3v2::SlotComposer), "Compositor antigo");
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
    ArquivoAudio outra = LerInfoAudio(mp3);
    ValoresTag v;
    v[TID3v2::SlotComposer] = "Compositor novo";
    v[TID3v2::SlotTrack] = " 9";
    GravarTag(outra, v);
    const auto g = teste::FramesMutagen(Host("g.mp3"));
    EXPECT_EQ(g.at("TCOM"), "Compositor novo");
    EXPECT_EQ(g.at("TIT2"), "Novo t\xEDtulo");
    EXPECT_EQ(g.at("TRCK"), "9");
    EXPECT_EQ(g.at("TCAD"), "S");
}

TEST_F(InfoAudioTeste, FaixaQueNaoEInteiroNaoGravaNada) {
    const std::string mp3 = Mp3("f.mp3", "-b 128", kTagCompleta);
    const std::string antes = LerBytes(Host("f.mp3"));
    ArquivoAudio audio = LerInfoAudio(mp3);
    ValoresTag v;
    v[TID3v2::SlotTitle] = "Outro";
    v[TID3v2::SlotTrack] = "3/12";
    EXPECT_THROW(GravarTag(audio, v), ErroConversao);
    EXPECT_EQ(LerBytes(Host("f.mp3")), antes);
    EXPECT_TRUE(RegistroVazio(audio.InfoAudio()));
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
    ArquivoAudio audio = LerInfoAudio(mp3);
    ValoresTag v;
    v[TID3v2::SlotTitle] = "Titulo novo";
    GravarTag(audio, v);
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
    ArquivoAudio audio = LerInfoAudio(Windows("ruim.mp3"));
    ASSERT_EQ(audio.InfoAudio().MPEGValido, "N\xE3o");
    ValoresTag v;
    v[TID3v2::SlotArtist] = "Artista";
    v[TID3v2::SlotTSUC] = "N";
    GravarTag(audio, v);
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
    // An MP3 by its extension, in any letter case, gets the MPEG reader; anything else the WAV reader.
    for (const char* mp3 : {"C:\\Musicas\\a.MP3", "C:\\Musicas\\a.Mp3"}) {
        const ArquivoAudio audio(mp3);
        EXPECT_TRUE(audio.LeitorMPEG()) << mp3;
        EXPECT_FALSE(audio.LeitorWAV()) << mp3;
    }
    const ArquivoAudio ogg("C:\\Musicas\\a.ogg");
    EXPECT_TRUE(ogg.LeitorWAV());
    EXPECT_FALSE(ogg.LeitorMPEG());
    EXPECT_TRUE(ExtensaoMP3("MP3"));
    EXPECT_TRUE(ExtensaoMP3(".mp3"));
    EXPECT_FALSE(ExtensaoMP3(".mp3x"));
    // A WAV file read as such, whatever was read before.
    teste::GerarWav(Host("w.wav"), 1, 8000, 1);
    LerInfoAudio(Mp3("antes.mp3", "-b 128"));
    EXPECT_EQ(LerInfoAudio(Windows("w.wav")).InfoAudio().Duracao, "1,000 seg.");
}

}  // namespace
}  // namespace quorvel
