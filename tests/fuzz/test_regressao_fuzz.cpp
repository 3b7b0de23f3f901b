// Replays every regression input and every committed seed of the fuzz targets through the same
// entry points the libFuzzer programs use. An input that once broke a reader (or a promise the
// target checks) stays here, so that the fault cannot come back unnoticed.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "alvos/alvos.h"
#include "alvos/rascunho.h"
#include "apoio/audio_amostras.h"

namespace fs = std::filesystem;

namespace quorvel::fuzz {

// GoogleTest names a target by its name in failure messages.
void PrintTo(const Alvo& alvo, std::ostream* saida) { *saida << alvo.nome; }

namespace {

const std::string PastaFuzz = std::string(QUORVEL_FONTE) + "/tests/fuzz";

std::vector<fs::path> Arquivos(const fs::path& pasta) {
    std::vector<fs::path> arquivos;
    if (fs::is_directory(pasta))
        for (const auto& e : fs::directory_iterator(pasta))
            if (e.is_regular_file()) arquivos.push_back(e.path());
    return arquivos;
}

class Regressao : public ::testing::TestWithParam<Alvo> {
protected:
    void SetUp() override { LancarFalhas(true); }
    void TearDown() override { LancarFalhas(false); }
};

TEST_P(Regressao, EntradasGuardadasPassamPeloAlvo) {
    const Alvo& alvo = GetParam();
    int entradas = 0;
    for (const char* tipo : {"regressao", "sementes"}) {
        for (const fs::path& arquivo : Arquivos(fs::path(PastaFuzz) / tipo / alvo.nome)) {
            const std::string dados = teste::LerBytes(arquivo.string());
            ++entradas;
            try {
                alvo.funcao(reinterpret_cast<const uint8_t*>(dados.data()), dados.size());
            } catch (const FalhaAlvo& e) {
                ADD_FAILURE() << arquivo << ": " << e.what();
            } catch (const std::exception& e) {
                ADD_FAILURE() << arquivo << ": exception escaped the reader: " << e.what();
            }
        }
    }
    // An empty input and a single byte reach every reader's shortest path.
    const uint8_t zero = 0;
    EXPECT_NO_THROW(alvo.funcao(&zero, 0));
    EXPECT_NO_THROW(alvo.funcao(&zero, 1));
    RecordProperty("inputs", entradas);
}

INSTANTIATE_TEST_SUITE_P(Alvos, Regressao, ::testing::ValuesIn(Alvos()),
                         [](const ::testing::TestParamInfo<Alvo>& info) { return std::string(info.param.nome); });

// Every folder of regression inputs and seeds belongs to a target: a misspelt folder would
// silently replay nothing.
TEST(RegressaoFuzz, CadaPastaPertenceAUmAlvo) {
    for (const char* tipo : {"regressao", "sementes"}) {
        const fs::path raiz = fs::path(PastaFuzz) / tipo;
        if (!fs::is_directory(raiz)) continue;
        for (const auto& e : fs::directory_iterator(raiz)) {
            if (!e.is_directory()) continue;
            bool conhecido = false;
            for (const Alvo& a : Alvos()) conhecido = conhecido || e.path().filename() == a.nome;
            EXPECT_TRUE(conhecido) << e.path() << " names no fuzz target";
        }
    }
}

}  // namespace
}  // namespace quorvel::fuzz
