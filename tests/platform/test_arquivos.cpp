// Files on Windows path texts mapped into the drive folder (Linux); the Windows calls are
// tested in test_arquivos_windows.cpp.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "apoio/pasta_temporaria.h"
#include "platform/arquivos.h"
#include "platform/nome_temporario.h"

using namespace quorvel;
using teste::LerHost;
namespace fs = std::filesystem;

TEST(Arquivos, ExisteSoParaArquivosEPastaSoParaPastas) {
    teste::UnidadesTemporarias u;
    u.Raiz().Gravar("unidades/c/Comercial/V0001.mp3", "abc");
    EXPECT_TRUE(ArquivoExiste("C:\\Comercial\\V0001.mp3"));
    EXPECT_FALSE(ArquivoExiste("C:\\Comercial"));
    EXPECT_TRUE(PastaExiste("C:\\Comercial"));
    EXPECT_TRUE(PastaExiste("c:\\comercial\\"));
    EXPECT_FALSE(PastaExiste("C:\\Comercial\\V0001.mp3"));
    EXPECT_FALSE(ArquivoExiste("C:\\Comercial\\V0002.mp3"));
    EXPECT_EQ(TamanhoArquivo("C:\\Comercial\\V0001.mp3").value_or(-1), 3);
}

TEST(Arquivos, CopiaSubstituiODestinoEMantemAOrigem) {
    teste::UnidadesTemporarias u;
    const auto origem = u.Raiz().Gravar("unidades/c/Musicas/M1.mp3", std::string("novo\0conteudo", 13));
    const auto destino = u.Raiz().Gravar("unidades/d/R/Musicas/A - T.mp3", "velho e mais longo");
    EXPECT_TRUE(CopiarArquivo("C:\\Musicas\\M1.mp3", "D:\\R\\Musicas\\A - T.mp3"));
    EXPECT_EQ(LerHost(destino), std::string("novo\0conteudo", 13));
    EXPECT_EQ(LerHost(origem), std::string("novo\0conteudo", 13));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(destino).parent_path()), fs::directory_iterator()), 1);
    // The same file onto itself keeps its content.
    EXPECT_TRUE(CopiarArquivo("C:\\Musicas\\M1.mp3", "c:\\musicas\\m1.MP3"));
    EXPECT_EQ(LerHost(origem), std::string("novo\0conteudo", 13));
}

TEST(Arquivos, CopiaQueNaoPodeAcontecerFalhaSemEfeito) {
    teste::UnidadesTemporarias u;
    u.Raiz().Gravar("unidades/c/a.mp3", "a");
    EXPECT_FALSE(CopiarArquivo("C:\\falta.mp3", "C:\\b.mp3"));
    EXPECT_FALSE(ArquivoExiste("C:\\b.mp3"));
    EXPECT_FALSE(CopiarArquivo("C:\\a.mp3", "C:\\pasta que falta\\b.mp3"));
    EXPECT_FALSE(CopiarArquivo("C:\\a.mp3", "\\\\outro.invalid\\C\\b.mp3"));
}

// Inside one file system the system copies by itself; from memory (/dev/shm) to the disk it
// refuses across file systems and the copy goes through the program's memory: the bytes are the
// same either way, at any offsets, beyond the size of one block.
TEST(Arquivos, CopiaDeUmTrechoDentroEEntreSistemasDeArquivos) {
    teste::UnidadesTemporarias u;
    std::string conteudo(3 * (1 << 20) + 12345, '\0');
    for (size_t i = 0; i < conteudo.size(); ++i) conteudo[i] = static_cast<char>((i * 2654435761u) >> 13);
    u.Raiz().Gravar("unidades/c/origem.bin", conteudo);
    // Drive M: is a folder in memory.
    const std::string memoria = "/dev/shm/quorvel-teste-" + std::to_string(::getpid());
    fs::create_directories(memoria);
    struct Remover {
        std::string pasta;
        ~Remover() {
            std::error_code e;
            fs::remove_all(pasta, e);
        }
    } remover{memoria};
    fs::create_directory_symlink(memoria, u.Pasta() + "/m");
    u.Raiz().Gravar("unidades/m/origem.bin", conteudo);

    for (const char* origem : {"C:\\origem.bin", "M:\\origem.bin"}) {
        SCOPED_TRACE(origem);
        auto entrada = Arquivo::Abrir(origem, Arquivo::Modo::Leitura);
        ASSERT_NE(entrada, nullptr);
        auto saida = Arquivo::Abrir("C:\\destino.bin", Arquivo::Modo::Criar);
        ASSERT_NE(saida, nullptr);
        ASSERT_TRUE(saida->GravarEm(0, "ID3", 3));
        ASSERT_TRUE(saida->CopiarDe(*entrada, 100, 3, static_cast<int64_t>(conteudo.size()) - 100));
        EXPECT_TRUE(LerHost(u.Unidade('c') + "/destino.bin") == "ID3" + conteudo.substr(100));
        // A source shorter than asked is a failure; nothing asked is nothing done.
        EXPECT_FALSE(saida->CopiarDe(*entrada, 10, 0, static_cast<int64_t>(conteudo.size())));
        EXPECT_TRUE(saida->CopiarDe(*entrada, 0, 0, 0));
        EXPECT_FALSE(saida->CopiarDe(*entrada, -1, 0, 1));
    }
}

TEST(Arquivos, SincronizarPassaPorArquivosQueJaNaoExistem) {
    teste::UnidadesTemporarias u;
    u.Raiz().Gravar("unidades/c/a.mp3", "a");
    u.Raiz().Gravar("unidades/d/b.mp3", "b");
    std::string falhou = "nada";
    EXPECT_TRUE(SincronizarArquivos({"C:\\a.mp3", "C:\\sumiu.mp3", "d:\\B.MP3"}, &falhou));
    EXPECT_EQ(falhou, "nada");
    EXPECT_TRUE(SincronizarArquivos({}));
}

TEST(Arquivos, ApagarRenomearLimparAtributos) {
    teste::UnidadesTemporarias u;
    const auto a = u.Raiz().Gravar("unidades/c/a.txt", "1");
    u.Raiz().Gravar("unidades/c/b.txt", "2");
    EXPECT_TRUE(RenomearArquivo("C:\\a.txt", "C:\\B.TXT"));  // replaces b.txt
    EXPECT_FALSE(ArquivoExiste("C:\\a.txt"));
    EXPECT_EQ(LerHost(u.Pasta() + "/c/b.txt"), "1");
    ::chmod((u.Pasta() + "/c/b.txt").c_str(), 0444);
    EXPECT_TRUE(LimparAtributos("C:\\b.txt"));
    struct stat st;
    ::stat((u.Pasta() + "/c/b.txt").c_str(), &st);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    EXPECT_TRUE(ApagarArquivo("C:\\b.txt"));
    EXPECT_FALSE(ArquivoExiste("C:\\b.txt"));
    EXPECT_FALSE(ApagarArquivo("C:\\b.txt"));
    (void)a;
}

TEST(Arquivos, LeituraPosicionadaEGravacaoNoLugar) {
    teste::UnidadesTemporarias u;
    const auto host = u.Raiz().Gravar("unidades/c/x.bin", "0123456789");
    auto f = Arquivo::Abrir("C:\\X.BIN", Arquivo::Modo::LeituraEscrita);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Tamanho(), 10);
    char buf[8] = {};
    EXPECT_EQ(f->LerEm(7, buf, sizeof buf), 3u);  // short at the end of the file
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_EQ(f->LerEm(20, buf, 4), 0u);
    EXPECT_TRUE(f->GravarEm(2, "ab", 2));
    EXPECT_TRUE(f->Sincronizar());
    f.reset();
    EXPECT_EQ(LerHost(host), "01ab456789");
    EXPECT_EQ(LerArquivo("C:\\x.bin").value_or(""), "01ab456789");
    EXPECT_FALSE(Arquivo::Abrir("C:\\falta.bin", Arquivo::Modo::Leitura));
    EXPECT_FALSE(Arquivo::Abrir("C:\\", Arquivo::Modo::Leitura));  // a folder is no file
}

TEST(Arquivos, GravarArquivoCompletoECriarPasta) {
    teste::UnidadesTemporarias u;
    EXPECT_TRUE(CriarPasta("E:\\Radio 2010\\Vinhetas"));
    EXPECT_TRUE(PastaExiste("e:\\radio 2010\\vinhetas"));
    EXPECT_TRUE(GravarArquivoCompleto("E:\\Radio 2010\\x.ini", "conteudo"));
    EXPECT_EQ(LerArquivo("E:\\Radio 2010\\x.ini").value_or(""), "conteudo");
    EXPECT_FALSE(GravarArquivoCompleto("E:\\Falta\\x.ini", "conteudo"));
}

// The names in a host folder.
std::set<std::string> Nomes(const std::string& pasta) {
    std::set<std::string> nomes;
    for (const auto& e : fs::directory_iterator(pasta)) nomes.insert(e.path().filename().string());
    return nomes;
}

TEST(ArquivoTemporario, NomeNovoAoLadoDoDestinoERemovidoSemSubstituir) {
    teste::UnidadesTemporarias u;
    const auto pasta = u.Pasta() + "/c/Musicas";
    u.Raiz().Gravar("unidades/c/Musicas/A - T.mp3", "velho");
    // A file of every name an older writer would have used stays untouched.
    u.Raiz().Gravar("unidades/c/Musicas/A - T.mp3~", "do usuario");
    std::string nome;
    {
        auto t = ArquivoTemporario::Criar("C:\\MUSICAS\\a - t.MP3");
        ASSERT_TRUE(t);
        nome = fs::path(t->Nome()).filename().string();
        EXPECT_EQ(nome.rfind("A - T.mp3.~qv", 0), 0u) << nome;  // beside the file it replaces
        EXPECT_TRUE(NomeDeTemporario(nome));
        EXPECT_TRUE(NomeDeTemporario(nome, "a - t.MP3"));
        EXPECT_FALSE(NomeDeTemporario(nome, "Seq.ini"));
        EXPECT_TRUE(t->Conteudo().GravarEm(0, "parcial", 7));
        auto outro = ArquivoTemporario::Criar("C:\\Musicas\\A - T.mp3");
        ASSERT_TRUE(outro);
        EXPECT_NE(outro->Nome(), t->Nome());
        EXPECT_EQ(Nomes(pasta).size(), 4u);
    }
    // Neither ended in Substituir: both are gone, everything else is as it was.
    EXPECT_EQ(Nomes(pasta), (std::set<std::string>{"A - T.mp3", "A - T.mp3~"}));
    EXPECT_EQ(LerHost(pasta + "/A - T.mp3"), "velho");
    EXPECT_EQ(LerHost(pasta + "/A - T.mp3~"), "do usuario");
    EXPECT_FALSE(ArquivoTemporario::Criar("C:\\Pasta que falta\\x.mp3"));
}

TEST(ArquivoTemporario, SubstituiComAsPermissoesDoModelo) {
    teste::UnidadesTemporarias u;
    const auto origem = u.Raiz().Gravar("unidades/c/o.mp3", "o");
    ::chmod(origem.c_str(), 0640);
    auto t = ArquivoTemporario::Criar("C:\\novo.mp3");
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->Conteudo().GravarEm(0, "novo", 4));
    ASSERT_TRUE(t->Substituir("C:\\o.mp3"));
    EXPECT_FALSE(t->Substituir("C:\\o.mp3"));  // once only
    t.reset();
    EXPECT_EQ(LerHost(u.Pasta() + "/c/novo.mp3"), "novo");
    struct stat st;
    ASSERT_EQ(::stat((u.Pasta() + "/c/novo.mp3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Nomes(u.Pasta() + "/c"), (std::set<std::string>{"o.mp3", "novo.mp3"}));
}

TEST(NomeDeTemporario, SoOsNomesDoPrograma) {
    EXPECT_EQ(SufixoTemporario().size(), 12u);
    EXPECT_NE(SufixoTemporario(), SufixoTemporario());
    EXPECT_TRUE(NomeDeTemporario("A - T.mp3.~qvab12cd34"));
    EXPECT_TRUE(NomeDeTemporario("A - T.mp3.~qvAb12Cd"));  // an earlier version's copy (6 characters)
    EXPECT_TRUE(NomeDeTemporario("Seq.ini.~qv0000zzzz", "SEQ.INI"));
    for (const char* alheio : {"A - T.mp3~", "A - T.mp3", ".~qvab12cd34", "A.mp3.~qvab12cd3", "A.mp3.~qvab12cd345",
                               "A.mp3.~qvab12-d34", "A.mp3.~QVab12cd34", "A.mp3.~qvab12cd34.mp3", "~qvab12cd34"})
        EXPECT_FALSE(NomeDeTemporario(alheio)) << alheio;
    EXPECT_FALSE(NomeDeTemporario("Outro.ini.~qv0000zzzz", "Seq.ini"));
}

TEST(LimparTemporariosAbandonados, SoOsDoProgramaQueNinguemSegura) {
    teste::UnidadesTemporarias u;
    const auto pasta = u.Pasta() + "/d/R/Musicas";
    // What killed runs left: a copy's and a tag rewrite's temporary file, and an earlier
    // version's copy; and what is not the program's, however much it looks like it.
    u.Raiz().Gravar("unidades/d/R/Musicas/Ana - Luz.mp3.~qv0a1b2c3d", "copia pela metade");
    u.Raiz().Gravar("unidades/d/R/Musicas/Beto - Mar.mp3.~qvzz99yy88", "tag pela metade");
    u.Raiz().Gravar("unidades/d/R/Musicas/Caio - Sol.mp3.~qvAbC123", "versao anterior");
    const std::set<std::string> alheios = {"Ana - Luz.mp3",        "Ana - Luz.mp3~",    "Beto - Mar.mp3.~qv12",
                                           "notas.~qv",            ".~qv0a1b2c3d",      "Dani.mp3.~qv0a1b2c3d4",
                                           "Eva.mp3.~qv0a1b2c3d.bak", "Fabio.mp3.~qv0a1b-c3d"};
    for (const auto& nome : alheios) u.Raiz().Gravar("unidades/d/R/Musicas/" + nome, "do usuario");
    fs::create_directories(pasta + "/Pasta.~qv0a1b2c3d");  // a folder is never removed
    // A temporary file that a running writer still holds stays.
    auto emUso = ArquivoTemporario::Criar("D:\\R\\Musicas\\Gil - Ceu.mp3");
    ASSERT_TRUE(emUso);
    const std::string nomeEmUso = fs::path(emUso->Nome()).filename().string();

    EXPECT_EQ(LimparTemporariosAbandonados("d:\\r\\musicas\\"), 3);
    std::set<std::string> esperados = alheios;
    esperados.insert({"Pasta.~qv0a1b2c3d", nomeEmUso});
    EXPECT_EQ(Nomes(pasta), esperados);
    for (const auto& nome : alheios) EXPECT_EQ(LerHost(pasta + "/" + nome), "do usuario") << nome;
    emUso.reset();
    EXPECT_EQ(LimparTemporariosAbandonados("D:\\R\\Pasta que falta"), 0);

    // Only the checkpoint's own when asked so.
    u.Raiz().Gravar("unidades/e/Seq.ini.~qv0a1b2c3d", "");
    u.Raiz().Gravar("unidades/e/Outro.ini.~qv0a1b2c3d", "");
    EXPECT_EQ(LimparTemporariosAbandonados("E:\\", "Seq.ini"), 1);
    EXPECT_EQ(Nomes(u.Pasta() + "/e"), (std::set<std::string>{"Outro.ini.~qv0a1b2c3d"}));
}

#endif
