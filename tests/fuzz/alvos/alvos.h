#pragma once
// The fuzz targets: one entry point per reader of outside data. Each takes one arbitrary input,
// hands it to the reader the way the program meets such data (as a file, or as a text read from
// one), exercises what the program then asks of the result, and checks the promises the reader
// makes about it (Falha on a broken one). The same entry points serve the libFuzzer programs
// (tests/fuzz/CMakeLists.txt, clang with AddressSanitizer and UndefinedBehaviorSanitizer) and the
// replay of the regression inputs in the normal test suite.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel::fuzz {

using FuncaoAlvo = int (*)(const uint8_t* dados, size_t tamanho);

struct Alvo {
    const char* nome;  // also the folder of its seeds and regression inputs
    FuncaoAlvo funcao;
};

int AlvoId3v1(const uint8_t* dados, size_t tamanho);
int AlvoId3v2(const uint8_t* dados, size_t tamanho);
int AlvoMpeg(const uint8_t* dados, size_t tamanho);
int AlvoWav(const uint8_t* dados, size_t tamanho);
int AlvoInfoAudio(const uint8_t* dados, size_t tamanho);
int AlvoIni(const uint8_t* dados, size_t tamanho);
int AlvoRegistro(const uint8_t* dados, size_t tamanho);
int AlvoVersaoPe(const uint8_t* dados, size_t tamanho);
int AlvoCheckpoint(const uint8_t* dados, size_t tamanho);
int AlvoDuracao(const uint8_t* dados, size_t tamanho);

// Every target, by name.
const std::vector<Alvo>& Alvos();

}  // namespace quorvel::fuzz
