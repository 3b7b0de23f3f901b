#include <gtest/gtest.h>

#include "apoio/pasta_temporaria.h"
#include "platform/erros.h"
#include "platform/ini.h"

using namespace quorvel;
using teste::LerHost;
using teste::PastaTemporaria;

TEST(Ini, LeSemRespeitoACaixaEComBrancosRemovidos) {
    PastaTemporaria t;
    const auto arq = t.Gravar("BaseAdm.ini",
                              "; comment\r\n[Outra]\r\ncaminho=errado\r\n\r\n  [ banco ]  \r\n"
                              "  CAMINHO  =   localhost:C:\\Dados\\ADM.FDB   \r\nvazio=\r\n");
    EXPECT_EQ(LerIni(arq, "BANCO", "caminho"), "localhost:C:\\Dados\\ADM.FDB");
    EXPECT_EQ(LerIni(arq, "Banco", "Caminho"), "localhost:C:\\Dados\\ADM.FDB");
    EXPECT_EQ(LerIni(arq, "OUTRA", "caminho"), "errado");
    EXPECT_EQ(LerIni(arq, "BANCO", "vazio"), "");
    EXPECT_EQ(LerIni(arq, "BANCO", "falta"), "");
    EXPECT_EQ(LerIni(arq, "FALTA", "caminho"), "");
    EXPECT_EQ(LerIni(t.Caminho() + "/nao-existe.ini", "BANCO", "caminho"), "");
}

// As the profile functions read them: one pair of matching quotes around the whole value goes;
// quotes that do not pair, or stand inside the value, stay.
TEST(Ini, UmParDeAspasEmVoltaDoValorSai) {
    PastaTemporaria t;
    const auto arq = t.Gravar("BaseAdm.ini",
                              "[BANCO]\r\nduplas = \"servidor/3051:C:\\Dados\\ADM.FDB\"  \r\n"
                              "simples='localhost:C:\\A B.FDB'\r\nmistas=\"x'\r\nsozinha=\"\r\n"
                              "dentro=a\"b\"c\r\nduas=\"\"x\"\"\r\nvazias=\"\"\r\nbrancos=\" x \"\r\n");
    EXPECT_EQ(LerIni(arq, "BANCO", "duplas"), "servidor/3051:C:\\Dados\\ADM.FDB");
    EXPECT_EQ(LerIni(arq, "BANCO", "simples"), "localhost:C:\\A B.FDB");
    EXPECT_EQ(LerIni(arq, "BANCO", "mistas"), "\"x'");
    EXPECT_EQ(LerIni(arq, "BANCO", "sozinha"), "\"");
    EXPECT_EQ(LerIni(arq, "BANCO", "dentro"), "a\"b\"c");
    EXPECT_EQ(LerIni(arq, "BANCO", "duas"), "\"x\"");
    EXPECT_EQ(LerIni(arq, "BANCO", "vazias"), "");
    EXPECT_EQ(LerIni(arq, "BANCO", "brancos"), " x ");
}

TEST(Ini, LinhasComLfECrSozinhoEValorComIgual) {
    PastaTemporaria t;
    const auto arq = t.Gravar("x.ini", "[SEQ]\nsTabela=TB_ECAD\rsCodigo=a=b\n");
    EXPECT_EQ(LerIni(arq, "seq", "STABELA"), "TB_ECAD");
    EXPECT_EQ(LerIni(arq, "seq", "scodigo"), "a=b");
}

TEST(Ini, SoAPrimeiraSecaoDeMesmoNomeConta) {
    PastaTemporaria t;
    const auto arq = t.Gravar("Seq.ini", "[SEQ]\r\nsTabela=TB_ECAD\r\n[seq]\r\nsCodigo=12\r\nsTabela=TB_AGENDA\r\n");
    EXPECT_EQ(LerIni(arq, "SEQ", "sTabela"), "TB_ECAD");
    EXPECT_EQ(LerIni(arq, "SEQ", "sCodigo"), "");
}

TEST(Ini, ValoresAte2047Caracteres) {
    PastaTemporaria t;
    const std::string longo(2047, 'x');
    const auto arq = t.Gravar("x.ini", "[S]\r\na=" + longo + "\r\nb=" + longo + "yz\r\n");
    EXPECT_EQ(LerIni(arq, "S", "a"), longo);
    EXPECT_EQ(LerIni(arq, "S", "b"), longo);  // cut to 2,047 characters
}

TEST(Ini, GravarCriaArquivoESecaoComCrLf) {
    PastaTemporaria t;
    const auto arq = t.Caminho() + "/Seq.ini";
    GravarIni(arq, "SEQ", "sTabela", "TB_MUSICAS");
    GravarIni(arq, "SEQ", "sCodigo", "1234");
    EXPECT_EQ(LerHost(arq), "[SEQ]\r\nsTabela=TB_MUSICAS\r\nsCodigo=1234\r\n");
    GravarIni(arq, "seq", "STABELA", "TB_ECAD");  // replaces the existing key in place
    EXPECT_EQ(LerHost(arq), "[SEQ]\r\nSTABELA=TB_ECAD\r\nsCodigo=1234\r\n");
}

TEST(Ini, GravarMantemOutrasLinhasESecoes) {
    PastaTemporaria t;
    const auto arq = t.Gravar("Seq.ini", "; nota\n[Antes]\nx=1\n\n[seq]\nsTabela=TB_AGENDA\n\n[Depois]\ny=2\n");
    GravarIni(arq, "SEQ", "sCodigo", "77");
    GravarIni(arq, "SEQ", "sTabela", "TB_GENERO");
    GravarIni(arq, "Nova", "k", "v");
    EXPECT_EQ(LerHost(arq),
              "; nota\r\n[Antes]\r\nx=1\r\n\r\n[seq]\r\nsTabela=TB_GENERO\r\nsCodigo=77\r\n\r\n[Depois]\r\ny=2\r\n"
              "\r\n[Nova]\r\nk=v\r\n");
    EXPECT_EQ(LerIni(arq, "Antes", "x"), "1");
    EXPECT_EQ(LerIni(arq, "Depois", "y"), "2");
}

TEST(Ini, VariasChavesNumaSoGravacao) {
    PastaTemporaria t;
    const auto arq = t.Gravar("Seq.ini", "[Antes]\nx=1\n[SEQ]\nsCodigo=5\nnota=mantida\n");
    GravarIni(arq, "seq", {{"sTabela", "TB_ECAD"}, {"sCodigo", "12"}});
    EXPECT_EQ(LerHost(arq), "[Antes]\r\nx=1\r\n[SEQ]\r\nsCodigo=12\r\nnota=mantida\r\nsTabela=TB_ECAD\r\n");
    // The same key twice: the last value stands. A new file gets the section with both keys.
    GravarIni(t.Caminho() + "/novo.ini", "S", {{"a", "1"}, {"b", "2"}, {"a", "3"}});
    EXPECT_EQ(LerHost(t.Caminho() + "/novo.ini"), "[S]\r\na=3\r\nb=2\r\n");
}

TEST(Ini, GravacaoQueFalhaLevantaErroComOCaminho) {
    PastaTemporaria t;
    const auto arquivoComum = t.Gravar("arquivo", "x");
    const std::string arq = arquivoComum + "/Seq.ini";  // its folder is a file
    try {
        GravarIni(arq, "SEQ", "sTabela", "TB_AGENDA");
        FAIL() << "no error";
    } catch (const Erro& e) {
        EXPECT_EQ(e.mensagem(), "Unable to write to " + arq);
    }
}

TEST(Ini, LerLinhasDeArquivoTexto) {
    PastaTemporaria t;
    const auto arq = t.Gravar("Base.ini", "  C:\\Dados\\BASE.GDB \r\nsegunda\r\n");
    const auto linhas = LerLinhas(arq);
    ASSERT_TRUE(linhas);
    ASSERT_EQ(linhas->size(), 2u);
    EXPECT_EQ((*linhas)[0], "  C:\\Dados\\BASE.GDB ");
    EXPECT_TRUE(LerLinhas(t.Gravar("vazio.ini", ""))->empty());
    EXPECT_FALSE(LerLinhas(t.Caminho() + "/falta.ini"));
}
