// The database layer's buffer of fetched rows and its commits, against a real embedded database:
// every kind of value comes back as stored however many rows are held, and a commit with nothing
// to commit does not reach the server.
#include <gtest/gtest.h>

#include <string>

#include "apoio/bases_teste.h"
#include "db/ib_query.h"

namespace quorvel {
namespace {

class LinhasCamada : public ::testing::Test {
protected:
    void SetUp() override {
        teste::ConfigurarConexao(audio, trAudio, bases.LocalAudio());
        audio.Open();
        trAudio.StartTransaction();
        q.SetDatabase(&audio);
    }
    teste::BasesTeste bases;
    TIBDatabase audio;
    TIBTransaction trAudio;
    TIBQuery q;
};

// Row i of the table below, as the layer reads it.
struct Esperado {
    int i;
    bool nulos() const { return i % 7 == 3; }
    int32_t inteiro() const { return i % 2 ? 2147483647 - i : -2147483647 + i; }
    int16_t curto() const { return static_cast<int16_t>(i % 30000 - 15000); }
    double decimal() const { return i / 8.0 - 100; }
    std::string texto() const {
        // Short texts, and from time to time one longer than 255 characters.
        std::string t = "Can\xE7\xE3o " + std::to_string(i);
        if (i % 50 == 0) t += std::string(300, static_cast<char>('a' + i % 26));
        return t;
    }
    std::string blob() const { return i == 1234 ? std::string(40000, '\xE9') : (i % 3 ? "obs " + std::to_string(i) : ""); }
};

TEST_F(LinhasCamada, EveryValueOfThousandsOfBufferedRowsReadsAsStored) {
    constexpr int kLinhas = 3000;
    bases.ExecutarAudio(
        "CREATE TABLE T_TIPOS (I INTEGER NOT NULL, S SMALLINT, D DOUBLE PRECISION, N NUMERIC(9,2), DT DATE, "
        "C CHAR(4), V VARCHAR(400), B BLOB SUB_TYPE 1);");
    TIBQuery insercao(&audio);
    insercao.SQL.SetText("INSERT INTO T_TIPOS VALUES (:i, :s, :d, :n, :dt, :c, :v, :b)");
    for (int i = 1; i <= kLinhas; ++i) {
        const Esperado e{i};
        insercao.ParamByName("i").SetAsInteger(e.inteiro());
        if (e.nulos()) {
            for (const char* p : {"s", "d", "n", "dt", "c", "v", "b"}) insercao.ParamByName(p).Clear();
        } else {
            insercao.ParamByName("s").SetAsInteger(e.curto());
            insercao.ParamByName("d").SetAsFloat(e.decimal());
            insercao.ParamByName("n").SetAsString(std::to_string(i) + ".25");
            insercao.ParamByName("dt").SetAsDateTime(DataHora::De(2009, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 0));
            insercao.ParamByName("c").SetAsString(i % 2 ? "ab" : "");
            insercao.ParamByName("v").SetAsString(e.texto());
            insercao.ParamByName("b").SetAsBlob(e.blob());
        }
        insercao.ExecSQL();
    }
    trAudio.CommitRetaining();

    q.SQL.SetText("SELECT * FROM T_TIPOS");
    q.Open();
    q.Last();
    ASSERT_EQ(q.RecordCount(), kLinhas);
    // Twice over the buffer: the rows read after moving back are the same.
    for (int volta = 0; volta < 2; ++volta) {
        q.First();
        for (int i = 1; i <= kLinhas; ++i, q.Next()) {
            const Esperado e{i};
            ASSERT_FALSE(q.Eof()) << i;
            ASSERT_EQ(q.FieldByName("I").AsInteger(), e.inteiro()) << i;
            if (e.nulos()) {
                for (const char* c : {"S", "D", "N", "DT", "C", "V", "B"}) EXPECT_TRUE(q.FieldByName(c).IsNull()) << c;
                continue;
            }
            EXPECT_EQ(q.FieldByName("S").AsInteger(), e.curto());
            EXPECT_EQ(q.FieldByName("D").AsFloat(), e.decimal());
            EXPECT_EQ(q.FieldByName("N").AsString(), std::to_string(i) + ",25");
            EXPECT_EQ(q.FieldByName("DT").AsDateTime(), DataHora::De(2009, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 0));
            EXPECT_EQ(q.FieldByName("C").AsString(), i % 2 ? "ab  " : "    ");
            EXPECT_EQ(q.FieldByName("V").AsString(), e.texto());
            EXPECT_EQ(q.FieldByName("B").AsString(), e.blob());
            EXPECT_EQ(q.FieldByName("B").IsNull(), false);
        }
        EXPECT_TRUE(q.Eof());
    }
    trAudio.Rollback();
}

TEST_F(LinhasCamada, ACommitWithNothingExecutedSinceTheLastDoesNotReachTheServer) {
    const uint64_t inicio = trAudio.CommitsRealizados();
    trAudio.CommitRetaining();
    EXPECT_EQ(trAudio.CommitsRealizados(), inicio);

    q.SQL.SetText("INSERT INTO TB_GENERO VALUES (:c, 'x')");
    q.ParamByName("c").SetAsInteger(1);
    q.ExecSQL();
    trAudio.CommitRetaining();
    EXPECT_EQ(trAudio.CommitsRealizados(), inicio + 1);
    // Committed: another connection sees it.
    EXPECT_EQ(bases.ConsultarAudio("SELECT GEN_CODIGO FROM TB_GENERO"), (teste::Linhas{{"1"}}));
    trAudio.CommitRetaining();
    trAudio.CommitRetaining();
    EXPECT_EQ(trAudio.CommitsRealizados(), inicio + 1);

    // A select counts as work: it may have called a procedure or a generator.
    TIBQuery leitura(&audio);
    leitura.SQL.SetText("SELECT GEN_ID(GEN_GENERO, 1) FROM RDB$DATABASE");
    leitura.Open();
    trAudio.CommitRetaining();
    EXPECT_EQ(trAudio.CommitsRealizados(), inicio + 2);

    // Work undone by a rollback leaves nothing to commit.
    q.ParamByName("c").SetAsInteger(2);
    q.ExecSQL();
    trAudio.RollbackRetaining();
    trAudio.CommitRetaining();
    EXPECT_EQ(trAudio.CommitsRealizados(), inicio + 2);
    EXPECT_EQ(bases.ConsultarAudio("SELECT GEN_CODIGO FROM TB_GENERO"), (teste::Linhas{{"1"}}));

    // An inactive transaction still refuses a commit.
    trAudio.Rollback();
    EXPECT_THROW(trAudio.CommitRetaining(), std::exception);
}

}  // namespace
}  // namespace quorvel
