// The client library loaded at run time: the libraries looked for, a missing library or function
// as an error with its text, and the first connection on a machine without a client.
#include <gtest/gtest.h>

#include <cstdlib>

#include "apoio/cliente_antigo.h"
#include "apoio/pasta_temporaria.h"
#include "db/cliente_fb.h"
#include "db/erro_banco.h"
#include "db/ib_conexao.h"
#include "platform/erros.h"

using namespace quorvel;

namespace {

void Definir(const char* nome, const char* valor) {
#ifdef _WIN32
    _putenv_s(nome, valor ? valor : "");
#else
    if (valor) ::setenv(nome, valor, 1);
    else ::unsetenv(nome);
#endif
}

std::string MensagemDe(fb::BibliotecaCliente& b, const char* funcao) {
    try {
        b.Funcao(funcao);
    } catch (const Erro& e) {
        return e.mensagem();
    }
    return "(no error)";
}

#ifdef _WIN32
const char* const Ausente = "C:\\nao-existe\\fbclient.dll";
const char* const SemFuncoes = "kernel32.dll";
#else
const char* const Ausente = "/nao-existe/libfbclient.so.2";
const char* const SemFuncoes = "libc.so.6";
#endif

}  // namespace

TEST(ClienteFb, BibliotecaAusenteEhErroComOsNomesTentados) {
    fb::BibliotecaCliente b({Ausente, "outra-que-falta"});
    const std::string m = MensagemDe(b, "isc_attach_database");
    EXPECT_EQ(m.rfind(std::string("A biblioteca cliente do Firebird n\xE3o foi encontrada (") + Ausente +
                          ", outra-que-falta): ",
                      0),
              0u)
        << m;
    EXPECT_GT(m.size(), 80u) << "the system's reasons follow";
    EXPECT_EQ(b.Carregada(), "");
    // Every later call tries again and fails the same way.
    EXPECT_EQ(MensagemDe(b, "isc_detach_database"), m);
}

TEST(ClienteFb, BibliotecaSemAFuncao) {
    fb::BibliotecaCliente b({Ausente, SemFuncoes});
    EXPECT_EQ(MensagemDe(b, "isc_attach_database"),
              std::string("A biblioteca cliente do Firebird ") + SemFuncoes + " n\xE3o tem a fun\xE7\xE3o isc_attach_database.");
    EXPECT_EQ(b.Carregada(), SemFuncoes);
}

TEST(ClienteFb, BibliotecasProcuradas) {
    const char* v = std::getenv("QUORVEL_FBCLIENT");
    const std::string anterior = v ? v : "";
    Definir("QUORVEL_FBCLIENT", nullptr);
    const auto padrao = fb::CandidatosCliente();
    Definir("QUORVEL_FBCLIENT", "/opt/firebird/lib/libfbclient.so");
    const auto escolhida = fb::CandidatosCliente();
    Definir("QUORVEL_FBCLIENT", v ? anterior.c_str() : nullptr);

#ifdef _WIN32
    ASSERT_GE(padrao.size(), 2u);
    EXPECT_EQ(padrao.front(), "fbclient.dll");
    EXPECT_EQ(padrao.back(), "gds32.dll");
#else
    EXPECT_EQ(padrao, std::vector<std::string>{"libfbclient.so.2"});
#endif
    EXPECT_EQ(escolhida, std::vector<std::string>{"/opt/firebird/lib/libfbclient.so"});
}

// The reason of a failed connection comes back with the later uses of the connection.
TEST(ClienteFb, FalhaDaConexaoVoltaNosUsosSeguintes) {
    TIBDatabase banco;
#ifdef _WIN32
    banco.SetDatabaseName("C:\\nao-existe\\ADM.FDB");
#else
    banco.SetDatabaseName("/nao-existe/ADM.FDB");
#endif
    banco.Params = {"user_name=SYSDBA", "password=quindorex"};
    TIBTransaction transacao;
    transacao.SetDefaultDatabase(&banco);
    std::string falha;
    try {
        banco.Open();
    } catch (const Erro& e) {
        falha = e.mensagem();
    }
    ASSERT_FALSE(falha.empty());
    try {
        transacao.StartTransaction();
        ADD_FAILURE() << "started";
    } catch (const Erro& e) {
        EXPECT_EQ(e.mensagem(), "Database not open (" + falha + ")");
    }
}

#ifdef _WIN32

// No Firebird client exists here: the first connection fails with the loader's error.
TEST(ClienteFb, SemClienteAPrimeiraConexaoFalhaComErroClaro) {
    TIBDatabase banco;
    banco.SetDatabaseName("C:\\Dados\\ADM.FDB");
    banco.Params = {"user_name=SYSDBA", "password=quindorex"};
    try {
        banco.Open();
        ADD_FAILURE() << "connected";
    } catch (const ErroBanco&) {
        GTEST_SKIP() << "a Firebird client is installed here: " << fb::Cliente().Carregada();
    } catch (const Erro& e) {
        const std::string m = e.mensagem();
        EXPECT_EQ(m.rfind("A biblioteca cliente do Firebird n\xE3o foi encontrada (fbclient.dll", 0), 0u) << m;
        EXPECT_NE(m.find("gds32.dll"), std::string::npos) << m;
    }
    EXPECT_FALSE(banco.Connected());
}

// An InterBase-era client (gds32.dll) has isc_interprete only: the error texts come from it,
// cut to the size asked for.
TEST(ClienteFb, ClienteSemFbInterpretUsaIscInterprete) {
    fb::BibliotecaCliente antigo({"cliente_sem_fb_interpret.dll"});
    EXPECT_EQ(antigo.FuncaoOpcional("fb_interpret"), nullptr);
    const ISC_STATUS status[] = {isc_arg_gds, isc_io_error, isc_arg_string, reinterpret_cast<ISC_STATUS>("open"),
                                 isc_arg_gds, isc_io_open_err, isc_arg_win32, 2, isc_arg_end};
    const ISC_STATUS* p = status;
    char linha[64];
    ASSERT_GT(fb::InterpretarStatus(antigo, linha, sizeof linha, &p), 0);
    EXPECT_EQ(std::string(linha), "erro " + std::to_string(isc_io_error) + " do cliente antigo");
    char curto[8];
    EXPECT_EQ(fb::InterpretarStatus(antigo, curto, sizeof curto, &p), 7);
    EXPECT_EQ(std::string(curto), "erro 33");
    EXPECT_EQ(fb::InterpretarStatus(antigo, linha, sizeof linha, &p), 0);
}

#else

TEST(ClienteFb, ClienteDoSistemaCarrega) {
    fb::BibliotecaCliente b({"libfbclient.so.2"});
    EXPECT_NE(b.Funcao("isc_attach_database"), nullptr);
    EXPECT_NE(b.Funcao("fb_interpret"), nullptr);
    EXPECT_EQ(b.Carregada(), "libfbclient.so.2");
}

// Every message of a status vector, one per line, as the database layer joins them.
std::string Mensagens(fb::BibliotecaCliente& b, const ISC_STATUS* status, unsigned tamanho = 1024) {
    std::string texto;
    const ISC_STATUS* p = status;
    char linha[1024];
    while (fb::InterpretarStatus(b, linha, tamanho, &p) > 0) texto += std::string(linha) + "\n";
    return texto;
}

// A client without fb_interpret (InterBase's gds32, Firebird 1.0) gives the same texts through
// isc_interprete, cut to the size asked for.
TEST(ClienteFb, ClienteSemFbInterpretUsaIscInterprete) {
    teste::PastaTemporaria pasta;
    const std::string antigo = teste::ClienteSemFbInterpret(pasta.Caminho());
    ASSERT_FALSE(antigo.empty()) << "no client library to copy";
    fb::BibliotecaCliente semFbInterpret({antigo}), atual({"libfbclient.so.2"});
    EXPECT_EQ(semFbInterpret.FuncaoOpcional("fb_interpret"), nullptr);
    EXPECT_NE(semFbInterpret.FuncaoOpcional("isc_interprete"), nullptr);

    const ISC_STATUS abrir[] = {isc_arg_gds, isc_io_error, isc_arg_string, reinterpret_cast<ISC_STATUS>("open"),
                                isc_arg_string, reinterpret_cast<ISC_STATUS>("/nao-existe/ADM.FDB"),
                                isc_arg_gds, isc_io_open_err, isc_arg_unix, 2, isc_arg_end};
    const std::string esperado = Mensagens(atual, abrir);
    EXPECT_NE(esperado.find("/nao-existe/ADM.FDB"), std::string::npos) << esperado;
    EXPECT_EQ(Mensagens(semFbInterpret, abrir), esperado);
    // A message longer than the buffer asked for is cut, ended by its zero.
    const ISC_STATUS* p = abrir;
    char curto[8];
    EXPECT_EQ(fb::InterpretarStatus(semFbInterpret, curto, sizeof curto, &p), 7);
    EXPECT_EQ(std::string(curto), esperado.substr(0, 7));
}

#endif
