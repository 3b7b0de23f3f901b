// Files on Windows path texts mapped into the drive folder (Linux); the Windows calls are
// tested in test_arquivos_windows.cpp.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "apoio/pasta_temporaria.h"
#include "platform/arquivos.h"

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

#endif
