// Targets of the texts the program takes from outside and turns into numbers: the checkpoint's
// record code and the duration texts of the 2009 jingles.
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "alvos/alvos.h"
#include "alvos/rascunho.h"
#include "app/nucleo/checkpoint.h"
#include "migration/duracao.h"
#include "platform/erros.h"

namespace quorvel::fuzz {

namespace {

// The code of a checkpoint goes into a statement text as it stands: a code taken as valid must be
// one whole decimal integer of 64 bits.
void ConferirCodigo(const std::string& codigo) {
    const char* const alvo = "checkpoint";
    const bool valido = CodigoSequenciaValido(codigo);
    if (valido) {
        long long numero = 0;
        const auto [fim, erro] = std::from_chars(codigo.data(), codigo.data() + codigo.size(), numero);
        if (erro != std::errc() || fim != codigo.data() + codigo.size())
            Falha(alvo, "a code taken as valid is no whole integer", codigo);
    }
    try {
        if (&ValidarCodigoSequencia("C:\\Quorvel\\Seq.ini", codigo) != &codigo || !valido)
            Falha(alvo, "an invalid code passed the check", codigo);
    } catch (const Erro& e) {
        if (valido) Falha(alvo, "a valid code was refused", codigo);
        if (std::strlen(e.what()) > 400) Falha(alvo, "the refusal's message grows with the code");
    }
}

// minutes ":" seconds with an optional fraction of up to three digits, in the plain form the
// 2009 database holds; -1 for any other text. The seconds round half to even.
long long SegundosDeTextoSimples(const std::string& texto) {
    const size_t dois = texto.find(':');
    if (dois == std::string::npos || dois == 0 || dois > 6) return -1;
    long long minutos = 0, inteiro = 0, fracao = 0, escala = 1;
    for (size_t i = 0; i < dois; ++i) {
        if (texto[i] < '0' || texto[i] > '9') return -1;
        minutos = minutos * 10 + (texto[i] - '0');
    }
    size_t i = dois + 1;
    const size_t inicio = i;
    for (; i < texto.size() && texto[i] >= '0' && texto[i] <= '9' && i - inicio < 6; ++i)
        inteiro = inteiro * 10 + (texto[i] - '0');
    if (i == inicio) return -1;
    if (i < texto.size() && (texto[i] == '.' || texto[i] == ',')) {
        const size_t comeco = ++i;
        for (; i < texto.size() && texto[i] >= '0' && texto[i] <= '9' && i - comeco < 3; ++i)
            fracao = fracao * 10 + (texto[i] - '0'), escala *= 10;
        if (i == comeco) return -1;
    }
    if (i != texto.size()) return -1;
    long long segundos = inteiro;
    if (fracao * 2 > escala || (fracao * 2 == escala && inteiro % 2 == 1)) ++segundos;
    return minutos * 60 + segundos;
}

}  // namespace

// The input is the code as read from the checkpoint file (the file itself is the INI target's).
int AlvoCheckpoint(const uint8_t* dados, size_t tamanho) {
    ConferirCodigo(std::string(reinterpret_cast<const char*>(dados), tamanho));
    return 0;
}

int AlvoDuracao(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "duracao";
    const std::string texto(reinterpret_cast<const char*>(dados), tamanho);
    const long long esperado = SegundosDeTextoSimples(texto);
    try {
        const int32_t segundos = TempoParaSegundos(texto);
        if (esperado >= 0 && segundos != esperado)
            Falha(alvo, "a plain time text gives another number of seconds", texto);
    } catch (const ErroConversao&) {
        if (esperado >= 0 && esperado <= INT32_MAX) Falha(alvo, "a plain time text was refused", texto);
    }

    // The text written for a whole number of seconds (below 100 minutes) reads back as that number,
    // and padding always gives the width asked for.
    if (tamanho >= 4) {
        uint32_t bruto = 0;
        std::memcpy(&bruto, dados, 4);
        const int32_t segundos = static_cast<int32_t>(bruto % 6000);
        const std::string tempo = SegundosParaTempo(segundos);
        if (tempo.size() != 5 || TempoParaSegundos(tempo) != segundos)
            Falha(alvo, "a written time does not read back", tempo);
        const int32_t largura = static_cast<int8_t>(dados[0]);
        if (PreencherEsquerda(texto, '0', largura).size() != static_cast<size_t>(largura < 0 ? 0 : largura))
            Falha(alvo, "padding does not give the width asked for");
    }
    return 0;
}

}  // namespace quorvel::fuzz
