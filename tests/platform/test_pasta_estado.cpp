#include <gtest/gtest.h>

#include "platform/pasta_estado.h"

using namespace quorvel;

#ifdef _WIN32
// On Windows the XDG rule does not apply: the .exe's folder is kept (Program Files is told apart
// by PastaDeEstadoWindows from the system's own folders).
TEST(PastaEstado, NoWindowsARegraXdgNaoSeAplica) {
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

// Installed under the system's folders of programs, the Windows program keeps its files in the
// user's local application data; anywhere else beside itself.
TEST(PastaEstado, WindowsProgramFilesUsaOsDadosLocaisDoUsuario) {
    const std::vector<std::string> programas{"C:\\Program Files", "C:\\Program Files (x86)\\", ""};
    const std::string locais = "C:\\Users\\Jos\xE9\\AppData\\Local";
    const std::string estado = locais + "\\Quorvel2009-2010";
    for (const char* instalado : {"C:\\Program Files\\Quorvel 2009-2010", "c:\\PROGRAM FILES\\Quorvel 2009-2010\\",
                                  "C:\\Program Files (x86)\\Quorvel", "C:\\Program Files"})
        EXPECT_EQ(PastaDeEstadoWindows(instalado, programas, locais), estado) << instalado;
    EXPECT_EQ(PastaDeEstadoWindows("C:\\Program Files\\Q", programas, locais + "\\"), estado);
    // A name that only begins like it, another drive or folder, and no local data folder: beside.
    for (const char* outra : {"C:\\Program Files Extra\\Quorvel", "D:\\Program Files\\Quorvel", "C:\\Quorvel",
                              "C:\\Users\\ana\\Desktop"})
        EXPECT_EQ(PastaDeEstadoWindows(outra, programas, locais), outra) << outra;
    EXPECT_EQ(PastaDeEstadoWindows("C:\\Program Files\\Q", programas, ""), "C:\\Program Files\\Q");
    // A drive's root as the folder of programs holds everything on it.
    EXPECT_EQ(PastaDeEstadoWindows("E:\\Apps\\Q", {"E:\\"}, locais), estado);
}

TEST(PastaEstado, ProgramaEmOutraPastaGuardaNaPropriaPasta) {
    for (const char* outra : {"/usr/sbin", "/usr/lib/quorvel", "/opt/quorvel/bin", "/usr/binario", "/home/ana/bin",
                              "/work/build", "/", "usr/bin", "C:\\Quorvel", "C:\\Quorvel\\", "/usr/local/bin/x",
                              "/tmp/jos\xE9"}) {
        EXPECT_FALSE(PastaDeProgramasDoSistema(outra)) << outra;
        EXPECT_EQ(PastaDeEstado(outra, "/var/tmp/estado", "/home/ana"), outra) << outra;
    }
}
