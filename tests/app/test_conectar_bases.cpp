// Installation discovery, the server-machine check and the connections at the start of a run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "apoio/instalacao_teste.h"
#include "apoio/operador_roteirizado.h"
#include "app/nucleo/nucleo.h"
#include "music/identidade_rede.h"
#include "platform/erros.h"

using namespace quorvel;
using namespace quorvel::teste;
namespace fs = std::filesystem;

namespace {

class Conectar : public ::testing::Test {
protected:
    void SetUp() override {
        operador.pasta2009 = inst.Pasta2009();
        operador.pasta2010 = inst.Pasta2010();
    }
    // Runs ConectarBases; true when it went through without a refusal.
    bool Conectar_() {
        try {
            nucleo.ConectarBases();
            return true;
        } catch (const AbortoSilencioso&) {
            return false;
        }
    }
    void GravarD(const std::string& relativo, const std::string& conteudo) {
        std::ofstream(inst.unidades.Unidade('d') + "/" + relativo, std::ios::binary) << conteudo;
    }

    InstalacaoTeste inst;
    OperadorRoteirizado operador;
    NucleoQuorvel nucleo{operador};
};

}  // namespace

TEST_F(Conectar, ConectaAsTresBasesDeUmaInstalacao) {
    ASSERT_TRUE(Conectar_());
    EXPECT_TRUE(operador.TextosMensagens().empty());
    const BasesExecucao& bases = nucleo.Bases;
    EXPECT_TRUE(bases.DB_Adm.Connected() && bases.DB_Audio.Connected() && bases.DB_2009.Connected());
    EXPECT_TRUE(bases.Transaction_Adm.Active() && bases.Transaction_Audio.Active() && bases.Transaction_2009.Active());
    EXPECT_EQ(nucleo.Estado.Servidor, "C");
    EXPECT_EQ(nucleo.Bases.DB_2009.DatabaseName(), "C:\\Dados\\BASE2009.FDB");
    // A second start reconnects from a disconnected state of its own making.
    ASSERT_TRUE(Conectar_());
    EXPECT_TRUE(nucleo.Bases.DB_2009.Connected());
}

TEST_F(Conectar, PastasVaziasSaoRecusadasAntesDeTudo) {
    operador.pasta2009 = "   ";
    EXPECT_FALSE(Conectar_());
    EXPECT_EQ(operador.TextosMensagens(),
              std::vector<std::string>{"O endere\xE7o da pasta da Vers\xE3o 2009 deve ser informado."});
    EXPECT_EQ(operador.focos2009, 1);
    operador.pasta2009 = inst.Pasta2009();
    operador.pasta2010 = "";
    EXPECT_FALSE(Conectar_());
    EXPECT_EQ(operador.TextosMensagens().back(), "O endere\xE7o da pasta da Vers\xE3o 2010 deve ser informado.");
    EXPECT_EQ(operador.focos2010, 1);
    EXPECT_EQ(operador.Mensagens().back().titulo, "Quorvel 2009-2010");
    EXPECT_EQ(operador.Mensagens().back().tipo, TipoMensagem::Informacao);
}

TEST_F(Conectar, PastaComBrancosNoFimEhUsadaComEles) {
    operador.pasta2010 = inst.Pasta2010() + " ";
    EXPECT_FALSE(Conectar_());
    EXPECT_EQ(operador.TextosMensagens(),
              std::vector<std::string>{"O arquivo D:\\Quorvel2010 \\BaseAudio.ini n\xE3o foi encontrado."});
}

TEST_F(Conectar, ArquivosQueFaltamNaOrdemCerta) {
    fs::remove(inst.unidades.Unidade('d') + "/Quorvel2009/Base.ini");
    fs::remove(inst.unidades.Unidade('d') + "/Quorvel2010/BaseAdm.ini");
    EXPECT_FALSE(Conectar_());
    EXPECT_EQ(operador.TextosMensagens(),
              std::vector<std::string>{"O arquivo D:\\Quorvel2010\\BaseAdm.ini n\xE3o foi encontrado."});
    // Base.ini is reported only after both 2010 files and the machine check have passed.
    GravarD("Quorvel2010/BaseAdm.ini", "[BANCO]\r\ncaminho=servidor.invalid:C:\\Dados\\ADM.FDB\r\n");
    EXPECT_FALSE(Conectar_());
    EXPECT_EQ(operador.TextosMensagens().back(), "O Quorvel 2009-2010 deve ser executado da maquina Servidor.");
    GravarD("Quorvel2010/BaseAdm.ini", "[BANCO]\r\ncaminho=C:\\Dados\\ADM.FDB\r\n");
    EXPECT_FALSE(Conectar_());
    EXPECT_EQ(operador.TextosMensagens().back(), "O arquivo D:\\Quorvel2009\\Base.ini n\xE3o foi encontrado.");
    EXPECT_EQ(operador.focos2009, 1);
    EXPECT_FALSE(nucleo.Bases.DB_Adm.Connected());
}

TEST_F(Conectar, VerificacaoDaMaquinaServidor) {
    struct Caso { std::string local; bool aceito; } casos[] = {
        {"localhost:C:\\Dados\\ADM.FDB", true},  {"LocalHost:C:\\Dados\\ADM.FDB", true},
        {"127.0.0.1:C:\\Dados\\ADM.FDB", true},  {"C:\\Dados\\ADM.FDB", true},
        {"c:\\Dados\\ADM.FDB", true},            {"D:\\Dados\\ADM.FDB", false},
        {"ADM.FDB", false},                      {"servidor.invalid:C:\\Dados\\ADM.FDB", false},
    };
    for (const auto& c : casos) {
        GravarD("Quorvel2010/BaseAdm.ini", "[BANCO]\r\ncaminho=" + c.local + "\r\n");
        fs::remove(inst.unidades.Unidade('d') + "/Quorvel2009/Base.ini");  // stop right after the check
        Conectar_();
        const auto ultima = operador.TextosMensagens().back();
        EXPECT_EQ(ultima == "O Quorvel 2009-2010 deve ser executado da maquina Servidor.", !c.aceito) << c.local;
    }
    // This machine's own address and the name it resolves to, in any letter case.
    const std::string ip = IPLocal();
    if (!ip.empty()) {
        GravarD("Quorvel2010/BaseAdm.ini", "[BANCO]\r\ncaminho=" + ip + ":C:\\Dados\\ADM.FDB\r\n");
        Conectar_();
        EXPECT_NE(operador.TextosMensagens().back(), "O Quorvel 2009-2010 deve ser executado da maquina Servidor.");
    }
}

TEST_F(Conectar, TresMensagensQuandoNenhumaBaseResponde) {
    GravarD("Quorvel2010/BaseAudio.ini", "[BANCO]\r\ncaminho=C:\\Dados\\FALTA_AUDIO.FDB\r\n");
    GravarD("Quorvel2010/BaseAdm.ini", "[BANCO]\r\ncaminho=localhost:C:\\Dados\\FALTA_ADM.FDB\r\n");
    GravarD("Quorvel2009/Base.ini", "  C:\\Dados\\FALTA.FDB  \r\noutra linha\r\n");
    ASSERT_TRUE(Conectar_());  // connection failures are reported and the start goes on
    EXPECT_EQ(operador.TextosMensagens(),
              (std::vector<std::string>{"N\xE3o foi poss\xEDvel conectar com a BaseAdm 2010.",
                                        "N\xE3o foi poss\xEDvel conectar com a BaseAudio 2010.",
                                        "N\xE3o foi poss\xEDvel conectar com a Base de Dados 2009."}));
    EXPECT_EQ(nucleo.Bases.DB_2009.DatabaseName(), "C:\\Dados\\FALTA.FDB");
    // With a table checked the run then fails at the record count and does not start.
    operador.MarcarSo({0});
    nucleo.DefinirPastaPrograma(inst.PastaPrograma());
    EXPECT_FALSE(nucleo.ExecutarAcao([&] { nucleo.Atualizar(); }));
    EXPECT_EQ(operador.Mensagens().back().tipo, TipoMensagem::Erro);
    EXPECT_FALSE(nucleo.TrabalhadorAtivo());
}

TEST_F(Conectar, BaseIniSemLinhaEhErro) {
    GravarD("Quorvel2009/Base.ini", "");
    EXPECT_THROW(nucleo.ConectarBases(), Erro);
}

TEST(ConectarServidor, ConectaECopiaPeloServidorLocal) {
    if (!ServidorDisponivel()) GTEST_SKIP() << "the loopback Firebird server is not running";
    UnidadesTemporarias unidades;
    BasesTeste bases(BasesTeste::Acesso::Servidor);
    const std::string d = unidades.Unidade('d');
    fs::create_directories(d + "/Q9");
    fs::create_directories(d + "/Q10");
    std::ofstream(d + "/Q9/Base.ini") << bases.Local2009() << "\r\n";
    std::ofstream(d + "/Q10/BaseAudio.ini") << "[BANCO]\r\ncaminho=" << bases.LocalAudio() << "\r\n";
    std::ofstream(d + "/Q10/BaseAdm.ini") << "[BANCO]\r\ncaminho=" << bases.LocalAdm() << "\r\n";
    bases.Executar2009("INSERT INTO TB_GENERO VALUES (4, 'Forr\xF3');");
    OperadorRoteirizado operador;
    operador.pasta2009 = "D:\\Q9";
    operador.pasta2010 = "D:\\Q10";
    operador.MarcarSo({4});
    NucleoQuorvel nucleo(operador);
    nucleo.DefinirPastaPrograma(unidades.Raiz().Caminho());
    ASSERT_TRUE(nucleo.ExecutarAcao([&] { nucleo.Atualizar(); }));
    nucleo.AguardarTrabalhador();
    EXPECT_EQ(nucleo.Estado.Servidor, "localhost");
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{"Atualiza\xE7\xE3o realizada com sucesso."});
    EXPECT_EQ(bases.ConsultarAudio("SELECT GEN_CODIGO, GEN_NOME FROM TB_GENERO"), (Linhas{{"4", "Forr\xF3"}}));
}
