// The program on a machine without the Firebird client library ($QUORVEL_FBCLIENT naming one
// that does not exist): it starts, --info-audio works, and a run reports the missing library
// when it first connects.
#include <gtest/gtest.h>

#include <cstdlib>

#include "apoio/audio_amostras.h"
#include "apoio/instalacao_teste.h"
#include "test_terminal_processo.h"

using namespace quorvel::teste;

namespace {

bool Contem(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

// Sets a variable for the child processes of one test.
class Variavel {
public:
    Variavel(const char* nome, const std::string& valor) : nome_(nome) {
        if (const char* v = std::getenv(nome)) anterior_ = v, tinha_ = true;
        ::setenv(nome, valor.c_str(), 1);
    }
    ~Variavel() {
        if (tinha_) ::setenv(nome_, anterior_.c_str(), 1);
        else ::unsetenv(nome_);
    }

private:
    const char* nome_;
    std::string anterior_;
    bool tinha_ = false;
};

}  // namespace

TEST(ClienteAusente, ProgramaIniciaEAPrimeiraConexaoRelataABiblioteca) {
    // The program is not linked against the client library.
    EXPECT_FALSE(Contem(Executar("ldd " + Aspas(QUORVEL_PROGRAMA)), "libfbclient"));

    InstalacaoTeste inst;
    const std::string programa = CopiarPrograma(inst.PastaPrograma());
    const Variavel cliente("QUORVEL_FBCLIENT", "/nao-existe/libfbclient.so.2");

    const auto info = RodarPrograma(programa, {"--info-audio", "/nao-existe/a.mp3"}, inst.unidades.Pasta());
    EXPECT_EQ(info.status, 1);  // the file is missing, the program ran
    EXPECT_TRUE(Contem(info.saida, "{\"arquivo\":\"/nao-existe/a.mp3\",")) << info.saida;

    const auto r = RodarPrograma(programa,
                                 {"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010", inst.Pasta2010(),
                                  "--tabelas", "Genero"},
                                 inst.unidades.Pasta());
    EXPECT_EQ(r.status, 2) << r.erros;
    EXPECT_TRUE(Contem(r.erros, "N\xC3\xA3o foi poss\xC3\xADvel conectar com a BaseAdm 2010.")) << r.erros;
    // The connections fail and the record count then tells why.
    EXPECT_TRUE(Contem(r.erros, "[erro]: Database not open (A biblioteca cliente do Firebird n\xC3\xA3o foi "
                                "encontrada (/nao-existe/libfbclient.so.2): "))
        << r.erros;
}
