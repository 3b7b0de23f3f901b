#include <gtest/gtest.h>

#include "migration/duracao.h"
#include "platform/erros.h"

using namespace quorvel;

TEST(Duracao, PreencherEsquerda) {
    struct Caso { const char* texto; char c; int largura; const char* r; } casos[] = {
        {"7", '0', 2, "07"},  {"  7", '0', 2, "07"}, {"123", '0', 2, "12"}, {"", '0', 2, "00"},
        {"7", '0', 0, ""},    {"7", '0', -3, ""},    {"\t\x01" "5 ", '0', 4, "005 "}, {"ab", '*', 2, "ab"},
    };
    for (const auto& c : casos) EXPECT_EQ(PreencherEsquerda(c.texto, c.c, c.largura), c.r) << c.texto;
}

TEST(Duracao, SegundosParaTempo) {
    struct Caso { int s; const char* t; } casos[] = {
        {0, "00:00"}, {59, "00:59"}, {60, "01:00"}, {245, "04:05"}, {5999, "99:59"}, {6000, "10:00"},
        {36000, "60:00"},
    };
    for (const auto& c : casos) EXPECT_EQ(SegundosParaTempo(c.s), c.t) << c.s;
}

TEST(Duracao, TempoParaSegundos) {
    struct Caso { const char* t; int s; } casos[] = {
        {"04:05", 245}, {"4:5", 245}, {"3:07.5", 188}, {"3:07,5", 188}, {"3:06.5", 186}, {"0:00", 0},
        {"0:6.5", 6},   {"0:7.5", 8}, {" 2:01", 121},  {"10:00", 600},  {"-1:30", -30},
    };
    for (const auto& c : casos) EXPECT_EQ(TempoParaSegundos(c.t), c.s) << c.t;
}

TEST(Duracao, TempoMalFormadoLevantaErroDeConversao) {
    for (const char* t : {"245", "abc:10", "3:", ":10", "1:02:03", "", "3:xx", "3:1,2,3"})
        EXPECT_THROW(TempoParaSegundos(t), ErroConversao) << t;
}
