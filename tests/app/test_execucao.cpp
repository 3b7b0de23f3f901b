// Whole runs through the core with a scripted operator, against real embedded databases.
#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/instalacao_teste.h"
#include "apoio/operador_roteirizado.h"
#include "app/nucleo.h"
#include "platform/arquivos.h"

using namespace quorvel;
using namespace quorvel::teste;

namespace {

const char* const kSucesso = "Atualiza\xE7\xE3o realizada com sucesso.";
const char* const kInterrompida = "Atualiza\xE7\xE3o foi interrompida.";

class Execucao : public ::testing::Test {
protected:
    void SetUp() override {
        operador.pasta2009 = inst.Pasta2009();
        operador.pasta2010 = inst.Pasta2010();
        nucleo = std::make_unique<NucleoQuorvel>(operador);
        nucleo->DefinirPastaPrograma(inst.PastaPrograma());
    }

    // Presses a start button and waits for the worker's end.
    bool Rodar(bool continuar = false) {
        const bool iniciou = nucleo->ExecutarAcao([&] {
            continuar ? nucleo->BContinuarProcessoClick() : nucleo->BAtualizarClick();
        });
        nucleo->AguardarTrabalhador();
        return iniciou;
    }

    std::string Seq() const { return LerHost(inst.ArquivoSeqHost()); }

    InstalacaoTeste inst;
    OperadorRoteirizado operador;
    std::unique_ptr<NucleoQuorvel> nucleo;
};

const char* const kAgenda =
    "INSERT INTO TB_AGENDA VALUES (1, 'Jos\xE9 da Concei\xE7\xE3o', '11 5555-0001', NULL, '11 99999-0001', "
    "'Rua \xC1gua Branca, 100', 'S\xE3o Paulo', 'SP', '01234-000', 'jose@radio.example', NULL, 5, 12, NULL, "
    "'jose.skype', 'Anivers\xE1rio: ligar cedo', 'Lapa');\n"
    "INSERT INTO TB_AGENDA (AGE_CODIGO) VALUES (2);\n"
    "INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_OBS) VALUES (5, '  espa\xE7os  ', 'linha 1\nlinha 2');\n";

}  // namespace

TEST_F(Execucao, NenhumaTabelaMarcadaTerminaComSucesso) {
    operador.MarcarSo({});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Sucesso);
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    EXPECT_TRUE(operador.habilitado);
    EXPECT_FALSE(ArquivoExiste(inst.ArquivoSeqHost()));
    const auto quadros = operador.Quadros();
    ASSERT_FALSE(quadros.empty());
    EXPECT_EQ(quadros.back().tabelaAtual, "");
    EXPECT_EQ(quadros.back().totalGeral, 0);
}

TEST_F(Execucao, AgendaCopiadaComNovasChavesNulosEAcentos) {
    inst.bases.Executar2009(kAgenda);
    inst.bases.ExecutarAdm("SET GENERATOR GEN_AGENDA TO 40; INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (99, 'velho');");
    operador.MarcarSo({0});
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    const auto linhas = inst.bases.ConsultarAdm(
        "SELECT AGE_CODIGO, AGE_NOME, AGE_FAX, AGE_DIAANIVERSARIO, AGE_MESANIVERSARIO, AGE_OBS, AGE_BAIRRO, AGE_WEB "
        "FROM TB_AGENDA ORDER BY AGE_CODIGO");
    ASSERT_EQ(linhas.size(), 3u);  // the old row is gone: a fresh start empties the table
    EXPECT_EQ(linhas[0], (std::vector<std::string>{"41", "Jos\xE9 da Concei\xE7\xE3o", "", "5", "12",
                                                   "Anivers\xE1rio: ligar cedo", "Lapa", ""}));
    // NULL texts arrive as empty texts, NULL integers as 0, a NULL blob as empty text.
    EXPECT_EQ(linhas[1], (std::vector<std::string>{"42", "", "", "0", "0", "", "", ""}));
    EXPECT_EQ(linhas[2][1], "  espa\xE7os  ");
    EXPECT_EQ(linhas[2][5], "linha 1\nlinha 2");
    EXPECT_EQ(ValorGenerator(inst.bases.LocalAdm(), "GEN_AGENDA"), 43);
}
