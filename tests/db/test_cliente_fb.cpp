// The client library loaded at run time: the libraries looked for, a missing library or function
// as an error with its text, and the first connection on a machine without a client.
#include <gtest/gtest.h>

#include <cstdlib>

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

#else

TEST(ClienteFb, ClienteDoSistemaCarrega) {
    fb::BibliotecaCliente b({"libfbclient.so.2"});
    EXPECT_NE(b.Funcao("isc_attach_database"), nullptr);
    EXPECT_NE(b.Funcao("fb_interpret"), nullptr);
    EXPECT_EQ(b.Carregada(), "libfbclient.so.2");
}

#endif
