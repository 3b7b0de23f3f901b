#include <gtest/gtest.h>

#include "platform/erros.h"
#include "platform/texto.h"

using namespace quorvel;

TEST(Texto, MaiusculasAsciiMudaSoAZ) {
    EXPECT_EQ(MaiusculasAscii("tb_ecad"), "TB_ECAD");
    // à é ç ÿ š stay as they are
    EXPECT_EQ(MaiusculasAscii("m\xFAsica \xE7\xE0\xFF\x9A"), "M\xFASICA \xE7\xE0\xFF\x9A");
}

TEST(Texto, MaiusculasLocalIncluiAcentos) {
    struct Caso { const char* de; const char* para; } casos[] = {
        {"abc xyz", "ABC XYZ"},
        {"\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7", "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7"},  // à..ç
        {"\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF", "\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"},
        {"\xF0\xF1\xF2\xF3\xF4\xF5\xF6", "\xD0\xD1\xD2\xD3\xD4\xD5\xD6"},
        {"\xF8\xF9\xFA\xFB\xFC\xFD\xFE", "\xD8\xD9\xDA\xDB\xDC\xDD\xDE"},
        {"\xF7", "\xF7"},                      // ÷ is no letter
        {"\xDF", "\xDF"},                      // ß has no single upper case
        {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"},  // š œ ž ÿ
        {"\xB5\xAA\xBA", "\xB5\xAA\xBA"},       // µ ª º unchanged
    };
    for (const auto& c : casos) EXPECT_EQ(MaiusculasLocal(c.de), c.para) << c.de;
}

TEST(Texto, AparaCodigosAte0x20) {
    EXPECT_EQ(Aparar(" \t\r\n abc \x01\x1F "), "abc");
    EXPECT_EQ(Aparar("   "), "");
    EXPECT_EQ(ApararInicio("  a b  "), "a b  ");
    EXPECT_EQ(ApararFim("  a b \t"), "  a b");
    EXPECT_EQ(Aparar("\xA0x\xA0"), "\xA0x\xA0");  // no-break space is above 0x20
}

TEST(Texto, ConversaoUtf8IdaEVolta) {
    std::string todos;
    for (int c = 1; c < 256; ++c) todos += static_cast<char>(c);
    EXPECT_EQ(Utf8Para1252(Utf8De1252(todos)), todos);
    EXPECT_EQ(Utf8De1252("M\xFAsica \x80"), "M\xC3\xBAsica \xE2\x82\xAC");
    EXPECT_EQ(Utf8Para1252("a\xE2\x80\x9C" "b"), "a\x93" "b");       // “
    EXPECT_EQ(Utf8Para1252("\xE4\xB8\xAD"), "?");                   // a CJK character
    EXPECT_EQ(Utf8Para1252("caf\xE9"), "caf\xE9");                  // stray Windows-1252 byte kept
}

TEST(Texto, FormatarDecimalComoFormatosPonto0EPonto000) {
    struct Caso { double v; int casas; const char* texto; } casos[] = {
        {245.34, 1, "245,3"},  {245.35, 1, "245,3"},  // 245.35 is below the half in binary
        {0.25, 1, ",2"},        {0.75, 1, ",8"},       // exact halves go to the even neighbour
        {0.04, 1, ",0"},        {0.0, 1, ",0"},        {12.3456, 3, "12,346"},
        {0.5, 3, ",500"},       {180.0, 3, "180,000"}, {3.9999, 1, "4,0"},
        {1234567.0, 1, "1234567,0"},
    };
    for (const auto& c : casos) EXPECT_EQ(FormatarDecimal(c.v, c.casas), c.texto) << c.v;
}

TEST(Texto, TextoParaInteiroComoStrToInt) {
    int32_t v = 0;
    EXPECT_TRUE(TentarTextoParaInteiro("42", v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(TentarTextoParaInteiro("  -7", v));
    EXPECT_EQ(v, -7);
    EXPECT_TRUE(TentarTextoParaInteiro("$1F", v));
    EXPECT_EQ(v, 31);
    EXPECT_TRUE(TentarTextoParaInteiro("2147483647", v));
    EXPECT_TRUE(TentarTextoParaInteiro("-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    for (const char* ruim : {"", " ", "2147483648", "12a", "7 ", "+", "1.5", "abc"})
        EXPECT_FALSE(TentarTextoParaInteiro(ruim, v)) << ruim;
    EXPECT_THROW(TextoParaInteiro("x1"), ErroConversao);
    try {
        TextoParaInteiro("x1");
    } catch (const Erro& e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

TEST(Texto, TextoParaDecimalComVirgula) {
    double v = 0;
    EXPECT_TRUE(TentarTextoParaDecimal("07,5", v));
    EXPECT_DOUBLE_EQ(v, 7.5);
    EXPECT_TRUE(TentarTextoParaDecimal(" -3 ", v));
    EXPECT_DOUBLE_EQ(v, -3);
    EXPECT_TRUE(TentarTextoParaDecimal("1,5E2", v));
    EXPECT_DOUBLE_EQ(v, 150);
    for (const char* ruim : {"", ",", "1,2,3", "1.5", "02:03", "1e", "inf", "nan", "0x10"})
        EXPECT_FALSE(TentarTextoParaDecimal(ruim, v)) << ruim;
}

TEST(Erros, RelatorioPadraoAnexaPontoFinal) {
    EXPECT_EQ(TextoRelatorioErro("Falhou"), "Falhou.");
    EXPECT_EQ(TextoRelatorioErro("Falhou."), "Falhou.");
    EXPECT_EQ(TextoRelatorioErro("Falhou!"), "Falhou!");   // '!' is below '.'
    EXPECT_EQ(TextoRelatorioErro("Arquivo 3"), "Arquivo 3.");
    EXPECT_EQ(TextoRelatorioErro("a/"), "a/.");          // '/' is just above '.'
    EXPECT_EQ(TextoRelatorioErro("valor -"), "valor -");  // '-' is just below
    EXPECT_EQ(TextoRelatorioErro(""), "");
    EXPECT_EQ(TextoRelatorioErro("n\xE3o"), "n\xE3o.");
}
