#include "platform/ini.h"

#include "platform/arquivos.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

constexpr size_t kMaximoValor = 2047;

// Splits a file's content into lines at CR LF, LF or CR.
std::vector<std::string> DividirLinhas(const std::string& conteudo) {
    std::vector<std::string> linhas;
    std::string atual;
    for (size_t i = 0; i < conteudo.size(); ++i) {
        const char c = conteudo[i];
        if (c == '\r' || c == '\n') {
            linhas.push_back(std::move(atual));
            atual.clear();
            if (c == '\r' && i + 1 < conteudo.size() && conteudo[i + 1] == '\n') ++i;
        } else {
            atual += c;
        }
    }
    if (!atual.empty()) linhas.push_back(std::move(atual));
    return linhas;
}

// Blanks as the profile functions see them: spaces and tabs.
std::string SemBrancos(const std::string& s) {
    size_t i = 0, f = s.size();
    while (i < f && (s[i] == ' ' || s[i] == '\t')) ++i;
    while (f > i && (s[f - 1] == ' ' || s[f - 1] == '\t')) --f;
    return s.substr(i, f - i);
}

// The section name of a "[name]" line; false when the line is no section header.
bool NomeSecao(const std::string& linha, std::string& nome) {
    const std::string t = SemBrancos(linha);
    if (t.empty() || t[0] != '[') return false;
    const auto fecha = t.find(']');
    nome = SemBrancos(t.substr(1, fecha == std::string::npos ? std::string::npos : fecha - 1));
    return true;
}

// The key and value of a "key=value" line; false for lines without '=' and comments.
bool ChaveValor(const std::string& linha, std::string& chave, std::string& valor) {
    const std::string t = SemBrancos(linha);
    if (t.empty() || t[0] == ';') return false;
    const auto igual = t.find('=');
    if (igual == std::string::npos) return false;
    chave = SemBrancos(t.substr(0, igual));
    valor = SemBrancos(t.substr(igual + 1));
    return true;
}

// As the profile functions read a value: one pair of matching quotes (double or single) around
// the whole value is dropped ("servidor:C:\Dados\ADM.FDB" in quotes reads without them).
std::string SemAspas(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

std::string LerIni(const std::string& arquivo, const std::string& secao, const std::string& chave) {
    const auto conteudo = LerArquivo(arquivo);
    if (!conteudo) return {};
    // Only the first section of that name counts, as with the profile functions.
    bool naSecao = false;
    for (const auto& linha : DividirLinhas(*conteudo)) {
        std::string nome, k, v;
        if (NomeSecao(linha, nome)) {
            if (naSecao) break;
            naSecao = IguaisSemCaixa(nome, secao);
        } else if (naSecao && ChaveValor(linha, k, v) && IguaisSemCaixa(k, chave)) {
            v = SemAspas(v);
            return v.size() > kMaximoValor ? v.substr(0, kMaximoValor) : v;
        }
    }
    return {};
}

namespace {

// Puts `chave`=`valor` into the lines: over the key's line in the section, after the section's
// last entry, or in a new section at the end.
void PorChave(std::vector<std::string>& linhas, const std::string& secao, const std::string& chave,
              const std::string& valor) {
    const std::string novaLinha = chave + "=" + valor;

    // Find the section and, inside it, the key or the place after its last entry.
    long inicioSecao = -1, fimSecao = -1, linhaChave = -1;
    bool naSecao = false;
    for (size_t i = 0; i < linhas.size(); ++i) {
        std::string nome, k, v;
        if (NomeSecao(linhas[i], nome)) {
            if (naSecao) break;  // the section ended
            if (IguaisSemCaixa(nome, secao) && inicioSecao < 0) {
                naSecao = true;
                inicioSecao = fimSecao = static_cast<long>(i);
            }
        } else if (naSecao) {
            if (!SemBrancos(linhas[i]).empty()) fimSecao = static_cast<long>(i);
            if (linhaChave < 0 && ChaveValor(linhas[i], k, v) && IguaisSemCaixa(k, chave))
                linhaChave = static_cast<long>(i);
        }
    }
    if (linhaChave >= 0) {
        linhas[static_cast<size_t>(linhaChave)] = novaLinha;
    } else if (inicioSecao >= 0) {
        linhas.insert(linhas.begin() + fimSecao + 1, novaLinha);
    } else {
        if (!linhas.empty() && !SemBrancos(linhas.back()).empty()) linhas.emplace_back();
        linhas.push_back("[" + secao + "]");
        linhas.push_back(novaLinha);
    }
}

}  // namespace

void GravarIni(const std::string& arquivo, const std::string& secao, const std::string& chave,
               const std::string& valor) {
    GravarIni(arquivo, secao, {{chave, valor}});
}

void GravarIni(const std::string& arquivo, const std::string& secao,
               const std::vector<std::pair<std::string, std::string>>& valores) {
    std::vector<std::string> linhas;
    if (ArquivoExiste(arquivo)) {
        const auto conteudo = LerArquivo(arquivo);
        if (!conteudo) throw Erro("Unable to write to " + arquivo);
        linhas = DividirLinhas(*conteudo);
    }
    for (const auto& [chave, valor] : valores) PorChave(linhas, secao, chave, valor);

    std::string conteudo;
    for (const auto& l : linhas) conteudo += l + "\r\n";
    if (!GravarArquivoCompleto(arquivo, conteudo)) throw Erro("Unable to write to " + arquivo);
}

std::optional<std::vector<std::string>> LerLinhas(const std::string& arquivo) {
    const auto conteudo = LerArquivo(arquivo);
    if (!conteudo) return std::nullopt;
    return DividirLinhas(*conteudo);
}

}  // namespace quorvel
