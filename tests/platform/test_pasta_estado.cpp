#include <gtest/gtest.h>

#include "platform/pasta_estado.h"

using namespace quorvel;

#ifdef _WIN32
// On Windows the checkpoint always stays beside the .exe, wherever it is installed.
TEST(PastaEstado, NoWindowsFicaSempreAoLadoDoPrograma) {
    for (const char* pasta : {"C:\\Quorvel", "C:\\Program Files\\Quorvel", "/usr/bin"})
        EXPECT_EQ(PastaDeEstado(pasta, "C:\\estado", "C:\\Users\\ana"), pasta) << pasta;
}
#else
TEST(PastaEstado, ProgramaNumaPastaDoSistemaUsaAPastaDeEstadoDoUsuario) {
    for (const char* sistema : {"/usr/bin", "/usr/bin/", "/usr//bin", "/usr/local/bin", "/usr/local/bin/", "/bin",
                                "/bin/", "/usr/./bin"}) {
        EXPECT_TRUE(PastaDeProgramasDoSistema(sistema)) << sistema;
        EXPECT_EQ(PastaDeEstado(sistema, "/var/tmp/estado", "/home/ana"), "/var/tmp/estado/quorvel2009-2010") << sistema;
        EXPECT_EQ(PastaDeEstado(sistema, nullptr, "/home/ana"), "/home/ana/.local/state/quorvel2009-2010") << sistema;
    }
    // An empty or relative XDG_STATE_HOME is ignored; final slashes are not doubled.
    EXPECT_EQ(PastaDeEstado("/usr/bin", "", "/home/ana/"), "/home/ana/.local/state/quorvel2009-2010");
    EXPECT_EQ(PastaDeEstado("/usr/bin", "estado", "/home/ana"), "/home/ana/.local/state/quorvel2009-2010");
    EXPECT_EQ(PastaDeEstado("/usr/bin", "/var/tmp/estado/", "/home/ana"), "/var/tmp/estado/quorvel2009-2010");
    // Without HOME the user database names the home folder.
    EXPECT_NE(PastaDeEstado("/usr/bin", nullptr, nullptr).find("/.local/state/quorvel2009-2010"), std::string::npos);
    // An accented home folder comes back as Windows-1252 text, like every path inside the program.
    EXPECT_EQ(PastaDeEstado("/usr/bin", nullptr, "/home/jos\xC3\xA9"), "/home/jos\xE9/.local/state/quorvel2009-2010");
}
#endif

TEST(PastaEstado, ProgramaEmOutraPastaGuardaNaPropriaPasta) {
    for (const char* outra : {"/usr/sbin", "/usr/lib/quorvel", "/opt/quorvel/bin", "/usr/binario", "/home/ana/bin",
                              "/work/build", "/", "usr/bin", "C:\\Quorvel", "C:\\Quorvel\\", "/usr/local/bin/x",
                              "/tmp/jos\xE9"}) {
        EXPECT_FALSE(PastaDeProgramasDoSistema(outra)) << outra;
        EXPECT_EQ(PastaDeEstado(outra, "/var/tmp/estado", "/home/ana"), outra) << outra;
    }
}
