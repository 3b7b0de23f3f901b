// The database layer against real embedded databases: connections, transactions, statements,
// binding and reading rules.
#include <gtest/gtest.h>

#include "apoio/bases_teste.h"
#include "db/erro_banco.h"
#include "db/ib_query.h"

namespace quorvel {
namespace {

using teste::BasesTeste;
using teste::Nulo;

class Camada : public ::testing::Test {
protected:
    void SetUp() override {
        teste::ConfigurarConexao(audio, trAudio, bases.LocalAudio());
        audio.Open();
        trAudio.StartTransaction();
        q.SetDatabase(&audio);
    }
    void Texto(const std::string& sql) {
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
    }
    BasesTeste bases;
    TIBDatabase audio;
    TIBTransaction trAudio;
    TIBQuery q;
};

TEST_F(Camada, EmptyTextBindsNullToNumbersAndDatesButEmptyTextToVarchar) {
    Texto("INSERT INTO TB_ECAD (ECA_CODIGO, ECA_DATA, ECA_HORA, MUS_CODIGO) VALUES (1, :pData, :pHora, :pMus)");
    q.ParamByName("pData").SetDataType(TipoCampo::Data);
    q.ParamByName("pData").SetAsString("");
    q.ParamByName("pHora").SetAsString("");
    q.ParamByName("pMus").SetAsString("");
    q.ExecSQL();
    trAudio.CommitRetaining();
    const auto linhas = bases.ConsultarAudio("SELECT ECA_DATA, ECA_HORA, MUS_CODIGO FROM TB_ECAD");
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0][0], Nulo);
    EXPECT_EQ(linhas[0][1], "");
    EXPECT_EQ(linhas[0][2], Nulo);
}

}  // namespace
}  // namespace quorvel
