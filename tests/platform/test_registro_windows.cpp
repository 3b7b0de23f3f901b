// The Windows registry, read back from keys that scripts/windows.sh writes with `wine reg add`
// before the tests: HKLM\Software\Quorvel Teste\Firebird Server\Instances in the 64-bit view
// (DefaultInstance, a text with accented letters; Versao, a DWORD) and
// HKLM\Software\Quorvel Teste\InterBase\CurrentVersion only in the 32-bit view (RootDirectory),
// where a 32-bit installer's key lands on 64-bit Windows (WOW6432Node).
#ifdef _WIN32
#include <gtest/gtest.h>

#include "platform/erros.h"
#include "platform/registro.h"

using namespace quorvel;

namespace {
const char* const ChaveTeste = "\\Software\\Quorvel Teste";
}  // namespace

#define QUORVEL_EXIGIR_CHAVES()                                                                  \
    do {                                                                                         \
        Registro r_;                                                                             \
        if (!r_.AbrirChaveLeitura(ChaveTeste))                                                   \
            GTEST_SKIP() << "the test keys are missing: scripts/windows.sh writes them";         \
    } while (0)

TEST(RegistroWindows, LeTextoDaVisao64Bits) {
    QUORVEL_EXIGIR_CHAVES();
    Registro registro;
    ASSERT_TRUE(registro.AbrirChaveLeitura("\\Software\\Quorvel Teste\\Firebird Server\\Instances"));
    EXPECT_TRUE(registro.ChaveAberta());
    EXPECT_TRUE(registro.ValorExiste("defaultinstance"));  // names without regard to case
    EXPECT_EQ(registro.LerTexto("DefaultInstance"), "C:\\Programas\\Firebird Descri\xE7\xE3o");
    EXPECT_FALSE(registro.ValorExiste("Falta"));
    EXPECT_EQ(registro.LerTexto("Falta"), "");
    // The key path without its leading backslash and with a final one, in another case.
    ASSERT_TRUE(registro.AbrirChaveLeitura("SOFTWARE\\QUORVEL TESTE\\FIREBIRD SERVER\\INSTANCES\\"));
    EXPECT_TRUE(registro.ValorExiste("DefaultInstance"));
    registro.FecharChave();
    EXPECT_FALSE(registro.ChaveAberta());
    EXPECT_FALSE(registro.ValorExiste("DefaultInstance"));
}

TEST(RegistroWindows, ChaveDeInstaladorDe32BitsEhAchada) {
    QUORVEL_EXIGIR_CHAVES();
    Registro registro;
    ASSERT_TRUE(registro.AbrirChaveLeitura("\\Software\\Quorvel Teste\\InterBase\\CurrentVersion"));
    EXPECT_EQ(registro.LerTexto("RootDirectory"), "C:\\Borland\\InterBase");
}

TEST(RegistroWindows, ValorQueNaoEhTextoEChaveAusente) {
    QUORVEL_EXIGIR_CHAVES();
    Registro registro;
    ASSERT_TRUE(registro.AbrirChaveLeitura("\\Software\\Quorvel Teste\\Firebird Server\\Instances"));
    EXPECT_TRUE(registro.ValorExiste("Versao"));
    try {
        registro.LerTexto("Versao");
        ADD_FAILURE() << "a DWORD read as text";
    } catch (const Erro& e) {
        EXPECT_EQ(e.mensagem(), "Invalid data type for 'Versao'");
    }
    EXPECT_FALSE(registro.AbrirChaveLeitura("\\Software\\Quorvel Teste\\Nada"));
    EXPECT_FALSE(registro.ChaveAberta());
    EXPECT_FALSE(registro.ValorExiste("Versao"));
}

#endif
