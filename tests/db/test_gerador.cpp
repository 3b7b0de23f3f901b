// Generator resynchronisation after copies that keep their keys.
#include <gtest/gtest.h>

#include "apoio/bases_teste.h"
#include "db/gerador.h"
#include "db/ib_query.h"
#include "platform/erros.h"

namespace quorvel {
namespace {

class Gerador : public ::testing::Test {
protected:
    void SetUp() override {
        teste::ConfigurarConexao(adm, trAdm, bases.LocalAdm());
        teste::ConfigurarConexao(audio, trAudio, bases.LocalAudio());
        adm.Open();
        trAdm.StartTransaction();
        audio.Open();
        trAudio.StartTransaction();
        alvo = Bases2010{&adm, &trAdm, &audio, &trAudio};
    }
    teste::BasesTeste bases;
    TIBDatabase adm, audio;
    TIBTransaction trAdm, trAudio;
    Bases2010 alvo;
};

TEST_F(Gerador, EmptyTableSetsZeroAndCopiedKeysSetTheHighestPlusTen) {
    bases.ExecutarAudio("SET GENERATOR GEN_PERFILBOTOES TO 500;");
    AtualizarGenerator("TB_PERFILBOTOES", "pbo_codigo", "GEN_PERFILBOTOES", "AUDIO", alvo);
    EXPECT_EQ(teste::ValorGenerator(bases.LocalAudio(), "GEN_PERFILBOTOES"), 0);

    bases.ExecutarAudio(
        "INSERT INTO TB_GENERO VALUES (3, 'a');INSERT INTO TB_GENERO VALUES (57, 'b');");
    AtualizarGenerator("TB_GENERO", "gen_codigo", "GEN_GENERO", "Audio", alvo);
    EXPECT_EQ(teste::ValorGenerator(bases.LocalAudio(), "GEN_GENERO"), 67);
    AtualizarGenerator("TB_GENERO", "gen_codigo", "GEN_GENERO", "AUDIO", alvo);
    EXPECT_EQ(teste::ValorGenerator(bases.LocalAudio(), "GEN_GENERO"), 67);
    // The next key drawn is 68.
    EXPECT_EQ(bases.ConsultarAudio("SELECT GEN_ID(GEN_GENERO, 1) FROM RDB$DATABASE")[0][0], "68");
}

TEST_F(Gerador, AdmInAnyCaseSelectsTheAdministrationDatabase) {
    bases.ExecutarAdm("INSERT INTO TB_AGENDA (AGE_CODIGO) VALUES (12);");
    AtualizarGenerator("TB_AGENDA", "age_codigo", "GEN_AGENDA", "adm", alvo);
    EXPECT_EQ(teste::ValorGenerator(bases.LocalAdm(), "GEN_AGENDA"), 22);
    // The audio database has no TB_AGENDA: any other selector goes there and fails.
    EXPECT_THROW(AtualizarGenerator("TB_AGENDA", "age_codigo", "GEN_AGENDA", "ADMX", alvo), Erro);
}

TEST_F(Gerador, UncommittedRowsCountAndFailuresLeaveTheGeneratorAlone) {
    TIBQuery q(&audio);
    q.SQL.Add("INSERT INTO TB_GENERO VALUES (9, 'x')");
    q.ExecSQL();  // same transaction: seen by the maximum and committed with the generator
    AtualizarGenerator("TB_GENERO", "gen_codigo", "GEN_GENERO", "AUDIO", alvo);
    EXPECT_EQ(teste::ValorGenerator(bases.LocalAudio(), "GEN_GENERO"), 19);
    EXPECT_EQ(bases.ConsultarAudio("SELECT COUNT(*) FROM TB_GENERO")[0][0], "1");

    EXPECT_THROW(AtualizarGenerator("TB_GENERO", "gen_codigo", "GEN_NAO_EXISTE", "AUDIO", alvo),
                 Erro);
    EXPECT_THROW(AtualizarGenerator("TB_GENERO", "nao_existe", "GEN_GENERO", "AUDIO", alvo), Erro);
    EXPECT_EQ(teste::ValorGenerator(bases.LocalAudio(), "GEN_GENERO"), 19);
    EXPECT_TRUE(trAudio.Active());
}

}  // namespace
}  // namespace quorvel
