// The libFuzzer entry of one target; QUORVEL_ALVO is its name in the list of alvos/alvos.h.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "alvos/alvos.h"

namespace {

quorvel::fuzz::FuncaoAlvo Funcao() {
    for (const auto& alvo : quorvel::fuzz::Alvos())
        if (std::strcmp(alvo.nome, QUORVEL_ALVO) == 0) return alvo.funcao;
    std::fprintf(stderr, "no fuzz target named %s\n", QUORVEL_ALVO);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    static const quorvel::fuzz::FuncaoAlvo funcao = Funcao();
    return funcao(dados, tamanho);
}
