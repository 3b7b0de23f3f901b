#include "db/parametros_sql.h"

#include <cctype>

#include "db/nomes_sem_caixa.h"

namespace quorvel {

namespace {

bool CaractereDeNome(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$'; }

}  // namespace

AnaliseParametros AnalisarParametros(const std::string& texto) {
    AnaliseParametros r;
    r.textoPosicional.reserve(texto.size());
    const size_t n = texto.size();
    size_t i = 0;
    while (i < n) {
        const char c = texto[i];
        if (c == '\'' || c == '"') {
            // A quoted literal; a doubled quote inside it stands for the quote itself.
            size_t j = i + 1;
            while (j < n) {
                if (texto[j] == c) {
                    if (j + 1 < n && texto[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const size_t fim = j < n ? j + 1 : n;
            r.textoPosicional.append(texto, i, fim - i);
            i = fim;
        } else if (c == '-' && i + 1 < n && texto[i + 1] == '-') {
            size_t fim = texto.find('\n', i);
            fim = fim == std::string::npos ? n : fim;
            r.textoPosicional.append(texto, i, fim - i);
            i = fim;
        } else if (c == '/' && i + 1 < n && texto[i + 1] == '*') {
            size_t fim = texto.find("*/", i + 2);
            fim = fim == std::string::npos ? n : fim + 2;
            r.textoPosicional.append(texto, i, fim - i);
            i = fim;
        } else if (c == ':' && i + 1 < n && CaractereDeNome(static_cast<unsigned char>(texto[i + 1]))) {
            size_t j = i + 1;
            while (j < n && CaractereDeNome(static_cast<unsigned char>(texto[j]))) ++j;
            const std::string nome = texto.substr(i + 1, j - i - 1);
            int indice = -1;
            for (size_t k = 0; k < r.nomes.size(); ++k) {
                if (NomesIguais(r.nomes[k], nome)) {
                    indice = static_cast<int>(k);
                    break;
                }
            }
            if (indice < 0) {
                indice = static_cast<int>(r.nomes.size());
                r.nomes.push_back(nome);
            }
            r.marcadores.push_back(indice);
            r.textoPosicional += '?';
            i = j;
        } else {
            r.textoPosicional += c;
            ++i;
        }
    }
    return r;
}

}  // namespace quorvel
