#include "platform/nome_temporario.h"

#include <chrono>
#include <random>

#include "platform/texto.h"

namespace quorvel {

namespace {

constexpr std::string_view kMarca = ".~qv";

bool LetraOuDigitoAscii(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// One generator per thread, seeded from the system's entropy and the clock (a process started
// in the same instant as another still draws other names).
std::mt19937_64& Gerador() {
    thread_local std::mt19937_64 gerador = [] {
        std::random_device dispositivo;
        const auto agora = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        const int local = 0;
        std::seed_seq semente{static_cast<uint64_t>(dispositivo()), static_cast<uint64_t>(dispositivo()), agora,
                              static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&local))};
        return std::mt19937_64(semente);
    }();
    return gerador;
}

}  // namespace

std::string SufixoTemporario() {
    static constexpr char kAlfabeto[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<int> sorteio(0, 35);
    std::string sufixo(kMarca);
    for (int i = 0; i < 8; ++i) sufixo += kAlfabeto[sorteio(Gerador())];
    return sufixo;
}

bool NomeDeTemporario(std::string_view nome, std::string_view deArquivo) {
    const size_t marca = nome.rfind(kMarca);
    if (marca == std::string_view::npos || marca == 0) return false;
    const std::string_view aleatorio = nome.substr(marca + kMarca.size());
    if (aleatorio.size() != 6 && aleatorio.size() != 8) return false;
    for (char c : aleatorio)
        if (!LetraOuDigitoAscii(c)) return false;
    return deArquivo.empty() || IguaisSemCaixa(nome.substr(0, marca), deArquivo);
}

}  // namespace quorvel
