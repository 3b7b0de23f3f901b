#include "db/ib_linhas.h"

#include <cstring>

namespace quorvel {

namespace {

// The kind byte of a packed value.
enum Tipo : char { TNulo, TInteiro32, TInteiro64, TDecimal, TData, TTextoCurto, TTextoLongo };

constexpr size_t TamanhoBloco = 64 * 1024;

template <class T>
void Anexar(std::string& s, const T& v) {
    s.append(reinterpret_cast<const char*>(&v), sizeof v);
}

template <class T>
T Extrair(const char*& p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
}

}  // namespace

void LinhasCompactas::Comecar() { montagem_.clear(); }

void LinhasCompactas::Nulo() { montagem_ += TNulo; }

void LinhasCompactas::Inteiro(int64_t valor) {
    if (valor >= INT32_MIN && valor <= INT32_MAX) {
        montagem_ += TInteiro32;
        Anexar(montagem_, static_cast<int32_t>(valor));
    } else {
        montagem_ += TInteiro64;
        Anexar(montagem_, valor);
    }
}

void LinhasCompactas::Decimal(double valor) {
    montagem_ += TDecimal;
    Anexar(montagem_, valor);
}

void LinhasCompactas::Data(const DataHora& valor) {
    montagem_ += TData;
    Anexar(montagem_, valor.dia);
    Anexar(montagem_, valor.tempo);
}

void LinhasCompactas::Texto(const char* dados, size_t tamanho) {
    if (tamanho < 256) {
        montagem_ += TTextoCurto;
        montagem_ += static_cast<char>(tamanho);
    } else {
        montagem_ += TTextoLongo;
        Anexar(montagem_, static_cast<uint32_t>(tamanho));
    }
    montagem_.append(dados, tamanho);
}

char* LinhasCompactas::Reservar(size_t tamanho) {
    // A long row (a large blob) gets a block of its own; the current block stays in use.
    if (tamanho > TamanhoBloco / 4) {
        grandes_.push_back(std::make_unique<char[]>(tamanho));
        return grandes_.back().get();
    }
    if (tamanho > livre_) {
        blocos_.push_back(std::make_unique<char[]>(TamanhoBloco));
        proximo_ = blocos_.back().get();
        livre_ = TamanhoBloco;
    }
    char* p = proximo_;
    proximo_ += tamanho;
    livre_ -= tamanho;
    return p;
}

void LinhasCompactas::Terminar() {
    char* p = Reservar(montagem_.size());
    std::memcpy(p, montagem_.data(), montagem_.size());
    linhas_.push_back(p);
}

void LinhasCompactas::Ler(size_t linha, std::vector<Valor>& valores) const {
    const char* p = linhas_[linha];
    for (Valor& v : valores) {
        switch (*p++) {
            case TNulo: v = std::monostate{}; break;
            case TInteiro32: v = static_cast<int64_t>(Extrair<int32_t>(p)); break;
            case TInteiro64: v = Extrair<int64_t>(p); break;
            case TDecimal: v = Extrair<double>(p); break;
            case TData: {
                DataHora d;
                d.dia = Extrair<int32_t>(p);
                d.tempo = Extrair<uint32_t>(p);
                v = d;
                break;
            }
            default: {
                const size_t n = p[-1] == TTextoCurto ? static_cast<unsigned char>(*p++) : Extrair<uint32_t>(p);
                if (auto* s = std::get_if<std::string>(&v)) s->assign(p, n);
                else v.emplace<std::string>(p, n);
                p += n;
                break;
            }
        }
    }
}

void LinhasCompactas::Limpar() {
    linhas_.clear();
    linhas_.shrink_to_fit();
    blocos_.clear();
    grandes_.clear();
    livre_ = 0;
    proximo_ = nullptr;
}

}  // namespace quorvel
