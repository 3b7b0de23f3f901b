// The program against a station's servers, through the real program in a child process: a
// location with a port and in quotes, the server machine known by its own names and addresses, a
// client library without fb_interpret.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "apoio/audio_amostras.h"
#include "apoio/bases_teste.h"
#include "apoio/cliente_antigo.h"
#include "apoio/instalacao_teste.h"
#include "servidor_proprio.h"
#include "test_terminal_processo.h"

namespace fs = std::filesystem;

namespace quorvel::teste {
namespace {

const char* const kSucesso = "Quorvel 2009-2010 [informação]: Atualização realizada com sucesso.";
const char* const kRecusa = "O Quorvel 2009-2010 deve ser executado da maquina Servidor.";

bool Contem(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

class ServidoresDaEstacao : public ::testing::Test {
protected:
    std::vector<std::string> Args(const std::vector<std::string>& extra) const {
        std::vector<std::string> a{"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010", inst.Pasta2010()};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    ResultadoPrograma Rodar(const std::vector<std::string>& extra) const {
        return RodarPrograma(programa, Args(extra), inst.unidades.Pasta());
    }
    // BaseAdm.ini or BaseAudio.ini of the 2010 folder with this "caminho" line, as written.
    void Ini2010(const std::string& arquivo, const std::string& linhaCaminho) const {
        std::ofstream(inst.unidades.Unidade('d') + "/Quorvel2010/" + arquivo, std::ios::binary)
            << "[BANCO]\r\n" << linhaCaminho << "\r\n";
    }

    InstalacaoTeste inst;
    std::string programa = CopiarPrograma(inst.PastaPrograma());
};

// "servidor/3051:C:\…" in double quotes, and in single quotes, as a station's technician writes
// them: the run goes through the server on that port, and the port never enters the music
// folder recorded for the station's computers.
TEST_F(ServidoresDaEstacao, LocalizacaoComPortaEntreAspas) {
    QUORVEL_EXIGIR("lame");
    PastaTemporaria pasta;
    ServidorProprio servidor(pasta.Caminho(), 3062);
    if (!servidor.Pronto()) GTEST_SKIP() << "no Firebird server program or configuration (scripts/servidor-teste.sh)";
    inst.bases.Executar2009(
        "INSERT INTO TB_GENERO VALUES (3, 'Forr\xF3');\n"
        "INSERT INTO TB_MUSICAS VALUES (1, 'Luz', 'Ana', NULL, 3, 'C:', 'M0001', 'mp3', NULL);\n");
    fs::create_directories(inst.unidades.Unidade('c') + "/Musicas");
    GerarMp3(inst.unidades.Unidade('c') + "/Musicas/M0001.mp3", 1, "-b 64", 22050, 1);
    Ini2010("BaseAdm.ini", "caminho = \"" + servidor.Local("C:\\Dados\\ADM.FDB") + "\"");
    Ini2010("BaseAudio.ini", "caminho='" + servidor.Local("C:\\Dados\\AUDIO.FDB") + "'");
    ASSERT_TRUE(servidor.Iniciar());

    const auto r = Rodar({"--tabelas", "Genero,Musicas"});
    EXPECT_EQ(r.status, 0) << r.erros;
    EXPECT_TRUE(Contem(r.erros, kSucesso)) << r.erros;
    EXPECT_FALSE(Contem(r.erros, kRecusa)) << r.erros;
    const std::string audio = servidor.Local(inst.bases.ArquivoAudio());
    EXPECT_EQ(Consultar(audio, "SELECT GEN_CODIGO, GEN_NOME FROM TB_GENERO"), (Linhas{{"3", "Forr\xF3"}}));
    EXPECT_EQ(Consultar(audio, "SELECT PAS_PATH FROM TB_PASTAS"), (Linhas{{"\\\\LOCALHOST\\D\\QUORVEL2010\\MUSICAS\\"}}));
    EXPECT_EQ(Consultar(audio, "SELECT MUS_INTERPRETE, MUS_NOME FROM TB_MUSICAS"), (Linhas{{"Ana", "Luz"}}));
    EXPECT_TRUE(fs::exists(inst.unidades.Unidade('d') + "/Quorvel2010/Musicas/Ana - Luz.mp3"));
    servidor.Parar();
}

// The server machine with a second address and a reverse lookup that answers with its full name,
// in a network namespace of the test's own: the program is accepted when the administration
// database names this machine by its host name in any case or by any of its addresses, and still
// refused for any other machine.
TEST_F(ServidoresDaEstacao, MaquinaServidorPorNomeEEnderecos) {
    if (std::system("/usr/bin/unshare --net --mount --uts --propagation private /bin/true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no network, mount and host-name namespaces may be made here";
    inst.bases.Executar2009("INSERT INTO TB_GENERO VALUES (3, 'Forr\xF3');\n");
    PastaTemporaria pasta;
    const std::string hosts = pasta.Gravar(
        "hosts", "127.0.0.1 localhost\n192.0.2.10 servidor.radio.local servidor\n198.51.100.20 servidor-vpn\n");
    // Only the administration database on "the server": the run copies the genres of the audio
    // database, which it reaches on its own path; no server answers there, so that connection fails
    // with its message once the check has let the run go on.
    Ini2010("BaseAudio.ini", "caminho=C:\\Dados\\AUDIO.FDB");
    auto rodarComo = [&](const std::string& servidor) {
        Ini2010("BaseAdm.ini", "caminho=" + servidor + ":C:\\Dados\\ADM.FDB");
        std::vector<std::string> args{
            "--net", "--mount", "--uts", "--propagation", "private", "/bin/sh", "-c",
            "ip link set lo up && ip addr add 192.0.2.10/32 dev lo && ip addr add 198.51.100.20/32 dev lo && "
            "echo servidor >/proc/sys/kernel/hostname && mount --bind \"$1\" /etc/hosts || exit 99; "
            "shift; exec \"$@\"",
            "sh", hosts, programa};
        for (const auto& a : Args({"--tabelas", "Genero"})) args.push_back(a);
        return RodarPrograma("/usr/bin/unshare", args, inst.unidades.Pasta());
    };

    for (const char* aceito : {"SERVIDOR", "servidor", "Servidor.Radio.Local", "192.0.2.10", "198.51.100.20"}) {
        const auto r = rodarComo(aceito);
        ASSERT_NE(r.status, 99) << r.erros;
        EXPECT_EQ(r.status, 0) << aceito << "\n" << r.erros;
        EXPECT_FALSE(Contem(r.erros, kRecusa)) << aceito << "\n" << r.erros;
        EXPECT_TRUE(Contem(r.erros, "Não foi possível conectar com a BaseAdm 2010.")) << aceito << "\n" << r.erros;
        EXPECT_TRUE(Contem(r.erros, kSucesso)) << aceito << "\n" << r.erros;
    }
    for (const char* recusado : {"outra-maquina", "servidor-vpn.invalid", "192.0.2.11", "servidor.outra.local"}) {
        const auto r = rodarComo(recusado);
        ASSERT_NE(r.status, 99) << r.erros;
        EXPECT_EQ(r.status, 2) << recusado << "\n" << r.erros;
        EXPECT_TRUE(Contem(r.erros, kRecusa)) << recusado << "\n" << r.erros;
    }
}

// With a client library that has no fb_interpret, the database's own error texts still reach
// the operator, exactly as with today's client.
TEST_F(ServidoresDaEstacao, ClienteSemFbInterpretDizOErroDoBanco) {
    PastaTemporaria pasta;
    const std::string antigo = ClienteSemFbInterpret(pasta.Caminho());
    ASSERT_FALSE(antigo.empty()) << "no client library to copy";
    // The 2009 database does not exist: its connection fails, and so does the record count.
    std::ofstream(inst.unidades.Unidade('d') + "/Quorvel2009/Base.ini", std::ios::binary)
        << "C:\\Dados\\NAO-EXISTE.FDB\r\n";
    const auto atual = Rodar({"--tabelas", "Genero"});
    ::setenv("QUORVEL_FBCLIENT", antigo.c_str(), 1);
    const auto velho = Rodar({"--tabelas", "Genero"});
    ::unsetenv("QUORVEL_FBCLIENT");
    EXPECT_EQ(velho.status, 2) << velho.erros;
    EXPECT_FALSE(Contem(velho.erros, "fb_interpret")) << velho.erros;
    EXPECT_TRUE(Contem(velho.erros, "NAO-EXISTE.FDB")) << velho.erros;
    EXPECT_EQ(velho.erros, atual.erros);
}

}  // namespace
}  // namespace quorvel::teste
