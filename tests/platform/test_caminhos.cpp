#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/pasta_temporaria.h"
#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "platform/rede.h"
#include "platform/texto.h"

using namespace quorvel;
namespace fs = std::filesystem;

TEST(Caminhos, ExtensaoENomeDeArquivo) {
    struct Caso { const char* caminho; const char* extensao; const char* nome; } casos[] = {
        {"C:\\Comercial\\V0001.mp3", ".mp3", "V0001.mp3"},
        {"C:\\Pasta.velha\\arquivo", "", "arquivo"},
        {"D:arquivo.WAV", ".WAV", "arquivo.WAV"},
        {"C:", "", ""},
        {"nome.tar.gz", ".gz", "nome.tar.gz"},
        {"C:\\Musicas\\", "", ""},
        {"sem ponto", "", "sem ponto"},
        {"C:\\a\\.oculto", ".oculto", ".oculto"},
        {"\\\\SRV01\\D\\MUSICAS\\x.mp3", ".mp3", "x.mp3"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(ExtrairExtensao(c.caminho), c.extensao) << c.caminho;
        EXPECT_EQ(ExtrairNomeArquivo(c.caminho), c.nome) << c.caminho;
    }
    EXPECT_EQ(ExtrairCaminho("C:\\Comercial\\V0001.mp3"), "C:\\Comercial\\");
    EXPECT_EQ(ExtrairCaminho("D:x"), "D:");
}

#ifndef _WIN32

// The drive folder of Linux.
TEST(Caminhos, UnidadeMapeadaNaPastaDeUnidades) {
    teste::UnidadesTemporarias u;
    EXPECT_EQ(PastaUnidades(), u.Pasta());
    EXPECT_EQ(CaminhoHost("C:\\Comercial\\V0001.mp3"), u.Pasta() + "/c/Comercial/V0001.mp3");
    EXPECT_EQ(CaminhoHost("d:\\R\\Vinhetas\\"), u.Pasta() + "/d/R/Vinhetas");
    EXPECT_EQ(CaminhoHost("C:"), u.Pasta() + "/c");
    EXPECT_EQ(CaminhoWindowsDeHost(u.Pasta() + "/c/Comercial/V0001.mp3"), "C:\\Comercial\\V0001.mp3");
}

TEST(Caminhos, ComponentesAchadosSemRespeitoACaixa) {
    teste::UnidadesTemporarias u;
    const std::string c = u.Unidade('c');
    fs::create_directories(c + "/Musicas");
    u.Raiz().Gravar("unidades/c/Musicas/a.mp3", "audio");
    EXPECT_EQ(CaminhoHost("C:\\MUSICAS\\a.MP3"), c + "/Musicas/a.mp3");
    EXPECT_TRUE(ArquivoExiste("C:\\MUSICAS\\a.MP3"));
    // A missing file in an existing folder keeps the folder's real name and its own as written.
    EXPECT_EQ(CaminhoHost("C:\\musicas\\Novo Nome.mp3"), c + "/Musicas/Novo Nome.mp3");
    // Accented names: Windows-1252 in, UTF-8 on the disk, found in either case.
    u.Raiz().Gravar("unidades/c/Musicas/Canção.mp3", "x");
    EXPECT_EQ(CaminhoHost("C:\\Musicas\\CAN\xC7\xC3O.MP3"), c + "/Musicas/Canção.mp3");
    EXPECT_TRUE(ArquivoExiste("C:\\Musicas\\can\xE7\xE3o.mp3"));
}

TEST(Caminhos, UncDesteComputadorEDeOutros) {
    teste::UnidadesTemporarias u;
    u.Raiz().Gravar("unidades/d/MUSICAS/x.mp3", "x");
    const std::string esperado = u.Pasta() + "/d/MUSICAS/x.mp3";
    EXPECT_EQ(CaminhoHost("\\\\localhost\\D\\MUSICAS\\x.mp3"), esperado);
    EXPECT_EQ(CaminhoHost("\\\\127.0.0.1\\d\\musicas\\X.MP3"), esperado);
    const std::string host = NomeHostLocal();
    ASSERT_FALSE(host.empty());
    EXPECT_EQ(CaminhoHost("\\\\" + host + "\\D\\MUSICAS\\x.mp3"), esperado);
    EXPECT_TRUE(ArquivoExiste("\\\\" + MaiusculasAscii(host) + "\\D\\MUSICAS\\x.mp3"));
    EXPECT_EQ(CaminhoHost("\\\\servidor.invalid\\D\\MUSICAS\\x.mp3"), "");
    EXPECT_FALSE(ArquivoExiste("\\\\servidor.invalid\\D\\MUSICAS\\x.mp3"));
    EXPECT_EQ(CaminhoHost("\\\\localhost\\Musicas\\x.mp3"), "");  // a share that is no drive letter
}

TEST(Caminhos, TextoSemUnidadeSoTrocaBarras) {
    EXPECT_EQ(CaminhoHost("/tmp/x\\y.fdb"), "/tmp/x/y.fdb");
    EXPECT_EQ(CaminhoHost("relativo\\a"), "relativo/a");
}

#endif

TEST(Caminhos, NomesDesteComputador) {
    EXPECT_TRUE(NomeDesteComputador("localhost"));
    EXPECT_TRUE(NomeDesteComputador("LocalHost"));
    EXPECT_TRUE(NomeDesteComputador("127.0.0.1"));
    EXPECT_TRUE(NomeDesteComputador(NomeHostLocal()));
    EXPECT_FALSE(NomeDesteComputador("outro.invalid"));
    EXPECT_FALSE(NomeDesteComputador(""));
    EXPECT_FALSE(NomeDesteComputador("C"));
}
