#include <gtest/gtest.h>

#ifndef _WIN32
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstring>
#include <regex>

#include "music/identidade_rede.h"
#include "platform/rede.h"
#include "platform/texto.h"

using namespace quorvel;

TEST(IdentidadeRede, IPLocalEhOPrimeiroEnderecoDoNomeLocal) {
    const std::string ip = IPLocal();
    const auto enderecos = EnderecosIPv4(NomeHostLocal());
    if (enderecos.empty()) {
        EXPECT_EQ(ip, "");
        return;
    }
    EXPECT_EQ(ip, enderecos.front());
    // Dotted decimal, no leading zeros.
    EXPECT_TRUE(std::regex_match(ip, std::regex(R"(((25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)\.){3}(25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d))")))
        << ip;
}

TEST(IdentidadeRede, NomeHost) {
    const std::string nome = NomeHost("127.0.0.1");
    EXPECT_NE(nome, "");
    EXPECT_NE(nome, HostNaoEncontrado);
    for (const char* invalido : {"", "localhost", "256.1.1.1", "127.0.0", "127.0.0.1 ", "x.invalid"})
        EXPECT_EQ(NomeHost(invalido), "Host inv\xE1lido ou n\xE3o encontrado") << invalido;
}

TEST(IdentidadeRede, MaquinaServidor) {
    for (const char* aceito : {"127.0.0.1", "c", "C", "localhost", "LocalHost", "LOCALHOST"})
        EXPECT_TRUE(ServidorEhEstaMaquina(aceito)) << aceito;
    // A location without a colon gives the empty text; another drive gives its letter.
    for (const char* recusado : {"", "D", "servidor.invalid", "127.0.0.1 ", " localhost", "Host inv\xE1lido ou n\xE3o encontrado"})
        EXPECT_FALSE(ServidorEhEstaMaquina(recusado)) << recusado;

    const std::string ip = IPLocal();
    if (ip.empty()) GTEST_SKIP() << "the local host name has no IPv4 address";
    EXPECT_TRUE(ServidorEhEstaMaquina(ip));
    const std::string nome = NomeHost(ip);
    if (nome == HostNaoEncontrado) GTEST_SKIP() << "the local address has no name";
    EXPECT_TRUE(ServidorEhEstaMaquina(nome));
    EXPECT_TRUE(ServidorEhEstaMaquina(MaiusculasAscii(nome)));
    EXPECT_TRUE(ServidorEhEstaMaquina(MinusculasAscii(nome)));
}

#ifndef _WIN32

// A machine whose host name has no IPv4 address: the test runs in a child process with a host
// name of its own (a UTS namespace), which needs the privilege to make one.
TEST(IdentidadeRede, NomeLocalSemEnderecoIPv4) {
    const pid_t filho = ::fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        const char nome[] = "sem-endereco.invalid";
        if (::unshare(CLONE_NEWUTS) != 0 || ::sethostname(nome, std::strlen(nome)) != 0) ::_exit(77);
        int falhas = 0;
        if (IPLocal() != "") falhas |= 1;
        if (ServidorEhEstaMaquina("")) falhas |= 2;  // an empty host part is never this machine
        if (ServidorEhEstaMaquina(HostNaoEncontrado)) falhas |= 4;
        if (!ServidorEhEstaMaquina("localhost") || !ServidorEhEstaMaquina("C")) falhas |= 8;
        ::_exit(falhas);
    }
    int estado = 0;
    ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
    ASSERT_TRUE(WIFEXITED(estado));
    if (WEXITSTATUS(estado) == 77) GTEST_SKIP() << "no permission to set a host name of its own";
    EXPECT_EQ(WEXITSTATUS(estado), 0) << "failed checks (bits): " << WEXITSTATUS(estado);
}

#endif
