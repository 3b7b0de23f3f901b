// Music registration on real MP3 and WAV files against the embedded 2010 audio database:
// the music record, the folder rows, the lookups, duplicates, the rewritten tag, the 2009 code
// and the failures that registration absorbs.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "apoio/audio_amostras.h"
#include "apoio/instalacao_teste.h"
#include "apoio/operador_roteirizado.h"
#include "app/nucleo/nucleo.h"
#include "audio/mpegaudio.h"
#include "music/cadastro_musica.h"
#include "migration/duracao.h"
#include "musicas_apoio.h"
#include "platform/caminhos.h"
#include "platform/erros.h"

namespace quorvel {
namespace {

using teste::Linhas;
using teste::Nulo;

const char* const kPasta = "D:\\Quorvel2010\\Musicas\\";
const char* const kColunas =
    "SELECT MUS_CODIGO, MUS_NOME, MUS_INTERPRETE, MUS_COMPOSITOR, MUS_TIPO, MUS_ALBUM, MUS_ANO, MUS_FAIXA, "
    "MUS_SUCESSO, GEN_CODIGO, SUB_CODIGO, RIT_CODIGO, VOC_CODIGO, GRA_CODIGO, IDI_CODIGO, MUS_NOMECOMPLETO, "
    "PAS_CODIGO, MUS_ARQUIVO, MUS_TIPOPERIODO, MUS_PERIODOINICIO, MUS_PERIODOFIM, MUS_SEGUNDOS, MUS_TEMPO, "
    "MUS_CODIGO_ANTIGO FROM TB_MUSICAS ORDER BY MUS_CODIGO";

class CadastroMusicaTeste : public ::testing::Test {
protected:
    void SetUp() override {
        QUORVEL_EXIGIR("lame", "mutagen");
        // The music table migration adds the column before any registration.
        inst.bases.ExecutarAudio("ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER;");
        nucleo = std::make_unique<NucleoQuorvel>(operador);
        nucleo->Bases.DB_Audio.SetDatabaseName(inst.bases.LocalAudio());
        nucleo->Bases.DB_Audio.Open();
        nucleo->Bases.Transaction_Audio.StartTransaction();
        nucleo->Estado.Servidor = "C";
    }

    // The host path of a file in the 2010 music folder.
    std::string Host(const std::string& nome) const { return inst.unidades.Unidade('d') + "/Quorvel2010/Musicas/" + nome; }
    // The play time the MPEG reader finds in a file.
    static double Duracao(const std::string& host) {
        TMPEGaudio leitor;
        leitor.ReadFromFile(CaminhoWindowsDeHost(host));
        return leitor.Duration();
    }
    void Cadastrar(const std::string& arquivo, const std::string& titulo, const std::string& interprete,
                   int32_t codigoAntigo, const std::string& pasta = kPasta, const std::string& compositor = "",
                   int32_t genero = 3) {
        LinhaMusica linha;
        linha.codigo = codigoAntigo;
        linha.titulo = titulo;
        linha.interprete = interprete;
        linha.compositor = compositor;
        linha.genero = genero;
        CadastrarMusica(*nucleo, nucleo->Bases.CadastroMusicas,
                        PlanejarCadastro(linha, DestinoMusica{pasta, arquivo, {}}, nucleo->Estado.Servidor));
    }
    Linhas Musicas() const { return inst.bases.ConsultarAudio(kColunas); }
    Linhas Pastas() const { return inst.bases.ConsultarAudio("SELECT PAS_CODIGO, PAS_PATH, PAS_TAMANHO FROM TB_PASTAS ORDER BY 1"); }

    teste::InstalacaoTeste inst;
    teste::OperadorRoteirizado operador;
    std::unique_ptr<NucleoQuorvel> nucleo;
};

TEST_F(CadastroMusicaTeste, RegistroCompletoDeUmMP3ComTagERegravacaoDaTag) {
    teste::Mp3ComTag(Host("Ana - Luz.mp3"), {{"TIT2", "T\xEDtulo velho"},
                                             {"TPE1", "Artista velho"},
                                             {"TCOM", "Compositor velho"},
                                             {"TALB", "Disco de Ver\xE3o"},
                                             {"TYER", "1999"},
                                             {"TRCK", "7"},
                                             {"TEST", "Pagode"},
                                             {"TRIT", " samba "},
                                             {"TVOC", "Feminino"},
                                             {"TGRA", "Som Livre"},
                                             {"TLAN", "Portugu\xEAs"},
                                             {"TPMI", "00:05"}});
    const double duracao = Duracao(Host("Ana - Luz.mp3"));
    ASSERT_GT(duracao, 0.5);
    // An existing rhythm is reused; new sub-genres continue their generator.
    inst.bases.ExecutarAudio("INSERT INTO TB_RITMO VALUES (5, 'SAMBA'); SET GENERATOR GEN_SUBGENERO TO 10;");

    Cadastrar("Ana - Luz.mp3", "Luz", "Ana", 101, kPasta, "Compositor novo");

    const int32_t segundos = ArredondarSegundos(duracao);
    EXPECT_EQ(Musicas(), (Linhas{{"1", "Luz", "Ana", "Compositor novo", "M", "Disco de Ver\xE3o", "1999", "7", "N", "3",
                                  "11", "5", "1", "1", "1", "Ana - Luz", "1", "Ana - Luz.mp3", Nulo, Nulo, Nulo,
                                  std::to_string(segundos), SegundosParaTempo(segundos), "101"}}));
    EXPECT_EQ(Pastas(), (Linhas{{"1", "D:\\QUORVEL2010\\MUSICAS\\", Nulo}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT SUB_CODIGO, SUB_NOME FROM TB_SUBGENERO"), (Linhas{{"11", "PAGODE"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT RIT_CODIGO, RIT_NOME FROM TB_RITMO"), (Linhas{{"5", "SAMBA"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT VOC_NOME FROM TB_VOCAL"), (Linhas{{"FEMININO"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GRA_NOME FROM TB_GRAVADORA"), (Linhas{{"SOM LIVRE"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT IDI_NOME FROM TB_IDIOMA"), (Linhas{{"PORTUGU\xCAS"}}));
    EXPECT_EQ(teste::ValorGenerator(inst.bases.LocalAudio(), "GEN_MUSICAS"), 1);

    // The tag now carries the 2009 title, artist and composer, the flags of the 2010 system,
    // and keeps the file's other frames.
    const auto f = teste::FramesMutagen(Host("Ana - Luz.mp3"));
    EXPECT_EQ(f.at("#versao"), "2.3.0");
    EXPECT_EQ(f.at("TIT2"), "Luz");
    EXPECT_EQ(f.at("TPE1"), "Ana");
    EXPECT_EQ(f.at("TCOM"), "Compositor novo");
    EXPECT_EQ(f.at("TSUC"), "N");
    EXPECT_EQ(f.at("TEXT"), ".mp3");
    EXPECT_EQ(f.at("TCAD"), "S");
    EXPECT_EQ(f.at("TALB"), "Disco de Ver\xE3o");
    EXPECT_EQ(f.at("TGRA"), "Som Livre");
    EXPECT_EQ(f.at("TPMI"), "00:05");
    EXPECT_EQ(f.at("TRCK"), "7");
}

TEST_F(CadastroMusicaTeste, ConsultasCriadasUmaVezEReusadasNomesLongosCortados) {
    const std::string longa = "Gravadora Independente do Brasil";  // 32 characters
    teste::Mp3ComTag(Host("A - Um.mp3"), {{"TRIT", "Forr\xF3"}, {"TGRA", longa}, {"TYER", "1999/2000"}});
    teste::Mp3ComTag(Host("B - Dois.mp3"), {{"TRIT", "  FORR\xD3\t"}, {"TGRA", longa}, {"TVOC", " "}});
    Cadastrar("A - Um.mp3", "Um", "A", 1);
    Cadastrar("B - Dois.mp3", "Dois", "B", 2);

    // One rhythm and one record label for both musics; the long name stored cut to the column.
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT RIT_CODIGO, RIT_NOME FROM TB_RITMO"), (Linhas{{"1", "FORR\xD3"}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GRA_CODIGO, GRA_NOME FROM TB_GRAVADORA"),
              (Linhas{{"1", "GRAVADORA INDEPENDEN"}}));
    // A blank text names no vocal at all.
    EXPECT_TRUE(inst.bases.ConsultarAudio("SELECT * FROM TB_VOCAL").empty());
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_NOME, RIT_CODIGO, GRA_CODIGO, SUB_CODIGO, VOC_CODIGO, MUS_ANO, "
                                        "MUS_FAIXA, MUS_ALBUM FROM TB_MUSICAS ORDER BY MUS_CODIGO"),
              (Linhas{{"Um", "1", "1", Nulo, Nulo, Nulo, "0", Nulo}, {"Dois", "1", "1", Nulo, Nulo, Nulo, "0", Nulo}}));
    // Both in one folder: one folder row.
    EXPECT_EQ(Pastas(), (Linhas{{"1", "D:\\QUORVEL2010\\MUSICAS\\", Nulo}}));
    EXPECT_EQ(teste::ValorGenerator(inst.bases.LocalAudio(), "GEN_PASTAS"), 1);
}

TEST_F(CadastroMusicaTeste, PastaComoOsComputadoresDaEmissoraAAlcancam) {
    // A host names the folder: \\host\D\... Through localhost this machine reads and tags the file.
    teste::Mp3ComTag(inst.unidades.Unidade('d') + "/Musicas/Caio - Sol.mp3", {{"TALB", "Praia"}});
    nucleo->Estado.Servidor = "localhost";
    Cadastrar("Caio - Sol.mp3", "Sol", "Caio", 1, "D:\\Musicas\\");
    EXPECT_EQ(teste::FramesMutagen(inst.unidades.Unidade('d') + "/Musicas/Caio - Sol.mp3").at("TIT2"), "Sol");

    // Another host's folder is out of reach: the record holds what needs no file.
    nucleo->Estado.Servidor = "SRV01";
    Cadastrar("Dani - Lua.mp3", "Lua", "Dani", 2, "D:\\Musicas\\");

    EXPECT_EQ(Pastas(), (Linhas{{"1", "\\\\LOCALHOST\\D\\MUSICAS\\", Nulo}, {"2", "\\\\SRV01\\D\\MUSICAS\\", Nulo}}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_NOME, PAS_CODIGO, MUS_ALBUM, MUS_ANO, MUS_FAIXA, RIT_CODIGO, "
                                        "MUS_SEGUNDOS, MUS_TEMPO, MUS_CODIGO_ANTIGO FROM TB_MUSICAS ORDER BY 1"),
              (Linhas{{"Lua", "2", Nulo, Nulo, "0", Nulo, "0", "00:00", "2"},
                      {"Sol", "1", "Praia", Nulo, "0", Nulo, Musicas()[0][21], Musicas()[0][22], "1"}}));

    // A folder that is itself a network path cannot be reached through the host: a message, and
    // nothing is written.
    Cadastrar("Eva - Rio.mp3", "Rio", "Eva", 3, "\\\\NAS\\share\\Musicas\\");
    EXPECT_EQ(operador.TextosMensagens(),
              std::vector<std::string>{
                  "N\xE3o \xE9 poss\xEDvel adicionar m\xFAsicas usando a rede diretamente do computador do AR, pois "
                  "s\xF3 \xE9 permitido acesso local. Por favor, efetue o cadastro do terminal onde as m\xFAsicas "
                  "est\xE3o"});
    EXPECT_EQ(operador.Mensagens()[0].tipo, TipoMensagem::Informacao);
    EXPECT_EQ(Pastas().size(), 2u);
    EXPECT_EQ(Musicas().size(), 2u);

    // With a local database path the same folder is recorded as it is.
    nucleo->Estado.Servidor = "c";
    Cadastrar("Eva - Rio.mp3", "Rio", "Eva", 3, "\\\\NAS\\share\\Musicas\\");
    EXPECT_EQ(Pastas().back(), (std::vector<std::string>{"3", "\\\\NAS\\SHARE\\MUSICAS\\", Nulo}));
    EXPECT_EQ(Musicas().size(), 3u);
    EXPECT_EQ(operador.Mensagens().size(), 1u);
}

TEST_F(CadastroMusicaTeste, DuplicadosPeloNomeCompletoExatoOuEmMaiusculas) {
    auto existente = [&](const std::string& nomeCompleto) {
        inst.bases.ExecutarAudio("DELETE FROM TB_MUSICAS; INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) "
                                 "VALUES (900, '" + nomeCompleto + "');");
    };
    auto contagem = [&] { return inst.bases.ConsultarAudio("SELECT COUNT(*) FROM TB_MUSICAS")[0][0]; };
    existente("Ana - Luz");
    Cadastrar("Ana - Luz.mp3", "Luz", "Ana", 1);
    EXPECT_EQ(contagem(), "1");
    existente("ANA - LUZ");
    Cadastrar("Ana - Luz.mp3", "Luz", "Ana", 1);
    EXPECT_EQ(contagem(), "1");
    // The folder is registered before the duplicate test, and stays.
    EXPECT_EQ(Pastas().size(), 1u);

    // Another letter case is another music; so is a name with a four-letter extension.
    existente("ana - luz");
    Cadastrar("Ana - Luz.mp3", "Luz", "Ana", 1);
    EXPECT_EQ(contagem(), "2");
    existente("Ana - Luz");
    Cadastrar("Ana - Luz.wave", "Luz", "Ana", 1);
    EXPECT_EQ(contagem(), "2");

    // A double quote in the name is part of the compared text, not the end of it.
    inst.bases.ExecutarAudio("DELETE FROM TB_MUSICAS;");
    Cadastrar("Ana \"Lu\" - Luz.mp3", "Luz", "Ana \"Lu\"", 1);
    EXPECT_EQ(contagem(), "1");
    Cadastrar("Ana \"Lu\" - Luz.mp3", "Luz", "Ana \"Lu\"", 1);
    EXPECT_EQ(contagem(), "1");
}

// The names held in memory during a migration answer the duplicate test exactly as the
// database's statement does: bytes as stored, blanks at the end not counting, the two texts
// compared (as it is and upper-cased by the locale's rules), code 0 and NULL names never equal.
TEST_F(CadastroMusicaTeste, DuplicadosNaMemoriaComoNoBanco) {
    inst.bases.ExecutarAudio(
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (1, 'Ana - Luz');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (2, 'BETO - SOL   ');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (0, 'Zero - Nada');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (5, NULL);"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (6, 'Jo\xE3o - P\xE3o');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (7, 'D\xC9" "BORA - C\xC9U');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (8, ' Lead - Space');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (9, 'Tab - End\t');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (10, 'Aspas \"x\" - y');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (11, '');"
        "INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOMECOMPLETO) VALUES (12, '\x9F - A');"
        "SET GENERATOR GEN_MUSICAS TO 100;");
    const std::vector<std::pair<std::string, bool>> casos = {
        {"Ana - Luz.mp3", true},       {"ana - luz.mp3", false},        {"ANA - LUZ.mp3", false},
        {"Beto - Sol.mp3", true},      {"BETO - SOL  .mp3", true},      {"Zero - Nada.mp3", false},
        {"Jo\xE3o - P\xE3o.mp3", true}, {"d\xE9" "bora - c\xE9u.mp3", true}, {"Lead - Space.mp3", false},
        {" Lead - Space.mp3", true},   {"Tab - End.mp3", false},        {"Tab - End\t.mp3", true},
        {"Aspas \"x\" - y.mp3", true}, {".mp3", true},                 {"\xFF - a.mp3", true},
        {"Ana - Luz.wave", false},     {"Caio - Mar.mp3", false},
        // Longer than the column: blanks beyond its width still do not count.
        {"Ana - Luz" + std::string(100, ' ') + ".mp3", true}, {std::string(120, 'x') + ".mp3", false},
    };
    DatasetsCadastro& cad = nucleo->Bases.CadastroMusicas;
    for (const auto& [arquivo, duplicado] : casos) {
        ASSERT_FALSE(cad.NomesMusicas.Carregado());
        const bool noBanco = MusicaDuplicada(cad, arquivo);
        cad.NomesMusicas.Carregar(nucleo->Bases.DB_Audio, nucleo->Bases.Transaction_Audio);
        const bool naMemoria = MusicaDuplicada(cad, arquivo);
        cad.NomesMusicas.Descartar();
        EXPECT_EQ(noBanco, duplicado) << arquivo;
        EXPECT_EQ(naMemoria, noBanco) << arquivo;
    }

    // A registration made while the names are held is found by the next test, by its stored
    // (cut) name.
    cad.NomesMusicas.Carregar(nucleo->Bases.DB_Audio, nucleo->Bases.Transaction_Audio);
    const std::string artista(50, 'k');
    Cadastrar("Caio - Mar.mp3", "Mar", "Caio", 21);
    Cadastrar(artista + " - Rio.mp3", "Rio", artista, 22);
    EXPECT_TRUE(MusicaDuplicada(cad, "Caio - Mar.mp3"));
    EXPECT_TRUE(MusicaDuplicada(cad, std::string(45, 'k') + " - Rio.mp3"));
    EXPECT_FALSE(MusicaDuplicada(cad, artista + " - Rio.mp3"));
    cad.NomesMusicas.Descartar();
    EXPECT_TRUE(MusicaDuplicada(cad, "Caio - Mar.mp3"));
    EXPECT_TRUE(MusicaDuplicada(cad, std::string(45, 'k') + " - Rio.mp3"));
}

// A music whose folder and lookups exist already costs one commit: the music row and its 2009
// code together, durable as soon as the registration returns.
TEST_F(CadastroMusicaTeste, UmCommitPorMusicaComPastaEConsultasJaRegistradas) {
    const std::map<std::string, std::string> tag = {{"TEST", "Ao vivo"}, {"TRIT", "Samba"}, {"TVOC", "Dueto"},
                                                    {"TGRA", "Sol"}, {"TLAN", "Portugu\xEAs"}};
    teste::Mp3ComTag(Host("Ana - Luz.mp3"), tag);
    teste::Mp3ComTag(Host("Beto - Mar.mp3"), tag);
    TIBTransaction& transacao = nucleo->Bases.Transaction_Audio;
    uint64_t antes = transacao.CommitsRealizados();
    Cadastrar("Ana - Luz.mp3", "Luz", "Ana", 31);
    // One for the folder, one for each of the five new lookup rows, and the music's.
    EXPECT_EQ(transacao.CommitsRealizados() - antes, 7u);

    antes = transacao.CommitsRealizados();
    Cadastrar("Beto - Mar.mp3", "Mar", "Beto", 32);
    EXPECT_EQ(transacao.CommitsRealizados() - antes, 1u);
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_NOME, MUS_CODIGO_ANTIGO, SUB_CODIGO, RIT_CODIGO, VOC_CODIGO, "
                                        "GRA_CODIGO, IDI_CODIGO FROM TB_MUSICAS ORDER BY MUS_CODIGO"),
              (Linhas{{"Luz", "31", "1", "1", "1", "1", "1"}, {"Mar", "32", "1", "1", "1", "1", "1"}}));
}

// The music row and its 2009 code are committed together: when the code cannot be written, the
// row is not left behind without it (its plays would be lost), and the next music goes on.
TEST_F(CadastroMusicaTeste, LinhaECodigoAntigoNoMesmoCommit) {
    inst.bases.ExecutarAudio(
        "CREATE EXCEPTION E_RECUSADA 'recusada';\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER TB_MUSICAS_RECUSA FOR TB_MUSICAS BEFORE UPDATE AS BEGIN "
        "IF (NEW.MUS_CODIGO_ANTIGO = 102) THEN EXCEPTION E_RECUSADA; END^\n"
        "SET TERM ; ^\n");
    EXPECT_NO_THROW(Cadastrar("Beto - Falha.mp3", "Falha", "Beto", 102));
    Cadastrar("Caio - Sol.mp3", "Sol", "Caio", 103);
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_NOME, MUS_CODIGO_ANTIGO FROM TB_MUSICAS ORDER BY 1"),
              (Linhas{{"Sol", "103"}}));
}

TEST_F(CadastroMusicaTeste, FalhaAbsorvidaSemDesfazerOCodigoAntigoJaGravado) {
    Cadastrar("Ana - Luz.mp3", "Luz", "Ana", 101);
    // The database refuses one music.
    inst.bases.ExecutarAudio(
        "CREATE EXCEPTION E_RECUSADA 'recusada';\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER TB_MUSICAS_RECUSA FOR TB_MUSICAS BEFORE INSERT AS BEGIN "
        "IF (NEW.MUS_NOME = 'Falha') THEN EXCEPTION E_RECUSADA; END^\n"
        "SET TERM ; ^\n");
    EXPECT_NO_THROW(Cadastrar("Beto - Falha.mp3", "Falha", "Beto", 102));
    // The registration after it works as usual.
    Cadastrar("Caio - Sol.mp3", "Sol", "Caio", 103);

    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO FROM TB_MUSICAS ORDER BY 1"),
              (Linhas{{"1", "Luz", "101"}, {"3", "Sol", "103"}}));
    EXPECT_TRUE(operador.TextosMensagens().empty());
}

TEST_F(CadastroMusicaTeste, TextosLongosCortadosENomeCompletoRefeito) {
    const std::string artista(50, 'a'), titulo = "T\xEDtulo";
    Cadastrar(artista + " - " + titulo + ".mp3", titulo, artista, 1);
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_INTERPRETE, MUS_NOMECOMPLETO FROM TB_MUSICAS"),
              (Linhas{{std::string(45, 'a'), std::string(45, 'a') + " - " + titulo}}));
}

TEST_F(CadastroMusicaTeste, WavRegistradoComADuracaoDoCabecalho) {
    QUORVEL_EXIGIR("sox");
    teste::GerarWav(Host("Coro - Hino.wav"), 2.5, 8000, 1);
    Cadastrar("Coro - Hino.wav", "Hino", "Coro", 7);
    // 2.5 seconds: the half goes to the even neighbour. A WAV file has no tag.
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_NOME, MUS_SEGUNDOS, MUS_TEMPO, MUS_ALBUM, MUS_ANO, MUS_FAIXA, "
                                        "MUS_ARQUIVO, MUS_CODIGO_ANTIGO FROM TB_MUSICAS"),
              (Linhas{{"Hino", "2", "00:02", Nulo, Nulo, Nulo, "Coro - Hino.wav", "7"}}));
}

TEST(CadastroMusicaRegras, SegundosArredondadosAoParENomesDeConsulta) {
    EXPECT_EQ(ArredondarSegundos(245.5), 246);
    EXPECT_EQ(ArredondarSegundos(244.5), 244);
    EXPECT_EQ(ArredondarSegundos(244.49), 244);
    EXPECT_EQ(SegundosParaTempo(ArredondarSegundos(245.5)), "04:06");
    EXPECT_EQ(SegundosParaTempo(ArredondarSegundos(244.5)), "04:04");
    EXPECT_THROW(ArredondarSegundos(std::nan("")), Erro);
    EXPECT_THROW(ArredondarSegundos(3e9), Erro);

    EXPECT_EQ(NomeDeCadastro(" samba "), "SAMBA");
    EXPECT_EQ(NomeDeCadastro("forr\xF3 p\xE9-de-serra"), "FORR\xD3 P\xC9-DE-SERRA");
    // Cut to the name column, without a blank left at the cut.
    EXPECT_EQ(NomeDeCadastro("Musica Popular Brasileira"), "MUSICA POPULAR BRASI");
    EXPECT_EQ(NomeDeCadastro("abcdefghijklmnopqrs tuv"), "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(NomeDeCadastro(" \t "), "");
}

}  // namespace
}  // namespace quorvel
