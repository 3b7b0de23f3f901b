// Reading ID3v2 tags written by mutagen (versions 2.3 and 2.4, single-byte, UTF-16 and UTF-8
// frames) and by hand where no tool writes the case (version 2.2, footers, oversized frames,
// compressed frames, sizes beyond the file).
#include <gtest/gtest.h>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "audio/id3v2.h"

namespace quorvel {
namespace {

using teste::QuadroManual;
using teste::TagID3v2Manual;

std::string Texto0(const std::string& t) { return std::string(1, '\0') + t; }
// UTF-16 little-endian with byte-order mark, as encoding 1 frames hold it.
std::string Utf16(const std::u16string& t, bool bom = true) {
    std::string r = std::string(1, '\x01');
    if (bom) r += "\xFF\xFE";
    for (char16_t c : t) {
        r += static_cast<char>(c & 0xFF);
        r += static_cast<char>(c >> 8);
    }
    return r;
}

class ID3v2Leitura : public ::testing::Test {
protected:
    teste::PastaTemporaria pasta;
    std::string audio = std::string(4000, '\x55');
    std::string Arquivo(const std::string& nome, const std::string& conteudo) {
        const std::string caminho = pasta.Caminho() + "/" + nome;
        teste::GravarBytes(caminho, conteudo);
        return caminho;
    }
    std::string Mp3Mutagen(const std::string& script) {
        const std::string mp3 = pasta.Caminho() + "/m.mp3";
        teste::GerarMp3(mp3, 1, "-b 128");
        teste::Python(script, mp3);
        return mp3;
    }
};

TEST_F(ID3v2Leitura, Versao23DoMutagenComUtf16ELatin1EOsQuadrosDaEmissora) {
    QUORVEL_EXIGIR("sox", "lame", "mutagen");
    const std::string mp3 = Mp3Mutagen(R"PY(
def proprio(ident, texto, cod=0):
    cls = type(ident, (m.TextFrame,), {})
    return cls(encoding=cod, text=texto)
t = m.ID3()
t.add(m.TIT2(encoding=1, text="Can\u00e7\u00e3o \u20ac"))
t.add(m.TPE1(encoding=0, text="Jo\u00e3o"))
t.add(m.TALB(encoding=1, text="Ao vivo"))
t.add(m.TRCK(encoding=0, text="3/12"))
t.add(m.TYER(encoding=0, text="1998"))
t.add(m.TCON(encoding=0, text="(17)Rock"))
t.add(m.COMM(encoding=1, lang="por", desc="", text="primeiro"))
t.add(m.TCOM(encoding=0, text="Compositor"))
t.add(m.TENC(encoding=0, text="Codificador"))
t.add(m.TCOP(encoding=0, text="(c) 1998"))
t.add(m.TLAN(encoding=0, text="por"))
t.add(m.WXXX(encoding=0, desc="site", url="http://radio.example/"))
for i, ident in enumerate(["TRIT", "TINT", "TEXT", "TEST", "TIDM", "TCAR", "TVIN", "TMXI", "TMXF",
                           "TRFI", "TRFF", "TCAD", "TSUC", "TGRA", "TVOC", "TTPE", "TPIN", "TPFI", "TPMI"]):
    t.add(proprio(ident, ident.lower() + " valor", i % 2))
t.save(sys.argv[1], v2_version=3)
)PY");
    TID3v2 t;
    ASSERT_TRUE(t.ReadFromFile(mp3));
    EXPECT_TRUE(t.Exists());
    EXPECT_EQ(t.TagVersion(), 3);
    const auto frames = teste::FramesMutagen(mp3);
    EXPECT_EQ(t.Size(), std::stoi(frames.at("#tamanho")));
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "Can\xE7\xE3o \x80");
    EXPECT_EQ(t.Texto(TID3v2::SlotArtist), "Jo\xE3o");
    EXPECT_EQ(t.Texto(TID3v2::SlotAlbum), "Ao vivo");
    EXPECT_EQ(t.Track(), 3);
    EXPECT_EQ(t.TrackText(), "3/12");
    EXPECT_EQ(t.Texto(TID3v2::SlotYear), "1998");
    EXPECT_EQ(t.Texto(TID3v2::SlotGenre), "Rock");
    EXPECT_EQ(t.Texto(TID3v2::SlotComment), "primeiro");
    EXPECT_EQ(t.Texto(TID3v2::SlotComposer), "Compositor");
    EXPECT_EQ(t.Texto(TID3v2::SlotEncoder), "Codificador");
    EXPECT_EQ(t.Texto(TID3v2::SlotCopyright), "(c) 1998");
    EXPECT_EQ(t.Texto(TID3v2::SlotLanguage), "por");
    EXPECT_EQ(t.Texto(TID3v2::SlotLink), "http://radio.example/");
    EXPECT_EQ(t.Texto(TID3v2::SlotTRIT), "trit valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTINT), "tint valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTEXT), "text valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTEST), "test valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTIDM), "tidm valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTCAR), "tcar valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTVIN), "tvin valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTMXI), "tmxi valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTMXF), "tmxf valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTRFI), "trfi valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTRFF), "trff valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTCAD), "tcad valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTSUC), "tsuc valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTGRA), "tgra valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTVOC), "tvoc valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTTPE), "ttpe valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTPIN), "tpin valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTPFI), "tpfi valor");
    EXPECT_EQ(t.Texto(TID3v2::SlotTPMI), "tpmi valor");
}

TEST_F(ID3v2Leitura, Versao24Utf8IgnoradoCedeAoQuadroReserva) {
    QUORVEL_EXIGIR("sox", "lame", "mutagen");
    const std::string mp3 = Mp3Mutagen(R"PY(
t = m.ID3()
t.add(m.TIT2(encoding=3, text="T\u00edtulo UTF-8"))
t.add(m.TIT1(encoding=0, text="Grupo"))
t.add(m.TPE1(encoding=2, text="UTF-16BE"))
t.add(m.TOPE(encoding=1, text="Original"))
t.add(m.TDRC(encoding=0, text="2004-05-06"))
t.add(m.TALB(encoding=0, text=""))
t.add(m.TOAL(encoding=0, text="Album original"))
t.add(m.TCON(encoding=0, text="(17)"))
t.add(m.TRCK(encoding=0, text="A1"))
t.add(m.TCOM(encoding=3, text="Ningu\u00e9m"))
t.save(sys.argv[1], v2_version=4)
)PY");
    TID3v2 t;
    ASSERT_TRUE(t.ReadFromFile(mp3));
    EXPECT_EQ(t.TagVersion(), 4);
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "Grupo");
    EXPECT_EQ(t.Texto(TID3v2::SlotArtist), "Original");
    EXPECT_EQ(t.Texto(TID3v2::SlotAlbum), "Album original");
    EXPECT_EQ(t.Texto(TID3v2::SlotYear), "2004");
    EXPECT_EQ(t.Texto(TID3v2::SlotGenre), "");
    EXPECT_EQ(t.Track(), 0);
    EXPECT_EQ(t.TrackText(), "A1");
    EXPECT_EQ(t.Texto(TID3v2::SlotComposer), "");
}

TEST_F(ID3v2Leitura, ComentarioEEnderecoComDescricao) {
    // Two COMM frames: the later one counts. Descriptions are skipped in both encodings.
    const std::string quadros =
        QuadroManual("COMM", std::string("\0eng", 4) + "desc" + std::string(1, '\0') + "antigo") +
        QuadroManual("COMM", std::string("\x01") + "eng" + "\xFF\xFE" + std::string(2, '\0') +
                                 Utf16(u"Coment\u00e1rio").substr(1)) +
        QuadroManual("WXXX", std::string(1, '\0') + "link" + std::string(1, '\0') + "http://x/");
    TID3v2 t;
    ASSERT_TRUE(t.ReadFromFile(Arquivo("c.mp3", TagID3v2Manual(3, 0, quadros, 20) + audio)));
    EXPECT_EQ(t.Texto(TID3v2::SlotComment), "Coment\xE1rio");
    EXPECT_EQ(t.Texto(TID3v2::SlotLink), "http://x/");

    EXPECT_EQ(TID3v2::ExtractDescribedText(std::string("\0eng", 4) + "sem separador", true),
              "sem separador");
    EXPECT_EQ(TID3v2::ExtractDescribedText("", true), "");
}

TEST_F(ID3v2Leitura, DecodeTextUtf16) {
    // The mark FF FE is dropped; units stop at the first 0; other characters map to Windows-1252.
    EXPECT_EQ(TID3v2::DecodeText(Utf16(u"  Ol\u00e1 \u2014 \u4e2d ") + std::string(2, '\0') + "xx"),
              "Ol\xE1 \x97 ?");
    EXPECT_EQ(TID3v2::DecodeText(Utf16(u"sem marca", false)), "sem marca");
    EXPECT_EQ(TID3v2::DecodeText(std::string("\0  texto\0com nul  \0\0\0", 20)),
              std::string("texto\0com nul", 13));
    EXPECT_EQ(TID3v2::DecodeText(""), "");
}

TEST_F(ID3v2Leitura, GeneroPerdeSoOQueVaiAteOUltimoParentese) {
    // Everything up to and including the last ")" goes; the rest, a leading blank included, stays.
    TID3v2 t;
    auto genero = [&](const std::string& texto) {
        const std::string q = QuadroManual("TCON", Texto0(texto));
        EXPECT_TRUE(t.ReadFromFile(Arquivo("g.mp3", TagID3v2Manual(3, 0, q, 10) + audio)));
        return t.Texto(TID3v2::SlotGenre);
    };
    EXPECT_EQ(genero("(17) Rock"), " Rock");
    EXPECT_EQ(genero("(17)(18)Pop"), "Pop");
    EXPECT_EQ(genero("Rock (ao vivo)"), "");
    EXPECT_EQ(genero("Samba"), "Samba");
}

TEST_F(ID3v2Leitura, Versao22ComTRIPreencheDoisCampos) {
    const std::string quadros = QuadroManual("TT2", Texto0("Titulo 2.2")) +
                                QuadroManual("TP1", Utf16(u"Artista")) +
                                QuadroManual("TRI", Texto0("Samba")) +
                                QuadroManual("COM", std::string("\0eng", 4) + std::string(1, '\0') + "nota") +
                                QuadroManual("TOR", Texto0("1987"));
    TID3v2 t;
    ASSERT_TRUE(t.ReadFromFile(Arquivo("v22.mp3", TagID3v2Manual(2, 0, quadros, 100) + audio)));
    EXPECT_EQ(t.TagVersion(), 2);
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "Titulo 2.2");
    EXPECT_EQ(t.Texto(TID3v2::SlotArtist), "Artista");
    EXPECT_EQ(t.Texto(TID3v2::SlotTRIT), "Samba");
    EXPECT_EQ(t.Texto(TID3v2::SlotTRFI), "Samba");
    EXPECT_EQ(t.Texto(TID3v2::SlotComment), "nota");
    EXPECT_EQ(t.Texto(TID3v2::SlotYear), "1987");
}

TEST_F(ID3v2Leitura, QuadroDe600BytesGuarda500EOProximoEAchado) {
    const std::string longo = std::string(1, '\0') + std::string(499, 'a') + std::string(100, 'b');
    const std::string quadros = QuadroManual("TIT2", longo) + QuadroManual("TPE1", Texto0("Depois")) +
                                QuadroManual("TALB", Texto0("Comprimido"), 0x80) +
                                QuadroManual("TCOM", Texto0("Compositor"));
    TID3v2 t;
    ASSERT_TRUE(t.ReadFromFile(Arquivo("600.mp3", TagID3v2Manual(3, 0, quadros, 50) + audio)));
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), std::string(499, 'a'));
    EXPECT_EQ(t.Texto(TID3v2::SlotArtist), "Depois");
    EXPECT_EQ(t.Texto(TID3v2::SlotAlbum), "");  // compressed frames are skipped
    EXPECT_EQ(t.Texto(TID3v2::SlotComposer), "Compositor");
}

TEST_F(ID3v2Leitura, TamanhoComRodapeAlemDoArquivoEVersaoDesconhecida) {
    const std::string q = QuadroManual("TIT2", Texto0("Com rodape"));
    TID3v2 t;
    // Footer flag: 10 more bytes are counted.
    std::string comRodape = TagID3v2Manual(4, 0x10, q, 30);
    comRodape += "3DI" + comRodape.substr(3, 7);
    ASSERT_TRUE(t.ReadFromFile(Arquivo("rodape.mp3", comRodape + audio)));
    EXPECT_EQ(t.Size(), static_cast<int32_t>(q.size() + 30 + 20));
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "Com rodape");

    // Stated size beyond the file: the tag exists but has size 0 and no frames.
    ASSERT_TRUE(t.ReadFromFile(Arquivo("alem.mp3", TagID3v2Manual(3, 0, q, 0, 100000) + audio)));
    EXPECT_TRUE(t.Exists());
    EXPECT_EQ(t.Size(), 0);
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "");

    // Version 5: size set, no frames read.
    ASSERT_TRUE(t.ReadFromFile(Arquivo("v5.mp3", TagID3v2Manual(5, 0, q, 10) + audio)));
    EXPECT_TRUE(t.Exists());
    EXPECT_EQ(t.TagVersion(), 5);
    EXPECT_EQ(t.Size(), static_cast<int32_t>(q.size() + 20));
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "");

    // The size bytes are taken whole, without masking their top bits.
    const unsigned char cab[10] = {'I', 'D', '3', 3, 0, 0, 0, 0, 0x81, 0x80};
    EXPECT_EQ(TID3v2::TagSize(cab, 100000), 0x81 * 128 + 0x80 + 10);
    EXPECT_EQ(TID3v2::TagSize(cab, 100), 0);
}

TEST_F(ID3v2Leitura, ArquivoCurtoSemTagOuTruncado) {
    TID3v2 t;
    EXPECT_FALSE(t.ReadFromFile(Arquivo("9.mp3", "ID3\x03\0\0\0\0\0")));
    EXPECT_FALSE(t.ReadFromFile(pasta.Caminho() + "/falta.mp3"));
    EXPECT_TRUE(t.ReadFromFile(Arquivo("sem.mp3", audio)));
    EXPECT_FALSE(t.Exists());
    EXPECT_EQ(t.Size(), 0);
    // A frame cut by the end of the tag area: the frames before it stay.
    const std::string q = QuadroManual("TIT2", Texto0("Inteiro")) + QuadroManual("TPE1", Texto0("Cortado"));
    std::string cortado = TagID3v2Manual(3, 0, q);
    cortado.resize(cortado.size() - 3);
    // Claim exactly the file's length, so the tag is taken but its last frame is short.
    cortado[9] = static_cast<char>(cortado.size() - 10);
    ASSERT_TRUE(t.ReadFromFile(Arquivo("cortado.mp3", cortado)));
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "Inteiro");
    EXPECT_EQ(t.Texto(TID3v2::SlotArtist), "");
}

TEST_F(ID3v2Leitura, CamposAtribuidosSaoAparados) {
    TID3v2 t;
    t.Definir(TID3v2::SlotTitle, "  \t Titulo \x01 ");
    t.Definir(TID3v2::SlotTPMI, std::string("\0x\0", 3));
    t.SetTrack(65535);
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "Titulo");
    EXPECT_EQ(t.Texto(TID3v2::SlotTPMI), "x");
    EXPECT_EQ(t.Track(), 65535);
    t.Reset();
    EXPECT_EQ(t.Texto(TID3v2::SlotTitle), "");
    EXPECT_EQ(t.Track(), 0);
}

}  // namespace
}  // namespace quorvel
