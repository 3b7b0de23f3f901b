#include "platform/registro.h"

#include <cstdlib>

#include "platform/erros.h"
#include "platform/texto.h"
#include "platform/utf16.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <vector>
#endif

namespace quorvel {

namespace {

std::string ErroTipoInvalido(const std::string& nome) {
    return "Invalid data type for '" + nome + "'";
}

// "\Software\X\" -> "Software\X": the key path relative to the root, without outer backslashes.
std::string CaminhoRelativo(const std::string& chave) {
    size_t inicio = 0, fim = chave.size();
    while (inicio < fim && chave[inicio] == '\\') ++inicio;
    while (fim > inicio && chave[fim - 1] == '\\') --fim;
    return chave.substr(inicio, fim - inicio);
}

}  // namespace

std::string ArquivoRegistro() {
    const char* arquivo = std::getenv("QUORVEL_REGISTRO");
    if (arquivo != nullptr && *arquivo != '\0') return arquivo;
    return "/etc/quorvel/registro.reg";
}

#ifdef _WIN32

// ---------------------------------------------------------------------------------------------
// Windows: the system registry. On 64-bit Windows a 32-bit program's writes to
// HKEY_LOCAL_MACHINE\Software go to HKEY_LOCAL_MACHINE\Software\WOW6432Node (registry
// redirection), so a 32-bit Firebird or InterBase installer leaves its keys there while a 64-bit
// one writes them where they are named. A key is looked for in the 64-bit view first and then in
// the 32-bit view, whichever build of this program reads it (on 32-bit Windows both flags are
// ignored and the one registry is read).

struct Registro::Dados {
    HKEY chave = nullptr;
};

Registro::Registro() : dados_(std::make_unique<Dados>()) {}
Registro::~Registro() { FecharChave(); }

bool Registro::AbrirChaveLeitura(const std::string& chave) {
    FecharChave();
    const std::u16string u = Utf16De1252(CaminhoRelativo(chave));
    const std::wstring caminho(u.begin(), u.end());
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, caminho.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &h) != ERROR_SUCCESS &&
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, caminho.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &h) !=
            ERROR_SUCCESS)
        return false;
    dados_->chave = h;
    return true;
}

void Registro::FecharChave() {
    if (dados_->chave != nullptr) RegCloseKey(dados_->chave);
    dados_->chave = nullptr;
}

bool Registro::ChaveAberta() const { return dados_->chave != nullptr; }

bool Registro::ValorExiste(const std::string& nome) const {
    if (dados_->chave == nullptr) return false;
    const std::u16string u = Utf16De1252(nome);
    const std::wstring n(u.begin(), u.end());
    return RegQueryValueExW(dados_->chave, n.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

std::string Registro::LerTexto(const std::string& nome) const {
    if (dados_->chave == nullptr) return {};
    const std::u16string u = Utf16De1252(nome);
    const std::wstring n(u.begin(), u.end());
    DWORD tipo = 0, tamanho = 0;
    if (RegQueryValueExW(dados_->chave, n.c_str(), nullptr, &tipo, nullptr, &tamanho) != ERROR_SUCCESS)
        return {};
    if (tipo != REG_SZ && tipo != REG_EXPAND_SZ) throw Erro(ErroTipoInvalido(nome));
    std::wstring buffer(tamanho / sizeof(wchar_t) + 1, L'\0');
    DWORD lido = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(dados_->chave, n.c_str(), nullptr, &tipo,
                         reinterpret_cast<BYTE*>(buffer.data()), &lido) != ERROR_SUCCESS)
        return {};
    buffer.resize(lido / sizeof(wchar_t));
    const size_t nulo = buffer.find(L'\0');
    if (nulo != std::wstring::npos) buffer.resize(nulo);
    return Utf16Para1252(std::u16string(buffer.begin(), buffer.end()));
}

#else

// ---------------------------------------------------------------------------------------------
// Elsewhere: a registry export file.

namespace {

constexpr uint32_t RegSz = 1, RegExpandSz = 2, RegBinary = 3, RegDword = 4;

struct Valor {
    uint32_t tipo = RegSz;
    bool entreAspas = false;  // a "text" value (its text is in `dados`, Windows-1252)
    std::string dados;        // the raw data of a hex: / dword: value
};

// Values by upper-cased name, keys by upper-cased path relative to HKEY_LOCAL_MACHINE.
using Valores = std::map<std::string, Valor>;
using Chaves = std::map<std::string, Valores>;

struct ConteudoRegistro {
    Chaves chaves;
    bool unicode = false;  // version 5 format: hex strings are UTF-16LE
};

std::string Chave(const std::string& texto) { return MaiusculasLocal(texto); }

// The whole file; false when it does not exist.
bool LerBytes(const std::string& arquivo, std::string& bytes) {
    const int fd = ::open(arquivo.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
        throw Erro("N\xE3o foi poss\xEDvel ler o registro " + arquivo + ": " + std::strerror(errno));
    }
    bytes.clear();
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int erro = errno;
            ::close(fd);
            throw Erro("N\xE3o foi poss\xEDvel ler o registro " + arquivo + ": " + std::strerror(erro));
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

// The file as Windows-1252 text (from UTF-16LE or UTF-8 when it begins with their byte-order
// mark, as it stands otherwise); false when it does not exist.
bool LerTextoArquivo(const std::string& arquivo, std::string& texto) {
    std::string bytes;
    if (!LerBytes(arquivo, bytes)) return false;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string u;
        u.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            u.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        texto = Utf16Para1252(u);
    } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        texto = Utf8Para1252(std::string_view(bytes).substr(3));
    } else {
        texto = std::move(bytes);
    }
    return true;
}

std::vector<std::string> Linhas(const std::string& texto) {
    std::vector<std::string> linhas;
    std::string atual;
    for (char c : texto) {
        if (c == '\n') {
            if (!atual.empty() && atual.back() == '\r') atual.pop_back();
            linhas.push_back(std::move(atual));
            atual.clear();
        } else {
            atual.push_back(c);
        }
    }
    if (!atual.empty() && atual.back() == '\r') atual.pop_back();
    if (!atual.empty()) linhas.push_back(std::move(atual));
    return linhas;
}

// Reads a quoted text starting at texto[pos] == '"'; the escapes are \\ and \". Returns false
// when the closing quote is missing; `pos` ends after the closing quote.
bool LerEntreAspas(const std::string& texto, size_t& pos, std::string& resultado) {
    resultado.clear();
    for (++pos; pos < texto.size(); ++pos) {
        const char c = texto[pos];
        if (c == '\\' && pos + 1 < texto.size()) {
            resultado.push_back(texto[++pos]);
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            resultado.push_back(c);
        }
    }
    return false;
}

int ValorHexa(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "00,4a,ff" (blanks allowed around the commas, a trailing comma too) -> bytes; false on
// anything else.
bool LerBytesHexa(const std::string& texto, std::string& bytes) {
    bytes.clear();
    size_t i = 0;
    auto pularBrancos = [&] {
        while (i < texto.size() && (texto[i] == ' ' || texto[i] == '\t')) ++i;
    };
    for (;;) {
        pularBrancos();
        if (i == texto.size()) return true;
        if (i + 1 >= texto.size()) return false;
        const int alto = ValorHexa(texto[i]), baixo = ValorHexa(texto[i + 1]);
        if (alto < 0 || baixo < 0) return false;
        bytes.push_back(static_cast<char>(alto * 16 + baixo));
        i += 2;
        pularBrancos();
        if (i == texto.size()) return true;
        if (texto[i] != ',') return false;
        ++i;
    }
}

// The path of a key line's text relative to HKEY_LOCAL_MACHINE; false for another root.
bool CaminhoEmHklm(const std::string& chave, std::string& relativo) {
    const size_t barra = chave.find('\\');
    const std::string raiz = MaiusculasAscii(Aparar(chave.substr(0, barra)));
    if (raiz != "HKEY_LOCAL_MACHINE" && raiz != "HKLM") return false;
    relativo = barra == std::string::npos ? std::string() : Chave(CaminhoRelativo(chave.substr(barra)));
    return true;
}

bool DentroDe(const std::string& chave, const std::string& ancestral) {
    if (ancestral.empty()) return true;
    return chave.size() > ancestral.size() && chave.compare(0, ancestral.size(), ancestral) == 0 &&
           chave[ancestral.size()] == '\\';
}

// A hexadecimal number of 1 to 8 digits.
bool NumeroHexa(const std::string& digitos, uint32_t& n) {
    if (digitos.empty() || digitos.size() > 8) return false;
    n = 0;
    for (char c : digitos) {
        const int v = ValorHexa(c);
        if (v < 0) return false;
        n = n * 16 + static_cast<uint32_t>(v);
    }
    return true;
}

// A "[key]" line: the values of that key are read next (nullptr outside HKEY_LOCAL_MACHINE); a
// "[-key]" line deletes the key and every key below it.
Valores* LerLinhaChave(ConteudoRegistro& conteudo, const std::string& linha) {
    const size_t fecha = linha.rfind(']');
    if (fecha == std::string::npos) return nullptr;
    std::string nome = linha.substr(1, fecha - 1);
    const bool apagar = !nome.empty() && nome[0] == '-';
    if (apagar) nome.erase(0, 1);
    std::string relativo;
    if (!CaminhoEmHklm(nome, relativo)) return nullptr;
    if (!apagar) return &conteudo.chaves[relativo];
    for (auto it = conteudo.chaves.begin(); it != conteudo.chaves.end();)
        it = it->first == relativo || DentroDe(it->first, relativo) ? conteudo.chaves.erase(it) : std::next(it);
    return nullptr;
}

// What the data after a value's '=' says.
enum class Dado { Valor, Apagar, Ignorar };

// Reads the data of a value: a string, "-" (delete the value), dword:, hex: or hex(N):, the last
// continued on the following lines by a final backslash (`i` then moves past them).
Dado LerDado(const std::string& dado, const std::vector<std::string>& linhas, size_t& i, Valor& valor) {
    if (!dado.empty() && dado[0] == '"') {
        size_t p = 0;
        if (!LerEntreAspas(dado, p, valor.dados)) return Dado::Ignorar;
        valor.entreAspas = true;
        valor.tipo = RegSz;
        return Dado::Valor;
    }
    if (ApararFim(dado) == "-") return Dado::Apagar;
    if (MinusculasAscii(dado.substr(0, 6)) == "dword:") {
        uint32_t n = 0;
        if (!NumeroHexa(Aparar(dado.substr(6)), n)) return Dado::Ignorar;
        valor.tipo = RegDword;
        for (int b = 0; b < 4; ++b) valor.dados.push_back(static_cast<char>((n >> (8 * b)) & 0xFF));
        return Dado::Valor;
    }
    if (MinusculasAscii(dado.substr(0, 3)) != "hex") return Dado::Ignorar;
    const size_t dois = dado.find(':');
    if (dois == std::string::npos) return Dado::Ignorar;
    const std::string tipo = dado.substr(3, dois - 3);
    if (tipo.empty()) {
        valor.tipo = RegBinary;
    } else {
        uint32_t n = 0;
        if (tipo.size() < 3 || tipo.front() != '(' || tipo.back() != ')' ||
            !NumeroHexa(tipo.substr(1, tipo.size() - 2), n))
            return Dado::Ignorar;
        valor.tipo = n;
    }
    std::string digitos = ApararFim(dado.substr(dois + 1));
    while (!digitos.empty() && digitos.back() == '\\' && i + 1 < linhas.size()) {
        digitos.pop_back();
        digitos += Aparar(linhas[++i]);
    }
    return LerBytesHexa(digitos, valor.dados) ? Dado::Valor : Dado::Ignorar;
}

ConteudoRegistro Interpretar(const std::string& arquivo, const std::string& texto) {
    ConteudoRegistro conteudo;
    const std::vector<std::string> linhas = Linhas(texto);
    size_t i = 0;
    while (i < linhas.size() && Aparar(linhas[i]).empty()) ++i;
    const std::string cabecalho = i < linhas.size() ? Aparar(linhas[i]) : std::string();
    if (cabecalho == "Windows Registry Editor Version 5.00")
        conteudo.unicode = true;
    else if (cabecalho != "REGEDIT4")
        throw Erro("O arquivo " + arquivo + " n\xE3o \xE9 um arquivo de registro do Windows.");

    Valores* atual = nullptr;  // the values of the key being read, inside HKEY_LOCAL_MACHINE
    for (++i; i < linhas.size(); ++i) {
        const std::string linha = ApararInicio(linhas[i]);
        if (linha.empty() || linha[0] == ';') continue;
        if (linha[0] == '[') {
            atual = LerLinhaChave(conteudo, linha);
            continue;
        }
        if (atual == nullptr || (linha[0] != '"' && linha[0] != '@')) continue;

        std::string nome;
        size_t pos = 0;
        if (linha[0] == '@') {
            pos = 1;
        } else if (!LerEntreAspas(linha, pos, nome)) {
            continue;
        }
        while (pos < linha.size() && (linha[pos] == ' ' || linha[pos] == '\t')) ++pos;
        if (pos >= linha.size() || linha[pos] != '=') continue;
        ++pos;
        while (pos < linha.size() && (linha[pos] == ' ' || linha[pos] == '\t')) ++pos;

        Valor valor;
        switch (LerDado(linha.substr(pos), linhas, i, valor)) {
            case Dado::Valor: (*atual)[Chave(nome)] = std::move(valor); break;
            case Dado::Apagar: atual->erase(Chave(nome)); break;
            case Dado::Ignorar: break;
        }
    }
    return conteudo;
}

}  // namespace

struct Registro::Dados {
    bool aberta = false;
    bool unicode = false;
    Valores valores;
};

Registro::Registro() : dados_(std::make_unique<Dados>()) {}
Registro::~Registro() = default;

bool Registro::AbrirChaveLeitura(const std::string& chave) {
    FecharChave();
    const std::string arquivo = ArquivoRegistro();
    std::string texto;
    if (!LerTextoArquivo(arquivo, texto)) return false;
    ConteudoRegistro conteudo = Interpretar(arquivo, texto);
    const std::string procurada = Chave(CaminhoRelativo(chave));
    for (auto& [caminho, valores] : conteudo.chaves) {
        if (caminho == procurada) {
            dados_->valores = std::move(valores);
            dados_->aberta = true;
        } else if (DentroDe(caminho, procurada)) {
            dados_->aberta = true;  // a key that only holds other keys
        }
    }
    dados_->unicode = conteudo.unicode;
    return dados_->aberta;
}

void Registro::FecharChave() {
    dados_->aberta = false;
    dados_->valores.clear();
}

bool Registro::ChaveAberta() const { return dados_->aberta; }

bool Registro::ValorExiste(const std::string& nome) const {
    return dados_->aberta && dados_->valores.count(Chave(nome)) > 0;
}

std::string Registro::LerTexto(const std::string& nome) const {
    if (!dados_->aberta) return {};
    const auto it = dados_->valores.find(Chave(nome));
    if (it == dados_->valores.end()) return {};
    const Valor& valor = it->second;
    if (valor.tipo != RegSz && valor.tipo != RegExpandSz) throw Erro(ErroTipoInvalido(nome));
    // A text ends at its first null character in every form, as the system registry's does.
    if (valor.entreAspas || !dados_->unicode) return valor.dados.substr(0, valor.dados.find('\0'));
    std::u16string u;
    for (size_t i = 0; i + 1 < valor.dados.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(static_cast<unsigned char>(valor.dados[i]) |
                                                 (static_cast<unsigned char>(valor.dados[i + 1]) << 8));
        if (c == 0) break;
        u.push_back(c);
    }
    return Utf16Para1252(u);
}

#endif

}  // namespace quorvel
