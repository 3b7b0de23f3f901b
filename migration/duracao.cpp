#include "migration/duracao.h"

#include <cmath>
#include <limits>

#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

std::string PreencherEsquerda(const std::string& texto, char preenchimento, int32_t largura) {
    if (largura <= 0) return {};
    std::string resto = ApararInicio(texto);
    const auto n = static_cast<size_t>(largura);
    if (n < resto.size()) return resto.substr(0, n);
    return std::string(n - resto.size(), preenchimento) + resto;
}

std::string SegundosParaTempo(int32_t segundos) {
    return PreencherEsquerda(std::to_string(segundos / 60), '0', 2) + ":" +
           PreencherEsquerda(std::to_string(segundos % 60), '0', 2);
}

int32_t TempoParaSegundos(const std::string& tempo) {
    std::string texto = tempo;
    for (char& c : texto)
        if (c == '.') c = ',';
    const auto doisPontos = texto.find(':');
    const std::string parteMinutos = doisPontos == std::string::npos ? std::string() : texto.substr(0, doisPontos);
    const std::string parteSegundos = doisPontos == std::string::npos ? texto : texto.substr(doisPontos + 1);
    const int32_t minutos = TextoParaInteiro(parteMinutos);
    double segundos = 0;
    if (!TentarTextoParaDecimal(parteSegundos, segundos))
        throw ErroConversao("'" + parteSegundos + "' is not a valid floating point value");
    // nearbyint rounds under the default mode: to nearest, an exact half to the even neighbour.
    const double total = static_cast<double>(minutos) * 60.0 + std::nearbyint(segundos);
    if (!(total >= std::numeric_limits<int32_t>::min() && total <= std::numeric_limits<int32_t>::max()))
        throw ErroConversao("'" + tempo + "' is not a valid time");
    return static_cast<int32_t>(total);
}

}  // namespace quorvel
