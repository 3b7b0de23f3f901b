// ID3v1 blocks: made by mutagen (v1.1) and by hand for the variants no tool writes.
#include <gtest/gtest.h>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "audio/id3v1.h"

namespace quorvel {
namespace {

using teste::BlocoID3v1;
using teste::GravarBytes;

class ID3v1Teste : public ::testing::Test {
protected:
    teste::PastaTemporaria pasta;
    std::string Arquivo(const std::string& nome, const std::string& conteudo) {
        const std::string caminho = pasta.Caminho() + "/" + nome;
        GravarBytes(caminho, conteudo);
        return caminho;
    }
};

TEST(ID3v1Generos, TabelaTemOs148NomesComSuaGrafia) {
    ASSERT_EQ(TID3v1::GenreNames.size(), 148u);
    EXPECT_STREQ(TID3v1::GenreNames[0], "Blues");
    EXPECT_STREQ(TID3v1::GenreNames[14], "R&B");
    EXPECT_STREQ(TID3v1::GenreNames[67], "Psychadelic");
    EXPECT_STREQ(TID3v1::GenreNames[79], "Hard Rock");
    EXPECT_STREQ(TID3v1::GenreNames[80], "Folk");
    EXPECT_STREQ(TID3v1::GenreNames[92], "Progessive Rock");
    EXPECT_STREQ(TID3v1::GenreNames[123], "A capella");
    EXPECT_STREQ(TID3v1::GenreNames[133], "Negerpunk");
    EXPECT_STREQ(TID3v1::GenreNames[144], "Trash Metal");
    EXPECT_STREQ(TID3v1::GenreNames[147], "Synthpop");
}

TEST_F(ID3v1Teste, LeTagV11EscritaPeloMutagen) {
    QUORVEL_EXIGIR("sox", "lame", "mutagen");
    const std::string mp3 = pasta.Caminho() + "/m.mp3";
    teste::GerarMp3(mp3, 1, "-b 128");
    // mutagen writes ID3v1 only together with ID3v2; the v2 tag is removed afterwards.
    teste::Python(R"PY(
t = m.ID3()
t.add(m.TIT2(encoding=0, text="Cancao do mar"))
t.add(m.TPE1(encoding=0, text="Artista"))
t.add(m.TALB(encoding=0, text="Album"))
t.add(m.TDRC(encoding=0, text="1999"))
t.add(m.TRCK(encoding=0, text="7"))
t.add(m.TCON(encoding=0, text="Samba"))
t["COMM"] = m.COMM(encoding=0, lang="eng", desc="", text="bom")
t.save(sys.argv[1], v1=2, v2_version=3)
m.ID3(sys.argv[1]).delete(sys.argv[1], delete_v1=False, delete_v2=True)
)PY",
                  mp3);
    TID3v1 t;
    ASSERT_TRUE(t.ReadFromFile(mp3));
    EXPECT_TRUE(t.Exists());
    EXPECT_EQ(t.TagVersion(), 2);
    EXPECT_EQ(t.Title(), "Cancao do mar");
    EXPECT_EQ(t.Artist(), "Artista");
    EXPECT_EQ(t.Album(), "Album");
    EXPECT_EQ(t.Year(), "1999");
    EXPECT_EQ(t.Comment(), "bom");
    EXPECT_EQ(t.Track(), 7);
    EXPECT_EQ(t.GenreID(), 114);
    EXPECT_EQ(t.Genre(), "Samba");
}

TEST_F(ID3v1Teste, ArquivoSemTagCurtoOuAusente) {
    TID3v1 t;
    // A file of exactly 128 bytes that is a tag.
    EXPECT_TRUE(t.ReadFromFile(Arquivo("128.mp3", BlocoID3v1("T", "A", "B", "2001", "c", -1, 17))));
    EXPECT_TRUE(t.Exists());
    EXPECT_EQ(t.Genre(), "Rock");
    // Shorter than 128 bytes: no read at all, fields reset.
    EXPECT_FALSE(t.ReadFromFile(Arquivo("127.mp3", std::string(127, 'x'))));
    EXPECT_FALSE(t.Exists());
    EXPECT_EQ(t.TagVersion(), 1);
    EXPECT_EQ(t.GenreID(), 255);
    EXPECT_EQ(t.Genre(), "");
    EXPECT_FALSE(t.ReadFromFile(pasta.Caminho() + "/nao-existe.mp3"));
    // "tag" in lower case is no tag, but the read succeeded.
    std::string minusculo = BlocoID3v1("T", "A", "B", "2001", "c", 3, 1);
    minusculo.replace(0, 3, "tag");
    EXPECT_TRUE(t.ReadFromFile(Arquivo("min.mp3", std::string(500, '\x55') + minusculo)));
    EXPECT_FALSE(t.Exists());
    EXPECT_EQ(t.Title(), "");
}

TEST_F(ID3v1Teste, VersaoPeloByte125E126) {
    TID3v1 t;
    // Comment bytes 28 and 29 both NUL: v1.0 with the whole 30-byte comment.
    std::string v10 = BlocoID3v1("T", "A", "B", "2001", "", -1, 255);
    v10.replace(97, 20, "abcdefghijklmnopqrst");
    ASSERT_TRUE(t.ReadFromFile(Arquivo("v10.mp3", v10)));
    EXPECT_EQ(t.TagVersion(), 1);
    EXPECT_EQ(t.Comment(), "abcdefghijklmnopqrst");
    EXPECT_EQ(t.Track(), 0);

    // Byte 125 a blank and byte 126 a letter: v1.1, comment cut to 28 bytes, track = 'Z'.
    std::string branco = BlocoID3v1("T", "A", "B", "2001", "", -1, 255);
    branco.replace(97, 30, "0123456789012345678901234567 Z");
    ASSERT_TRUE(t.ReadFromFile(Arquivo("v11b.mp3", branco)));
    EXPECT_EQ(t.TagVersion(), 2);
    EXPECT_EQ(t.Comment(), "0123456789012345678901234567");
    EXPECT_EQ(t.Track(), 'Z');

    // Both blanks: v1.0, the comment keeps the full field without the trailing blanks.
    std::string brancos = branco;
    brancos[126] = ' ';
    ASSERT_TRUE(t.ReadFromFile(Arquivo("v10b.mp3", brancos)));
    EXPECT_EQ(t.TagVersion(), 1);
    EXPECT_EQ(t.Comment(), "0123456789012345678901234567");
}

TEST_F(ID3v1Teste, TextosPerdemSoOFinalDeBrancosENuls) {
    std::string b = BlocoID3v1("", "  Artista \x01\x1F", "Album", "99", "", 0, 148);
    b.replace(3, 5, std::string("ab\0cd", 5));  // a NUL inside the title stays
    TID3v1 t;
    ASSERT_TRUE(t.ReadFromFile(Arquivo("nulo.mp3", b)));  // "nul.mp3" is a device on Windows
    EXPECT_EQ(t.Title(), std::string("ab\0cd", 5));
    EXPECT_EQ(t.Artist(), "  Artista");
    EXPECT_EQ(t.Year(), "99");
    EXPECT_EQ(t.GenreID(), 148);
    EXPECT_EQ(t.Genre(), "");
    // Track byte 0 with a NUL at 125: v1.0, track 0.
    EXPECT_EQ(t.TagVersion(), 1);
    EXPECT_EQ(t.Track(), 0);
}

}  // namespace
}  // namespace quorvel
