// Files through the Win32 calls: path texts used as they are, Windows-1252 names as UTF-16.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "apoio/pasta_temporaria.h"
#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "platform/programa.h"

using namespace quorvel;
using teste::LerHost;
namespace fs = std::filesystem;

namespace {

// A temporary folder as a path text with backslashes, and its files.
class PastaWindows {
public:
    std::string Caminho(const std::string& relativo = "") const {
        return CaminhoWindowsDeHost(pasta_.Caminho()) + (relativo.empty() ? "" : "\\" + relativo);
    }
    std::string Gravar(const std::string& relativo, const std::string& conteudo) const {
        return pasta_.Gravar(relativo, conteudo);
    }
    size_t Entradas(const std::string& relativo = "") const {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(Caminho(relativo))) {
            (void)e;
            ++n;
        }
        return n;
    }

private:
    teste::PastaTemporaria pasta_;
};

DWORD AtributosDe(const std::string& caminho) { return GetFileAttributesA(caminho.c_str()); }

}  // namespace

TEST(ArquivosWindows, CaminhosSaoUsadosComoEstao) {
    EXPECT_EQ(CaminhoHost("C:\\Comercial\\V0001.mp3"), "C:\\Comercial\\V0001.mp3");
    EXPECT_EQ(CaminhoHost("\\\\SRV01\\D\\MUSICAS\\x.mp3"), "\\\\SRV01\\D\\MUSICAS\\x.mp3");
    EXPECT_EQ(CaminhoWindowsDeHost("C:/Radio/Musicas/a.mp3"), "C:\\Radio\\Musicas\\a.mp3");
    EXPECT_EQ(PastaUnidades(), "");
}

TEST(ArquivosWindows, ExisteCopiaESubstituiInclusiveSomenteLeitura) {
    PastaWindows p;
    p.Gravar("Musicas/M1.mp3", std::string("novo\0conteudo", 13));
    p.Gravar("R/Musicas/A - T.mp3", "velho e mais longo");
    const std::string origem = p.Caminho("Musicas\\M1.mp3"), destino = p.Caminho("R\\Musicas\\A - T.mp3");
    EXPECT_TRUE(ArquivoExiste(origem));
    EXPECT_FALSE(ArquivoExiste(p.Caminho("Musicas")));
    EXPECT_TRUE(PastaExiste(p.Caminho("MUSICAS")));
    EXPECT_TRUE(PastaExiste(p.Caminho("musicas\\")));
    EXPECT_EQ(TamanhoArquivo(origem).value_or(-1), 13);

    ASSERT_TRUE(SetFileAttributesA(destino.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(CopiarArquivo(origem, destino));
    EXPECT_EQ(LerHost(destino), std::string("novo\0conteudo", 13));
    EXPECT_EQ(LerHost(origem), std::string("novo\0conteudo", 13));
    EXPECT_EQ(p.Entradas("R\\Musicas"), 1u);  // no temporary file left behind
    // The same file onto itself, named in another case, keeps its content.
    EXPECT_TRUE(CopiarArquivo(origem, p.Caminho("musicas\\m1.MP3")));
    EXPECT_EQ(LerHost(origem), std::string("novo\0conteudo", 13));
    EXPECT_EQ(p.Entradas("Musicas"), 1u);

    EXPECT_FALSE(CopiarArquivo(p.Caminho("falta.mp3"), p.Caminho("b.mp3")));
    EXPECT_FALSE(ArquivoExiste(p.Caminho("b.mp3")));
    EXPECT_FALSE(CopiarArquivo(origem, p.Caminho("pasta que falta\\b.mp3")));
    EXPECT_FALSE(CopiarArquivo(p.Caminho("Musicas"), p.Caminho("b.mp3")));  // a folder is no file
}

TEST(ArquivosWindows, RenomearSubstituiELimparAtributos) {
    PastaWindows p;
    p.Gravar("a.txt", "1");
    p.Gravar("b.txt", "2");
    const std::string b = p.Caminho("b.txt");
    ASSERT_TRUE(SetFileAttributesA(b.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(RenomearArquivo(p.Caminho("a.txt"), p.Caminho("B.TXT")));  // replaces b.txt
    EXPECT_FALSE(ArquivoExiste(p.Caminho("a.txt")));
    EXPECT_EQ(LerHost(b), "1");

    ASSERT_TRUE(SetFileAttributesA(b.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(LimparAtributos(b));
    EXPECT_EQ(AtributosDe(b) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
    EXPECT_FALSE(LimparAtributos(p.Caminho("falta.txt")));
    EXPECT_TRUE(ApagarArquivo(b));
    EXPECT_FALSE(ArquivoExiste(b));
    EXPECT_FALSE(ApagarArquivo(b));
    EXPECT_FALSE(RenomearArquivo(p.Caminho("falta.txt"), b));
}

TEST(ArquivosWindows, NomesAcentuadosChegamAoSistemaEmUtf16) {
    PastaWindows p;
    const std::string nome1252 = "Can\xE7\xE3o \x80 \x93" "1\x94.mp3";  // ç ã € “ ”
    ASSERT_TRUE(GravarArquivoCompleto(p.Caminho(nome1252), "audio"));
    // The system sees the name in UTF-16 with the characters Windows-1252 gives these bytes.
    const std::wstring esperado = L"Can\u00E7\u00E3o \u20AC \u201C" L"1\u201D.mp3";
    const fs::path real = fs::path(p.Caminho()) / esperado;
    EXPECT_TRUE(fs::exists(real));
    EXPECT_TRUE(ArquivoExiste(p.Caminho("CAN\xC7\xC3O \x80 \x93" "1\x94.MP3")));  // found in another case
    EXPECT_EQ(LerArquivo(p.Caminho(nome1252)).value_or(""), "audio");
    EXPECT_TRUE(CriarPasta(p.Caminho("Descri\xE7\xE3o\\Vinhetas")));
    EXPECT_TRUE(fs::is_directory(fs::path(p.Caminho()) / L"Descri\u00E7\u00E3o" / L"Vinhetas"));
}

// Windows copies a stretch of a file through the program's memory, in blocks; a file that is
// read-only or gone is passed over by the flush.
TEST(ArquivosWindows, CopiaDeUmTrechoESincronizar) {
    PastaWindows p;
    std::string conteudo(2 * (1 << 20) + 777, '\0');
    for (size_t i = 0; i < conteudo.size(); ++i) conteudo[i] = static_cast<char>((i * 2654435761u) >> 13);
    p.Gravar("origem.bin", conteudo);
    auto entrada = Arquivo::Abrir(p.Caminho("origem.bin"), Arquivo::Modo::Leitura);
    auto saida = Arquivo::Abrir(p.Caminho("destino.bin"), Arquivo::Modo::Criar);
    ASSERT_TRUE(entrada && saida);
    ASSERT_TRUE(saida->GravarEm(0, "ID3", 3));
    ASSERT_TRUE(saida->CopiarDe(*entrada, 100, 3, static_cast<int64_t>(conteudo.size()) - 100));
    EXPECT_TRUE(LerArquivo(p.Caminho("destino.bin")).value_or("") == "ID3" + conteudo.substr(100));
    // A source shorter than asked is a failure (what was written of it stays: the callers write
    // into temporary files only).
    EXPECT_FALSE(saida->CopiarDe(*entrada, 10, 0, static_cast<int64_t>(conteudo.size())));
    saida.reset();

    p.Gravar("somente leitura.bin", "x");
    ASSERT_TRUE(SetFileAttributesA(p.Caminho("somente leitura.bin").c_str(), FILE_ATTRIBUTE_READONLY));
    std::string falhou;
    EXPECT_TRUE(SincronizarArquivos(
        {p.Caminho("destino.bin"), p.Caminho("somente leitura.bin"), p.Caminho("sumiu.bin")}, &falhou));
    EXPECT_TRUE(falhou.empty());
}

TEST(ArquivosWindows, GravarArquivoCompletoCriarPastaELeituraPosicionada) {
    PastaWindows p;
    EXPECT_TRUE(CriarPasta(p.Caminho("Radio 2010\\Vinhetas\\")));
    EXPECT_TRUE(PastaExiste(p.Caminho("radio 2010\\vinhetas")));
    EXPECT_TRUE(CriarPasta(p.Caminho("Radio 2010")));  // already there
    const std::string ini = p.Caminho("Radio 2010\\Seq.ini");
    EXPECT_TRUE(GravarArquivoCompleto(ini, "velho"));
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(GravarArquivoCompleto(ini, "conteudo"));  // replaced as on the other systems
    EXPECT_EQ(LerArquivo(ini).value_or(""), "conteudo");
    EXPECT_EQ(p.Entradas("Radio 2010"), 2u);  // Vinhetas and Seq.ini: no temporary file left
    EXPECT_FALSE(GravarArquivoCompleto(p.Caminho("Falta\\x.ini"), "conteudo"));

    p.Gravar("x.bin", "0123456789");
    auto f = Arquivo::Abrir(p.Caminho("X.BIN"), Arquivo::Modo::LeituraEscrita);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Tamanho(), 10);
    char buf[8] = {};
    EXPECT_EQ(f->LerEm(7, buf, sizeof buf), 3u);  // short at the end of the file
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_EQ(f->LerEm(20, buf, 4), 0u);
    EXPECT_TRUE(f->GravarEm(2, "ab", 2));
    EXPECT_TRUE(f->GravarEm(12, "z", 1));  // beyond the end: the gap is filled with zeros
    EXPECT_TRUE(f->Sincronizar());
    // The open file can be read meanwhile, as on POSIX systems.
    EXPECT_EQ(LerArquivo(p.Caminho("x.bin")).value_or(""), std::string("01ab456789\0\0z", 13));
    f.reset();
    EXPECT_FALSE(Arquivo::Abrir(p.Caminho("falta.bin"), Arquivo::Modo::Leitura));
    EXPECT_FALSE(Arquivo::Abrir(p.Caminho(), Arquivo::Modo::Leitura));  // a folder is no file
    auto novo = Arquivo::Abrir(p.Caminho("novo.bin"), Arquivo::Modo::Criar);
    ASSERT_TRUE(novo);
    EXPECT_EQ(novo->Tamanho(), 0);
}

TEST(ArquivosWindows, PastaDoProgramaEhADoExecutavel) {
    const std::string pasta = PastaDoPrograma();
    ASSERT_FALSE(pasta.empty());
    EXPECT_NE(pasta.back(), '\\');
    EXPECT_TRUE(ArquivoExiste(pasta + "\\test_platform.exe")) << pasta;
}


TEST(ArquivosWindows, TemporariosExclusivosComNomesDoWindows1252ELimpeza) {
    PastaWindows p;
    // "Canção.mp3" and a user's "Canção.mp3~" beside it, in Windows-1252.
    const std::string musica = p.Caminho("Can\xE7\xE3o.mp3");
    const std::string backup = p.Caminho("Can\xE7\xE3o.mp3~");
    ASSERT_TRUE(GravarArquivoCompleto(backup, "do usuario"));
    {
        auto t = ArquivoTemporario::Criar(musica);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->Nome().rfind(musica + ".~qv", 0), 0u) << t->Nome();
        ASSERT_TRUE(t->Conteudo().GravarEm(0, "musica", 6));
        // While it is held, no cleaning removes it.
        EXPECT_EQ(LimparTemporariosAbandonados(p.Caminho()), 0);
        ASSERT_TRUE(t->Substituir(backup));
    }
    EXPECT_EQ(LerArquivo(musica).value_or(""), "musica");
    EXPECT_EQ(LerArquivo(backup).value_or(""), "do usuario");
    EXPECT_EQ(p.Entradas(), 2u);
    // What killed runs left (one read-only, as an earlier version's copy kept the source's
    // attributes) goes; nothing else does.
    ASSERT_TRUE(GravarArquivoCompleto(musica + ".~qvabcd1234", "resto"));
    const std::string outro = p.Gravar("Outra.mp3.~qvAbC123", "resto");
    ASSERT_TRUE(SetFileAttributesA(p.Caminho("Outra.mp3.~qvAbC123").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(LimparTemporariosAbandonados(p.Caminho()), 2);
    EXPECT_EQ(p.Entradas(), 2u);
    EXPECT_EQ(LerArquivo(backup).value_or(""), "do usuario");
    // A temporary file that ends without Substituir is gone.
    ASSERT_TRUE(ArquivoTemporario::Criar(musica));
    EXPECT_EQ(p.Entradas(), 2u);
    (void)outro;
}

#endif
