#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "apoio/executavel_pe.h"
#include "apoio/pasta_temporaria.h"
#include "db/deteccao_servidor.h"
#include "db/fb_consts.h"
#include "db/versao_arquivo.h"
#include "platform/erros.h"

using namespace quorvel;
using teste::CriarExecutavelWindows;
using teste::PastaTemporaria;
using teste::RecursoServidor;
using teste::RecursoVersao;
using teste::UnidadesTemporarias;
namespace fs = std::filesystem;

namespace {

const char* const RaizFirebird = "C:\\Program Files\\Firebird\\Firebird_2_1";
const char* const RaizInterBase = "C:\\Borland\\InterBase";

// A machine: its drive folder and its registry export file.
class Maquina : public testing::Test {
protected:
    void SetUp() override {
        if (const char* v = std::getenv("QUORVEL_REGISTRO")) registroAnterior_ = v, tinhaRegistro_ = true;
        ::setenv("QUORVEL_REGISTRO", (unidades_.Raiz().Caminho() + "/registro.reg").c_str(), 1);
    }
    void TearDown() override {
        if (tinhaRegistro_) ::setenv("QUORVEL_REGISTRO", registroAnterior_.c_str(), 1);
        else ::unsetenv("QUORVEL_REGISTRO");
    }

    // A registry export (REGEDIT4) with the given root folders; empty text leaves the entry out.
    void Registrar(const std::string& firebird, const std::string& interbase) {
        auto escapar = [](const std::string& s) {
            std::string r;
            for (char c : s) r += c == '\\' ? std::string("\\\\") : std::string(1, c);
            return r;
        };
        std::string texto = "REGEDIT4\r\n\r\n";
        if (!firebird.empty())
            texto += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Firebird Project\\Firebird Server\\Instances]\r\n"
                     "\"DefaultInstance\"=\"" + escapar(firebird) + "\"\r\n\r\n";
        if (!interbase.empty())
            texto += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\InterBase\\CurrentVersion]\r\n"
                     "\"RootDirectory\"=\"" + escapar(interbase) + "\"\r\n";
        GravarRegistro(texto);
    }
    void GravarRegistro(const std::string& texto) { unidades_.Raiz().Gravar("registro.reg", texto); }

    // The host path of a Windows drive path ("C:\x\y" -> <drive folder>/c/x/y).
    std::string Host(const std::string& caminho) {
        std::string r = unidades_.Unidade(caminho[0]);
        for (char c : caminho.substr(2)) r += c == '\\' ? '/' : c;
        return r;
    }
    void CriarPasta(const std::string& caminho) { fs::create_directories(Host(caminho)); }
    // A server program at root\bin\nome.
    void InstalarPrograma(const std::string& raiz, const std::string& nome,
                          const std::optional<RecursoVersao>& recurso) {
        CriarPasta(raiz + "\\bin");
        CriarExecutavelWindows(Host(raiz + "\\bin\\" + nome), recurso);
    }

    // VersaoServidor that must refuse; returns the text the operator is told.
    std::string Recusa() {
        try {
            VersaoServidor();
            ADD_FAILURE() << "no refusal";
        } catch (const ServidorNaoEncontrado& e) {
            return e.mensagem();
        }
        return {};
    }

    UnidadesTemporarias unidades_;
    std::string registroAnterior_;
    bool tinhaRegistro_ = false;
};

}  // namespace

TEST(FB_Consts, EntradasDoProduto) {
    EXPECT_EQ(NomeServidor(ProdutoNenhum, 0), "");
    EXPECT_EQ(NomeServidor(ProdutoInterBase, 0), "ibserver.exe");
    EXPECT_EQ(NomeServidor(ProdutoInterBase, 5), "InterBaseGuardian");
    EXPECT_EQ(NomeServidor(ProdutoFirebird, 0), "fbserver.exe");
    EXPECT_EQ(NomeServidor(ProdutoFirebird, 4), "FirebirdServerDefaultInstance");
    EXPECT_EQ(NomeServidor(ProdutoFirebird, 6), "");
    EXPECT_EQ(NomeServidor(ProdutoFirebird, -1), "");
    EXPECT_EQ(NomeServidor(7, 0), "");
}

TEST(VersaoAceita, Contem213EmQualquerLugar) {
    EXPECT_TRUE(VersaoAceita("Firebird SQL Server WI-V2.1.3.18185"));
    EXPECT_TRUE(VersaoAceita("X 2.1.30"));
    EXPECT_TRUE(VersaoAceita("X 12.1.3"));
    EXPECT_FALSE(VersaoAceita("X 2.1.2"));
    EXPECT_FALSE(VersaoAceita("X 2.5.0"));
    EXPECT_FALSE(VersaoAceita(" "));
}

TEST_F(Maquina, SemEntradasNoRegistro) {
    // No export file at all, then a file with neither key.
    EXPECT_EQ(DiretorioServidor(), "");
    EXPECT_EQ(Recusa(),
              "N\xE3o foram encontradas entradas do Firebird no registro do Windows!\r\n"
              "Verifique se o Firebird est\xE1 instalado!");
    GravarRegistro("REGEDIT4\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Borland\\InterBase\\CurrentVersion]\r\n"
                   "\"RootDirectory\"=\"C:\\\\IB\"\r\n");
    EXPECT_EQ(DiretorioServidor(), "");
}

TEST_F(Maquina, FirebirdTemPrecedenciaSobreInterBase) {
    Registrar(RaizFirebird, RaizInterBase);
    EXPECT_EQ(DiretorioServidor(), RaizFirebird);
    InstalarPrograma(RaizFirebird, "fbserver.exe", RecursoServidor("Firebird SQL Server", "WI-V2.1.3.18185"));
    InstalarPrograma(RaizInterBase, "ibserver.exe", RecursoServidor("InterBase Server", "WI-V7.5.1.80"));
    const VersaoDoServidor v = VersaoServidor();
    EXPECT_EQ(v.Texto, "Firebird SQL Server WI-V2.1.3.18185");
    EXPECT_TRUE(v.Verde);
    EXPECT_EQ(v.Produto, ProdutoFirebird);
}

TEST_F(Maquina, SoInterBaseOuFirebirdVazio) {
    Registrar("", RaizInterBase);
    EXPECT_EQ(DiretorioServidor(), RaizInterBase);
    // An empty Firebird value counts as no entry.
    GravarRegistro("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Firebird Project\\Firebird Server\\Instances]\r\n"
                   "\"DefaultInstance\"=\"\"\r\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\InterBase\\CurrentVersion]\r\n"
                   "\"RootDirectory\"=\"C:\\\\Borland\\\\InterBase\\\\\"\r\n");
    EXPECT_EQ(DiretorioServidor(), "C:\\Borland\\InterBase\\");
    InstalarPrograma(RaizInterBase, "ibserver.exe", RecursoServidor("InterBase Server", "WI-V7.5.1.80"));
    const VersaoDoServidor v = VersaoServidor();
    EXPECT_EQ(v.Texto, "InterBase Server WI-V7.5.1.80");
    EXPECT_FALSE(v.Verde);
    EXPECT_EQ(v.Produto, ProdutoInterBase);
}

TEST_F(Maquina, ValorDoRegistroQueNaoEhTextoEhErro) {
    GravarRegistro("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Firebird Project\\Firebird Server\\Instances]\r\n"
                   "\"DefaultInstance\"=dword:00000001\r\n");
    // An error of its own kind, not a refusal.
    try {
        VersaoServidor();
        ADD_FAILURE() << "no error";
    } catch (const ServidorNaoEncontrado&) {
        ADD_FAILURE() << "a refusal";
    } catch (const Erro& e) {
        EXPECT_EQ(e.mensagem(), "Invalid data type for 'DefaultInstance'");
    }
}

TEST_F(Maquina, RaizInexistente) {
    Registrar(RaizFirebird, "");
    EXPECT_EQ(Recusa(), std::string("Endere\xE7o n\xE3o encontrado: ") + RaizFirebird);
}

TEST_F(Maquina, RaizSemBin) {
    Registrar(RaizFirebird, "");
    CriarPasta(RaizFirebird);
    EXPECT_EQ(Recusa(), "Arquivo n\xE3o encontrado: ibserver.exe/fbserver.exe");
}

TEST_F(Maquina, RaizFirebirdComSoIbserver) {
    Registrar(RaizFirebird, "");
    InstalarPrograma(RaizFirebird, "ibserver.exe", RecursoServidor("InterBase Server", "WI-V2.1.3.1"));
    const VersaoDoServidor v = VersaoServidor();
    EXPECT_EQ(v.Texto, "InterBase Server WI-V2.1.3.1");
    EXPECT_TRUE(v.Verde);
    EXPECT_EQ(v.Produto, ProdutoInterBase);
}

TEST_F(Maquina, RaizComOuSemBarraFinalDaoOMesmoCaminho) {
    InstalarPrograma(RaizFirebird, "fbserver.exe", RecursoServidor("Firebird SQL Server", "WI-V2.5.0.26074"));
    for (const std::string& raiz : {std::string(RaizFirebird), std::string(RaizFirebird) + "\\"}) {
        SCOPED_TRACE(raiz);
        Registrar(raiz, "");
        const VersaoDoServidor v = VersaoServidor();
        EXPECT_EQ(v.Texto, "Firebird SQL Server WI-V2.5.0.26074");
        EXPECT_FALSE(v.Verde);
    }
}

TEST_F(Maquina, ProgramaSemRecursoDeVersaoOuEmOutraLingua) {
    Registrar(RaizFirebird, "");
    InstalarPrograma(RaizFirebird, "fbserver.exe", std::nullopt);
    VersaoDoServidor v = VersaoServidor();
    EXPECT_EQ(v.Texto, " ");
    EXPECT_FALSE(v.Verde);
    EXPECT_EQ(v.Produto, ProdutoFirebird);

    RecursoVersao outraLingua = RecursoServidor("Servidor Firebird", "2.1.3");
    outraLingua.bloco = "041604E4";
    InstalarPrograma(RaizFirebird, "fbserver.exe", outraLingua);
    v = VersaoServidor();
    EXPECT_EQ(v.Texto, " ");
    EXPECT_FALSE(v.Verde);
}

TEST_F(Maquina, VersoesVerdesEVermelhas) {
    Registrar(RaizFirebird, "");
    const struct {
        const char* versao;
        bool verde;
    } casos[] = {{"WI-V2.1.30.1", true}, {"12.1.3", true}, {"WI-V2.5.0.26074", false}, {"WI-V2.1.2.18118", false}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.versao);
        InstalarPrograma(RaizFirebird, "fbserver.exe", RecursoServidor("Firebird SQL Server", caso.versao));
        const VersaoDoServidor v = VersaoServidor();
        EXPECT_EQ(v.Texto, std::string("Firebird SQL Server ") + caso.versao);
        EXPECT_EQ(v.Verde, caso.verde);
    }
}

TEST_F(Maquina, TFileVersionDataLeOsDezTextos) {
    RecursoVersao r;
    r.valores = {{"CompanyName", "Firebird Project"},     {"FileDescription", "Firebird SQL Server"},
                 {"FileVersion", "WI-V2.1.3.18185"},      {"InternalName", "fbserver"},
                 {"LegalCopyright", "Copyright \xA9 2009"}, {"LegalTradeMarks", "Firebird\xAE"},
                 {"OriginalFilename", "fbserver.exe"},    {"ProductName", "Firebird SQL Server"},
                 {"ProductVersion", "2.1.3.18185"},       {"Comments", std::string(300, 'c')}};
    const std::string programa = "C:\\Programa.exe";
    CriarPasta("C:\\");
    CriarExecutavelWindows(Host(programa), r);

    TFileVersionData dados;
    EXPECT_EQ(dados.CompanyName(), "");
    dados.WorkFileName(programa);
    EXPECT_EQ(dados.WorkFileName(), programa);
    EXPECT_EQ(dados.CompanyName(), "Firebird Project");
    EXPECT_EQ(dados.FileDescription(), "Firebird SQL Server");
    EXPECT_EQ(dados.FileVersion(), "WI-V2.1.3.18185");
    EXPECT_EQ(dados.InternalName(), "fbserver");
    EXPECT_EQ(dados.LegalCopyright(), "Copyright \xA9 2009");
    EXPECT_EQ(dados.LegalTrademarks(), "Firebird\xAE");
    EXPECT_EQ(dados.OriginalFilename(), "fbserver.exe");
    EXPECT_EQ(dados.ProductName(), "Firebird SQL Server");
    EXPECT_EQ(dados.ProductVersion(), "2.1.3.18185");
    EXPECT_EQ(dados.Comments(), std::string(255, 'c'));  // cut to 255 characters
    EXPECT_EQ(VersaoArquivo(programa), "Firebird SQL Server WI-V2.1.3.18185");

    // Another file empties what the last one gave; so do no file and an empty name.
    dados.WorkFileName("C:\\NaoExiste.exe");
    EXPECT_EQ(dados.CompanyName(), "");
    EXPECT_EQ(dados.Comments(), "");
    dados.WorkFileName(programa);
    dados.WorkFileName("");
    EXPECT_EQ(dados.FileVersion(), "");
    EXPECT_EQ(VersaoArquivo("C:\\NaoExiste.exe"), " ");
}
