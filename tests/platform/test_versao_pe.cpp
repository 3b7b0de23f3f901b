#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>

#include "apoio/executavel_pe.h"
#include "apoio/pasta_temporaria.h"
#include "platform/versao_pe.h"

using namespace quorvel;
using teste::CriarExecutavelWindows;
using teste::LerHost;
using teste::PastaTemporaria;
using teste::RecursoVersao;

namespace {

const char* const Consulta = "\\StringFileInfo\\040904E4\\";

RecursoVersao RecursoCompleto() {
    RecursoVersao r;
    r.valores = {
        {"CompanyName", "Firebird Project"},
        {"FileDescription", "Firebird SQL Server \"Descri\xE7\xE3o\" \\ \x80"},
        {"FileVersion", "WI-V2.1.3.18185"},
        {"InternalName", "fbserver"},
        {"LegalCopyright", ""},
        {"OriginalFilename", "fbserver.exe"},
    };
    return r;
}

// The executables are made once for the whole suite.
class VersaoPe : public testing::Test {
protected:
    static void SetUpTestSuite() {
        pasta_ = new PastaTemporaria;
        CriarExecutavelWindows(Caminho("completo.exe"), RecursoCompleto());
        CriarExecutavelWindows(Caminho("pe32.exe"), RecursoCompleto(), true);
        RecursoVersao outraLingua = RecursoCompleto();
        outraLingua.bloco = "041604B0";
        outraLingua.traducao = "0x416, 1200";
        CriarExecutavelWindows(Caminho("outra-lingua.exe"), outraLingua);
        CriarExecutavelWindows(Caminho("sem-recurso.exe"), std::nullopt);
    }
    static void TearDownTestSuite() {
        delete pasta_;
        pasta_ = nullptr;
    }
    static std::string Caminho(const std::string& nome) { return pasta_->Caminho() + "/" + nome; }
    static std::string Gravar(const std::string& nome, const std::string& conteudo) {
        return pasta_->Gravar(nome, conteudo);
    }

    static PastaTemporaria* pasta_;
};
PastaTemporaria* VersaoPe::pasta_ = nullptr;

}  // namespace

TEST_F(VersaoPe, LeAsStringsDoBlocoAmericano) {
    for (const char* nome : {"completo.exe", "pe32.exe"}) {
        SCOPED_TRACE(nome);
        const auto bloco = LerInformacaoVersao(Caminho(nome));
        ASSERT_TRUE(bloco.has_value());
        const std::string base = Consulta;
        EXPECT_EQ(ConsultarTextoVersao(*bloco, base + "CompanyName"), "Firebird Project");
        // Windows-1252 text comes back as it was written, quotes and backslashes included.
        EXPECT_EQ(ConsultarTextoVersao(*bloco, base + "FileDescription"),
                  "Firebird SQL Server \"Descri\xE7\xE3o\" \\ \x80");
        EXPECT_EQ(ConsultarTextoVersao(*bloco, base + "FileVersion"), "WI-V2.1.3.18185");
        EXPECT_EQ(ConsultarTextoVersao(*bloco, base + "OriginalFilename"), "fbserver.exe");
        // Present but empty, and absent.
        EXPECT_EQ(ConsultarTextoVersao(*bloco, base + "LegalCopyright"), "");
        EXPECT_EQ(ConsultarTextoVersao(*bloco, base + "Comments"), std::nullopt);
    }
}

TEST_F(VersaoPe, ConsultaSemRespeitoACaixaEComOuSemBarraInicial) {
    const auto bloco = LerInformacaoVersao(Caminho("completo.exe"));
    ASSERT_TRUE(bloco.has_value());
    EXPECT_EQ(ConsultarTextoVersao(*bloco, "\\stringfileinfo\\040904e4\\fileversion"), "WI-V2.1.3.18185");
    EXPECT_EQ(ConsultarTextoVersao(*bloco, "StringFileInfo\\040904E4\\FileVersion"), "WI-V2.1.3.18185");
    EXPECT_EQ(ConsultarTextoVersao(*bloco, "\\StringFileInfo\\041604B0\\FileVersion"), std::nullopt);
    EXPECT_EQ(ConsultarTextoVersao(*bloco, "\\StringFileInfo\\040904E4\\FileVersion\\Mais"), std::nullopt);
    // The root is the fixed information, never a text.
    EXPECT_EQ(ConsultarTextoVersao(*bloco, "\\"), std::nullopt);
    EXPECT_EQ(ConsultarTextoVersao(*bloco, ""), std::nullopt);
}

TEST_F(VersaoPe, OutroBlocoDeLinguaNaoEhOAmericano) {
    const auto bloco = LerInformacaoVersao(Caminho("outra-lingua.exe"));
    ASSERT_TRUE(bloco.has_value());
    EXPECT_EQ(ConsultarTextoVersao(*bloco, std::string(Consulta) + "FileVersion"), std::nullopt);
    EXPECT_EQ(ConsultarTextoVersao(*bloco, "\\StringFileInfo\\041604B0\\FileVersion"), "WI-V2.1.3.18185");
}

TEST_F(VersaoPe, ArquivosSemInformacaoDeVersao) {
    EXPECT_EQ(LerInformacaoVersao(Caminho("sem-recurso.exe")), std::nullopt);
    EXPECT_EQ(LerInformacaoVersao(Caminho("nao-existe.exe")), std::nullopt);
    EXPECT_EQ(LerInformacaoVersao(pasta_->Caminho()), std::nullopt);  // a folder
    EXPECT_EQ(LerInformacaoVersao(Gravar("vazio.exe", "")), std::nullopt);
    EXPECT_EQ(LerInformacaoVersao(Gravar("texto.exe", "Firebird SQL Server WI-V2.1.3.18185\r\n")), std::nullopt);
    EXPECT_EQ(LerInformacaoVersao(Gravar("mz.exe", "MZ")), std::nullopt);
    EXPECT_EQ(LerInformacaoVersao(Gravar("mz-zeros.exe", "MZ" + std::string(200, '\0'))), std::nullopt);
#ifdef _WIN32
    // This test program: a PE file whose resources, if any, hold no version.
    char proprio[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, proprio, MAX_PATH), 0u);
    EXPECT_EQ(LerInformacaoVersao(proprio), std::nullopt);
#else
    // A Linux program: a real executable of another kind.
    EXPECT_EQ(LerInformacaoVersao(std::filesystem::read_symlink("/proc/self/exe").string()), std::nullopt);
#endif
}

TEST_F(VersaoPe, BlocoDeVersaoDanificadoNaoLeForaDoBuffer) {
    const auto bloco = LerInformacaoVersao(Caminho("completo.exe"));
    ASSERT_TRUE(bloco.has_value());
    const std::string consulta = std::string(Consulta) + "FileVersion";
    // Every prefix of the block, and every byte of it set to 0x00 and 0xFF: the query answers
    // (anything) without reading past the block; the sanitizer build checks the reads.
    for (size_t n = 0; n <= bloco->size(); ++n) (void)ConsultarTextoVersao(bloco->substr(0, n), consulta);
    for (size_t i = 0; i < bloco->size(); ++i)
        for (char valor : {'\0', '\xFF', '\x06'}) {
            std::string danificado = *bloco;
            danificado[i] = valor;
            (void)ConsultarTextoVersao(danificado, consulta);
            (void)ConsultarTextoVersao(danificado, "\\VarFileInfo\\Translation");
        }
}

TEST_F(VersaoPe, ExecutavelTruncadoOuDanificadoNaoLeForaDoArquivo) {
    for (const char* nome : {"completo.exe", "pe32.exe"}) {
        SCOPED_TRACE(nome);
        const std::string original = LerHost(Caminho(nome));
        ASSERT_GT(original.size(), 512u);
        const std::string copia = Caminho("danificado.exe");
        auto gravar = [&](const std::string& conteudo) { std::ofstream(copia, std::ios::binary) << conteudo; };
        // Cut anywhere: either no version information or a block that answers its queries.
        for (size_t n = 0; n < original.size(); n += 7) {
            gravar(original.substr(0, n));
            if (const auto bloco = LerInformacaoVersao(copia)) {
                EXPECT_EQ(ConsultarTextoVersao(*bloco, std::string(Consulta) + "FileVersion"), "WI-V2.1.3.18185");
            }
        }
        // Each byte of the headers and each byte that is not padding, changed.
        for (size_t i = 0; i < original.size(); ++i) {
            if (original[i] == '\0' && i >= 1024) continue;
            for (char valor : {'\0', '\xFF'}) {
                if (original[i] == valor) continue;
                std::string danificado = original;
                danificado[i] = valor;
                gravar(danificado);
                if (const auto bloco = LerInformacaoVersao(copia))
                    (void)ConsultarTextoVersao(*bloco, std::string(Consulta) + "FileDescription");
            }
        }
    }
}
