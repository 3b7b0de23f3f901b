// Relocation of jingle and music files on real files in a temporary drive folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "apoio/pasta_temporaria.h"
#include "migration/relocacao.h"
#include "platform/erros.h"

namespace quorvel {
namespace {

using teste::LerHost;
using teste::UnidadesTemporarias;

class Relocacao : public ::testing::Test {
protected:
    UnidadesTemporarias unidades;
    // The 2010 folder, and the messages the relocation showed.
    struct {
        std::string pasta2010 = "D:\\R";
        std::vector<std::string> mensagens;
    } ambiente;
    AvisoRelocacao avisar = [this](const std::string& texto) { ambiente.mensagens.push_back(texto); };
    PastasDestino pastas;

    std::string Vinheta(const std::string& dispositivo, const std::string& nome, const std::string& extensao) {
        CopiaArquivo c = PlanejarArquivoVinheta(ambiente.pasta2010, dispositivo, nome, extensao);
        CopiarArquivoVinheta(c, ambiente.pasta2010, pastas, avisar);
        return c.destino;
    }
    // The folder and name the music went to, as one path.
    std::string Musica(const std::string& drive, const std::string& dispositivo, const std::string& interprete,
                       const std::string& titulo, const std::string& extensao) {
        DestinoMusica d = PlanejarArquivoMusica(ambiente.pasta2010, drive, dispositivo, interprete, titulo, extensao);
        CopiarArquivoMusica(d, pastas, avisar);
        return d.pasta + "|" + d.arquivo;
    }

    // Writes a file on a drive: Gravar('c', "Comercial/V0001.mp3", ...).
    void Gravar(char drive, const std::string& relativo, const std::string& conteudo) {
        std::filesystem::path p = std::filesystem::path(unidades.Unidade(drive)) / relativo;
        std::filesystem::create_directories(p.parent_path());
        FILE* f = std::fopen(p.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(conteudo.data(), 1, conteudo.size(), f);
        std::fclose(f);
    }
    std::string Ler(char drive, const std::string& relativo) {
        return LerHost(unidades.Unidade(drive) + "/" + relativo);
    }
    bool Existe(char drive, const std::string& relativo) {
        return std::filesystem::exists(std::filesystem::path(unidades.Unidade(drive)) / relativo);
    }
};

TEST(RemoverCaracteresInvalidos, EachForbiddenCharacterBecomesOneSpace) {
    EXPECT_EQ(RemoverCaracteresInvalidos("Hora: quem?"), "Hora  quem ");
    EXPECT_EQ(RemoverCaracteresInvalidos("a\\b/c:d*e?f\"g<h>i|j"), "a b c d e f g h i j");
    EXPECT_EQ(RemoverCaracteresInvalidos("::"), "  ");
    const std::string limpo = "Abertura da Manh\xE3 - 2009 (v.2).mp3";
    EXPECT_EQ(RemoverCaracteresInvalidos(limpo), limpo);
    EXPECT_EQ(RemoverCaracteresInvalidos(RemoverCaracteresInvalidos("x?y")), RemoverCaracteresInvalidos("x?y"));
    EXPECT_EQ(RemoverCaracteresInvalidos(""), "");
}

TEST_F(Relocacao, JingleCopiedUnderItsNameThenNumberedOnEachCollision) {
    Gravar('c', "Comercial/V0001.mp3", "abertura");
    EXPECT_EQ(Vinheta("V0001", "Abertura", "mp3"), "D:\\R\\Vinhetas\\Abertura.mp3");
    EXPECT_EQ(Ler('d', "R/Vinhetas/Abertura.mp3"), "abertura");
    EXPECT_EQ(Vinheta("V0001", "Abertura", "mp3"), "D:\\R\\Vinhetas\\Abertura_1.mp3");
    EXPECT_EQ(Vinheta("V0001", "Abertura", "mp3"), "D:\\R\\Vinhetas\\Abertura_2.mp3");
    EXPECT_EQ(Ler('d', "R/Vinhetas/Abertura_2.mp3"), "abertura");
    // The source stays where it was.
    EXPECT_EQ(Ler('c', "Comercial/V0001.mp3"), "abertura");
    EXPECT_TRUE(ambiente.mensagens.empty());
}

TEST_F(Relocacao, JingleNeverOverwritesAndTakesTheFirstFreeNumber) {
    Gravar('c', "Comercial/V0002.mp3", "novo");
    Gravar('d', "R/Vinhetas/Vinheta.mp3", "antigo");
    Gravar('d', "R/Vinhetas/Vinheta_1.mp3", "antigo 1");
    Gravar('d', "R/Vinhetas/Vinheta_3.mp3", "antigo 3");
    EXPECT_EQ(Vinheta("V0002", "Vinheta", "mp3"), "D:\\R\\Vinhetas\\Vinheta_2.mp3");
    EXPECT_EQ(Ler('d', "R/Vinhetas/Vinheta.mp3"), "antigo");
    EXPECT_EQ(Ler('d', "R/Vinhetas/Vinheta_1.mp3"), "antigo 1");
    EXPECT_EQ(Ler('d', "R/Vinhetas/Vinheta_2.mp3"), "novo");
}

TEST_F(Relocacao, JingleNameIsTakenWithoutRegardToLetterCaseAsOnWindows) {
    Gravar('c', "Comercial/V0001.mp3", "x");
    Gravar('d', "R/Vinhetas/ABERTURA.MP3", "antigo");
    EXPECT_EQ(Vinheta("V0001", "Abertura", "mp3"), "D:\\R\\Vinhetas\\Abertura_1.mp3");
    EXPECT_EQ(Ler('d', "R/Vinhetas/ABERTURA.MP3"), "antigo");
}

TEST_F(Relocacao, LongJinglePathIsCutOnlyWhenItsNameIsTaken) {
    ambiente.pasta2010 = "D:\\Radio2010";
    Gravar('c', "Comercial/V0009.mp3", "natal");
    // No collision: the long path is used whole.
    EXPECT_EQ(Vinheta("V0009", "Chamada Especial de Natal", "mp3"),
              "D:\\Radio2010\\Vinhetas\\Chamada Especial de Natal.mp3");
    // Collision: cut to 38 characters plus the extension, then numbered.
    EXPECT_EQ(Vinheta("V0009", "Chamada Especial de Natal", "mp3"),
              "D:\\Radio2010\\Vinhetas\\Chamada Especial_1.mp3");
    EXPECT_EQ(Vinheta("V0009", "Chamada Especial de Natal", "mp3"),
              "D:\\Radio2010\\Vinhetas\\Chamada Especial_2.mp3");
    EXPECT_EQ(Ler('d', "Radio2010/Vinhetas/Chamada Especial_2.mp3"), "natal");
    EXPECT_FALSE(Existe('d', "Radio2010/Vinhetas/Chamada Especial.mp3"));
}

TEST_F(Relocacao, JingleNameIsSanitisedAndItsFolderCreated) {
    Gravar('c', "Comercial/V0003.wav", "w");
    EXPECT_EQ(Vinheta("V0003", "Hora: certa?", "wav"), "D:\\R\\Vinhetas\\Hora  certa .wav");
    EXPECT_EQ(Ler('d', "R/Vinhetas/Hora  certa .wav"), "w");
}

TEST_F(Relocacao, MissingJingleSourceStillGivesItsPathAndCopiesNothing) {
    EXPECT_EQ(Vinheta("V0404", "Sumida", "mp3"), "D:\\R\\Vinhetas\\Sumida.mp3");
    EXPECT_FALSE(Existe('d', "R/Vinhetas/Sumida.mp3"));
    EXPECT_TRUE(ambiente.mensagens.empty());
}

TEST_F(Relocacao, JingleCopyThatCannotBeMadeIsReportedAndTheRowGoesOn) {
    Gravar('c', "Comercial/V0005.mp3", "x");
    // The 2010 folder is a file: nothing can be written below it.
    Gravar('d', "R", "nao sou pasta");
    EXPECT_EQ(Vinheta("V0005", "Bloqueada", "mp3"), "D:\\R\\Vinhetas\\Bloqueada.mp3");
    ASSERT_EQ(ambiente.mensagens.size(), 1u);
    EXPECT_EQ(ambiente.mensagens[0],
              "N\xE3o foi poss\xEDvel converter a vinheta: \"C:\\Comercial\\V0005.mp3\" para: "
              "\"D:\\R\\Vinhetas\\Bloqueada.mp3\"");
}

TEST_F(Relocacao, A2010FolderTypedWithATrailingBackslashStillReachesItsSubfolders) {
    ambiente.pasta2010 = "D:\\R\\";
    Gravar('c', "Comercial/V0001.mp3", "a");
    Gravar('c', "Musicas/M0001.mp3", "m");
    EXPECT_EQ(Vinheta("V0001", "Abertura", "mp3"), "D:\\R\\\\Vinhetas\\Abertura.mp3");
    EXPECT_EQ(Ler('d', "R/Vinhetas/Abertura.mp3"), "a");
    EXPECT_EQ(Vinheta("V0001", "Abertura", "mp3"), "D:\\R\\\\Vinhetas\\Abertura_1.mp3");
    EXPECT_EQ(Musica("C:", "M0001", "Ana", "Luz", "mp3"), "D:\\R\\\\Musicas\\|Ana - Luz.mp3");
    EXPECT_EQ(Ler('d', "R/Musicas/Ana - Luz.mp3"), "m");
    EXPECT_TRUE(ambiente.mensagens.empty());
}

TEST_F(Relocacao, MusicOnDriveCGoesToThe2010Folder) {
    Gravar('c', "Musicas/M0001.mp3", "luz");
    EXPECT_EQ(Musica("C:", "M0001", "Ana", "Luz", "mp3"), "D:\\R\\Musicas\\|Ana - Luz.mp3");
    EXPECT_EQ(Ler('d', "R/Musicas/Ana - Luz.mp3"), "luz");
    EXPECT_EQ(Ler('c', "Musicas/M0001.mp3"), "luz");
}

TEST_F(Relocacao, MusicOnAnyOtherDriveOrLowerCaseCStaysBesideTheOldFile) {
    Gravar('e', "Musicas/M0002.mp3", "e");
    EXPECT_EQ(Musica("E:", "M0002", "AC/DC", "Thunder?", "mp3"), "E:\\Musicas\\|AC DC - Thunder .mp3");
    EXPECT_EQ(Ler('e', "Musicas/AC DC - Thunder .mp3"), "e");
    EXPECT_EQ(Ler('e', "Musicas/M0002.mp3"), "e");

    // "c:" is not "C:": the file stays on drive c beside the old one.
    Gravar('c', "Musicas/M0003.mp3", "c");
    EXPECT_EQ(Musica("c:", "M0003", "Bia", "Mar", "mp3"), "c:\\Musicas\\|Bia - Mar.mp3");
    EXPECT_EQ(Ler('c', "Musicas/Bia - Mar.mp3"), "c");
    EXPECT_FALSE(Existe('d', "R/Musicas/Bia - Mar.mp3"));
    EXPECT_TRUE(ambiente.mensagens.empty());
}

TEST_F(Relocacao, MusicOverwritesAFileOfItsNewName) {
    Gravar('c', "Musicas/M0001.mp3", "novo");
    Gravar('d', "R/Musicas/Ana - Luz.mp3", "antigo e mais comprido");
    Musica("C:", "M0001", "Ana", "Luz", "mp3");
    EXPECT_EQ(Ler('d', "R/Musicas/Ana - Luz.mp3"), "novo");
    EXPECT_FALSE(Existe('d', "R/Musicas/Ana - Luz_1.mp3"));
    // A copy kind in lower case is still a music copy, not a jingle.
    EXPECT_EQ(CopiarArquivoUnico("m", "C:\\Musicas\\M0001.mp3", "D:\\R\\Musicas\\Ana - Luz.mp3"),
              "D:\\R\\Musicas\\Ana - Luz.mp3");
    EXPECT_EQ(CopiarArquivoUnico("v", "C:\\Musicas\\M0001.mp3", "D:\\R\\Musicas\\Ana - Luz.mp3"),
              "D:\\R\\Musicas\\Ana - Luz_1.mp3");
}

TEST_F(Relocacao, MissingMusicSourceCopiesNothingAndSaysNothing) {
    // The destination is told all the same: the music is still registered under that name.
    EXPECT_EQ(Musica("C:", "M0404", "Ana", "Luz", "mp3"), "D:\\R\\Musicas\\|Ana - Luz.mp3");
    Musica("E:", "M0404", "Ana", "Luz", "mp3");
    EXPECT_FALSE(Existe('d', "R/Musicas/Ana - Luz.mp3"));
    EXPECT_FALSE(Existe('e', "Musicas/Ana - Luz.mp3"));
    EXPECT_TRUE(ambiente.mensagens.empty());
    // A folder of the source's name is not a file.
    std::filesystem::create_directories(std::filesystem::path(unidades.Unidade('c')) / "Musicas/M0405.mp3");
    Musica("C:", "M0405", "Ana", "Luz", "mp3");
    EXPECT_TRUE(ambiente.mensagens.empty());
}

// The copies of the run are known until they are flushed, by any letter case of their path; a file
// that was there already, or that nothing was copied to, is not one of them.
TEST_F(Relocacao, TheRunsCopiesAreKnownUntilFlushed) {
    Gravar('c', "Musicas/M0001.mp3", "luz");
    Gravar('c', "Comercial/V0001.mp3", "abertura");
    Gravar('d', "R/Musicas/Bia - Mar.mp3", "de antes");
    Musica("C:", "M0001", "Ana", "Luz", "mp3");
    Musica("C:", "M0404", "Bia", "Mar", "mp3");
    Vinheta("V0001", "Abertura", "mp3");
    Vinheta("V0001", "Abertura", "mp3");
    EXPECT_TRUE(pastas.CopiaPendente("D:\\R\\Musicas\\Ana - Luz.mp3"));
    EXPECT_TRUE(pastas.CopiaPendente("d:\\r\\musicas\\ANA - LUZ.MP3"));
    EXPECT_TRUE(pastas.CopiaPendente("D:\\R\\Vinhetas\\Abertura.mp3"));
    EXPECT_TRUE(pastas.CopiaPendente("D:\\R\\Vinhetas\\Abertura_1.mp3"));
    EXPECT_FALSE(pastas.CopiaPendente("D:\\R\\Musicas\\Bia - Mar.mp3"));
    EXPECT_FALSE(pastas.CopiaPendente("C:\\Musicas\\M0001.mp3"));
    pastas.SincronizarCopias();
    EXPECT_FALSE(pastas.CopiaPendente("D:\\R\\Musicas\\Ana - Luz.mp3"));
    EXPECT_EQ(Ler('d', "R/Musicas/Ana - Luz.mp3"), "luz");
}

TEST_F(Relocacao, MusicCopyThatCannotBeMadeIsReported) {
    Gravar('c', "Musicas/M0001.mp3", "luz");
    Gravar('d', "R", "nao sou pasta");
    Musica("C:", "M0001", "Ana", "Luz", "mp3");
    ASSERT_EQ(ambiente.mensagens.size(), 1u);
    EXPECT_EQ(ambiente.mensagens[0],
              "N\xE3o foi poss\xEDvel converter a m\xFAsica: \"C:\\Musicas\\M0001.mp3\" para: "
              "\"D:\\R\\Musicas\\Ana - Luz.mp3\"");
}

TEST_F(Relocacao, AKilledRunsTemporaryFilesAreClearedFromEveryFolderItWrites) {
    Gravar('c', "Comercial/V0001.mp3", "a");
    Gravar('c', "Musicas/M0001.mp3", "m");
    // Left by a killed run: a jingle copy, a music copy, a tag rewrite, in the three folders
    // written; beside them a user's files that only look alike.
    const std::vector<std::pair<char, std::string>> restos = {{'d', "R/Vinhetas/Abertura.mp3.~qv12ab34cd"},
                                                              {'d', "R/Musicas/Ana - Luz.mp3.~qvzzzz0000"},
                                                              {'d', "R/Musicas/Beto - Mar.mp3.~qv0a0b0c0d"},
                                                              {'e', "Musicas/Caio - Sol.mp3.~qvAbC123"}};
    const std::vector<std::pair<char, std::string>> doUsuario = {{'d', "R/Musicas/Ana - Luz.mp3~"},
                                                                 {'d', "R/Vinhetas/Abertura.mp3.~qv"},
                                                                 {'e', "Musicas/Caio - Sol.mp3.bak.~qv1"}};
    for (const auto& [drive, nome] : restos) Gravar(drive, nome, "resto");
    for (const auto& [drive, nome] : doUsuario) Gravar(drive, nome, "meu");

    Vinheta("V0001", "Abertura", "mp3");
    Musica("C:", "M0001", "Ana", "Luz", "mp3");
    Musica("E:", "M0404", "Caio", "Sol", "mp3");  // no source: the folder is cleared all the same
    for (const auto& [drive, nome] : restos) EXPECT_FALSE(Existe(drive, nome)) << nome;
    for (const auto& [drive, nome] : doUsuario) EXPECT_EQ(Ler(drive, nome), "meu") << nome;
    EXPECT_EQ(Ler('d', "R/Musicas/Ana - Luz.mp3"), "m");
    EXPECT_TRUE(ambiente.mensagens.empty());
}

TEST_F(Relocacao, CopyWithAFreeNameRaisesWhenTheCopyFails) {
    EXPECT_THROW(CopiarArquivoUnico("M", "C:\\nada.mp3", "D:\\R\\x.mp3"), Erro);
}

}  // namespace
}  // namespace quorvel
