#include "platform/versao_pe.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/arquivos.h"
#include "platform/texto.h"
#include "platform/utf16.h"

namespace quorvel {

namespace {

// Little-endian numbers of a byte string; the caller has checked the bounds.
uint16_t U16(const std::string& b, size_t pos) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[pos]) |
                                 (static_cast<unsigned char>(b[pos + 1]) << 8));
}
uint32_t U32(const std::string& b, size_t pos) {
    return static_cast<uint32_t>(U16(b, pos)) | (static_cast<uint32_t>(U16(b, pos + 2)) << 16);
}

constexpr uint32_t TipoVersao = 16;                     // RT_VERSION
constexpr uint32_t IdVersao = 1;                        // VS_VERSION_INFO
constexpr uint32_t BitAlto = 0x80000000u;               // a name string / a subdirectory
constexpr size_t MaximoDiretorio = 16u * 1024 * 1024;   // of the resource section, read at most
constexpr size_t MaximoBloco = 1024 * 1024;             // a version block is 64 KB at most

struct Secao {
    uint32_t enderecoVirtual, tamanhoBruto, posicaoBruta;
};

class LeitorPe {
public:
    explicit LeitorPe(const Arquivo& arquivo) : arquivo_(arquivo), tamanho_(arquivo.Tamanho()) {}

    // n bytes at a file position, all inside the file.
    bool Ler(uint64_t posicao, size_t n, std::string& destino) const {
        if (tamanho_ < 0 || n > static_cast<uint64_t>(tamanho_) ||
            posicao > static_cast<uint64_t>(tamanho_) - n)
            return false;
        destino.assign(n, '\0');
        return n == 0 || arquivo_.LerEm(static_cast<int64_t>(posicao), destino.data(), n) == n;
    }

    bool LerCabecalhos() {
        std::string dos;
        if (!Ler(0, 64, dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
        const uint32_t pe = U32(dos, 0x3C);
        std::string coff;
        if (!Ler(pe, 24, coff) || coff.compare(0, 4, std::string("PE\0\0", 4)) != 0) return false;
        const uint16_t quantidadeSecoes = U16(coff, 6);
        const uint16_t tamanhoOpcional = U16(coff, 20);
        std::string opcional;
        if (tamanhoOpcional < 2 || !Ler(uint64_t{pe} + 24, tamanhoOpcional, opcional)) return false;
        size_t posQuantidade, posDiretorios;
        switch (U16(opcional, 0)) {
            case 0x10B: posQuantidade = 92; posDiretorios = 96; break;    // PE32
            case 0x20B: posQuantidade = 108; posDiretorios = 112; break;  // PE32+
            default: return false;
        }
        if (opcional.size() < posDiretorios + 3 * 8 || U32(opcional, posQuantidade) < 3) return false;
        rvaRecursos_ = U32(opcional, posDiretorios + 2 * 8);
        if (rvaRecursos_ == 0 || U32(opcional, posDiretorios + 2 * 8 + 4) == 0) return false;
        std::string tabela;
        if (!Ler(uint64_t{pe} + 24 + tamanhoOpcional, size_t{quantidadeSecoes} * 40, tabela)) return false;
        for (size_t i = 0; i < quantidadeSecoes; ++i)
            secoes_.push_back({U32(tabela, i * 40 + 12), U32(tabela, i * 40 + 16), U32(tabela, i * 40 + 20)});
        return true;
    }

    // Bytes at a relative virtual address, from the raw data of the one section they lie in.
    // `n` at most `maximo`: with `truncar` the read is cut to the section's end and to `maximo`.
    bool LerRva(uint32_t rva, size_t n, std::string& destino, bool truncar = false) const {
        for (const Secao& s : secoes_) {
            if (rva < s.enderecoVirtual || rva - s.enderecoVirtual >= s.tamanhoBruto) continue;
            const uint64_t deslocamento = rva - s.enderecoVirtual;
            const uint64_t disponivel = s.tamanhoBruto - deslocamento;
            if (truncar) {
                if (n > disponivel) n = static_cast<size_t>(disponivel);
                if (tamanho_ >= 0 && uint64_t{s.posicaoBruta} + deslocamento + n > static_cast<uint64_t>(tamanho_)) {
                    const uint64_t inicio = uint64_t{s.posicaoBruta} + deslocamento;
                    if (inicio >= static_cast<uint64_t>(tamanho_)) return false;
                    n = static_cast<size_t>(static_cast<uint64_t>(tamanho_) - inicio);
                }
            } else if (n > disponivel) {
                return false;
            }
            return Ler(uint64_t{s.posicaoBruta} + deslocamento, n, destino);
        }
        return false;
    }

    uint32_t RvaRecursos() const { return rvaRecursos_; }

private:
    const Arquivo& arquivo_;
    int64_t tamanho_;
    uint32_t rvaRecursos_ = 0;
    std::vector<Secao> secoes_;
};

// The entries of a resource directory at `pos` of the resource data; false when the directory
// does not fit.
struct EntradaRecurso {
    uint32_t nome, dado;
};
bool LerDiretorio(const std::string& recursos, uint32_t pos, std::vector<EntradaRecurso>& entradas) {
    entradas.clear();
    if (pos > recursos.size() || recursos.size() - pos < 16) return false;
    const size_t quantidade = size_t{U16(recursos, pos + 12)} + U16(recursos, pos + 14);
    if ((recursos.size() - pos - 16) / 8 < quantidade) return false;
    for (size_t i = 0; i < quantidade; ++i)
        entradas.push_back({U32(recursos, pos + 16 + i * 8), U32(recursos, pos + 16 + i * 8 + 4)});
    return true;
}

// ---- VS_VERSIONINFO nodes: wLength, wValueLength, wType, szKey, padding, value, padding,
// children; every part 32-bit aligned from the start of the block.

size_t Alinhar4(size_t n) { return (n + 3) & ~size_t{3}; }

struct No {
    size_t inicio = 0, fim = 0;
    uint16_t tamanhoValor = 0, tipo = 0;
    std::u16string chave;
    size_t valor = 0, filhos = 0;
};

bool LerNo(const std::string& bloco, size_t pos, size_t limite, No& no) {
    if (pos > limite || limite - pos < 6) return false;
    const uint16_t comprimento = U16(bloco, pos);
    if (comprimento < 6) return false;
    no.inicio = pos;
    no.fim = limite - pos < comprimento ? limite : pos + comprimento;
    no.tamanhoValor = U16(bloco, pos + 2);
    no.tipo = U16(bloco, pos + 4);
    no.chave.clear();
    size_t p = pos + 6;
    for (;;) {
        if (no.fim - p < 2) return false;  // the key is not terminated inside the node
        const char16_t c = static_cast<char16_t>(U16(bloco, p));
        p += 2;
        if (c == 0) break;
        no.chave.push_back(c);
    }
    no.valor = std::min(Alinhar4(p), no.fim);
    const size_t bytesValor = no.tipo == 1 ? size_t{no.tamanhoValor} * 2 : no.tamanhoValor;
    no.filhos = no.fim - no.valor < bytesValor ? no.fim : std::min(Alinhar4(no.valor + bytesValor), no.fim);
    return true;
}

bool ProcurarFilho(const std::string& bloco, const No& pai, const std::string& nome, No& filho) {
    size_t pos = pai.filhos;
    while (pos < pai.fim && pai.fim - pos >= 6) {
        if (!LerNo(bloco, pos, pai.fim, filho)) return false;
        if (IguaisSemCaixa(Utf16Para1252(filho.chave), nome)) return true;
        pos = Alinhar4(pos + U16(bloco, pos));
    }
    return false;
}

}  // namespace

std::optional<std::string> LerInformacaoVersao(const std::string& caminho) {
    const std::unique_ptr<Arquivo> arquivo = Arquivo::Abrir(caminho, Arquivo::Modo::Leitura);
    if (!arquivo) return std::nullopt;
    LeitorPe pe(*arquivo);
    if (!pe.LerCabecalhos()) return std::nullopt;

    // The resource tree: type RT_VERSION, then the name VS_VERSION_INFO (or the first name),
    // then the first language.
    std::string recursos;
    if (!pe.LerRva(pe.RvaRecursos(), MaximoDiretorio, recursos, true)) return std::nullopt;
    std::vector<EntradaRecurso> entradas;
    if (!LerDiretorio(recursos, 0, entradas)) return std::nullopt;
    uint32_t pos = 0;
    bool achou = false;
    for (const EntradaRecurso& e : entradas)
        if (e.nome == TipoVersao && (e.dado & BitAlto)) {
            pos = e.dado & ~BitAlto;
            achou = true;
            break;
        }
    if (!achou || !LerDiretorio(recursos, pos, entradas) || entradas.empty()) return std::nullopt;
    const EntradaRecurso* nome = &entradas.front();
    for (const EntradaRecurso& e : entradas)
        if (e.nome == IdVersao) {
            nome = &e;
            break;
        }
    if (!(nome->dado & BitAlto) || !LerDiretorio(recursos, nome->dado & ~BitAlto, entradas) ||
        entradas.empty() || (entradas.front().dado & BitAlto))
        return std::nullopt;
    const uint32_t dado = entradas.front().dado;
    if (dado > recursos.size() || recursos.size() - dado < 16) return std::nullopt;
    const uint32_t rvaBloco = U32(recursos, dado);
    const uint32_t tamanho = U32(recursos, dado + 4);
    if (tamanho < 6 || tamanho > MaximoBloco) return std::nullopt;

    std::string bloco;
    if (!pe.LerRva(rvaBloco, tamanho, bloco)) return std::nullopt;
    No raiz;
    if (!LerNo(bloco, 0, bloco.size(), raiz) || Utf16Para1252(raiz.chave) != "VS_VERSION_INFO")
        return std::nullopt;
    bloco.resize(raiz.fim);
    return bloco;
}

std::optional<std::string> ConsultarTextoVersao(const std::string& bloco, const std::string& subbloco) {
    No atual;
    if (!LerNo(bloco, 0, bloco.size(), atual)) return std::nullopt;
    bool algum = false;
    size_t inicio = 0;
    while (inicio <= subbloco.size()) {
        size_t fim = subbloco.find('\\', inicio);
        if (fim == std::string::npos) fim = subbloco.size();
        if (fim > inicio) {
            No filho;
            if (!ProcurarFilho(bloco, atual, subbloco.substr(inicio, fim - inicio), filho)) return std::nullopt;
            atual = filho;
            algum = true;
        }
        inicio = fim + 1;
    }
    if (!algum) return std::nullopt;  // the root holds the fixed information, not a text
    std::u16string valor;
    if (atual.tamanhoValor > 0)
        for (size_t p = atual.valor; atual.fim - p >= 2; p += 2) {
            const char16_t c = static_cast<char16_t>(U16(bloco, p));
            if (c == 0) break;
            valor.push_back(c);
        }
    return Utf16Para1252(valor);
}

}  // namespace quorvel
