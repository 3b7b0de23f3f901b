#include "migration/relocacao.h"

#include <exception>
#include <vector>

#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

constexpr const char* PastaVinhetas2009 = "C:\\Comercial\\";
constexpr const char* SubpastaVinhetas2010 = "\\Vinhetas\\";
constexpr const char* PastaMusicasC = "C:\\Musicas\\";
constexpr const char* SubpastaMusicas = "\\Musicas\\";
constexpr const char* DriveDa2010 = "C:";
constexpr const char* TipoVinheta = "V";
constexpr const char* TipoMusica = "M";

// A jingle's numbered names are cut when their path is longer than this...
constexpr size_t TamanhoMaximoVinheta = 42;
// ...to this many characters of the path without its extension.
constexpr size_t TamanhoCortado = 38;

// The path without its last four characters (the dot and a three-letter extension).
std::string SemUltimosQuatro(const std::string& caminho) {
    return caminho.size() > 4 ? caminho.substr(0, caminho.size() - 4) : std::string();
}

std::string Aspas(const std::string& texto) { return "\"" + texto + "\""; }

// Copies one file, creating the destination's folder when it is missing; raises on failure.
void Copiar(const std::string& origem, const std::string& destino) {
    const std::string pasta = ExtrairCaminho(destino);
    if (!pasta.empty() && !PastaExiste(pasta)) CriarPasta(pasta);
    if (!CopiarArquivo(origem, destino))
        throw Erro("N\xE3o foi poss\xEDvel copiar " + Aspas(origem) + " para " + Aspas(destino));
}

// The folder a music file of that drive goes to.
std::string PastaMusica2010(const std::string& pasta2010, const std::string& drive) {
    return drive == DriveDa2010 ? pasta2010 + SubpastaMusicas : drive + SubpastaMusicas;
}

// The 2010 file name of a music, sanitised.
std::string NomeArquivoMusica(const std::string& interprete, const std::string& titulo, const std::string& extensao) {
    return RemoverCaracteresInvalidos(interprete + " - " + titulo + "." + extensao);
}

}  // namespace

std::string RemoverCaracteresInvalidos(const std::string& texto) {
    std::string resultado = texto;
    for (char& c : resultado) {
        switch (c) {
            case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
                c = ' ';
                break;
            default: break;
        }
    }
    return resultado;
}

std::string EscolherDestino(const std::string& tipo, const std::string& destino,
                            const std::function<bool(const std::string&)>& ocupado) {
    std::string desejado = destino;
    std::string candidato = destino;
    bool podeEncurtar = true;
    const bool vinheta = MaiusculasAscii(tipo) == TipoVinheta;
    for (int n = 1;; ++n) {
        if (!vinheta || !ocupado(candidato)) return candidato;
        if (podeEncurtar && candidato.size() > TamanhoMaximoVinheta) {
            desejado = SemUltimosQuatro(desejado).substr(0, TamanhoCortado) + ExtrairExtensao(desejado);
            podeEncurtar = false;
        }
        candidato = SemUltimosQuatro(desejado) + "_" + std::to_string(n) + ExtrairExtensao(desejado);
    }
}

std::string CopiarArquivoUnico(const std::string& tipo, const std::string& origem, const std::string& destino) {
    const std::string candidato = EscolherDestino(tipo, destino, [](const std::string& c) { return ArquivoExiste(c); });
    Copiar(origem, candidato);
    return candidato;
}

std::string DestinoVinheta(const std::string& pasta2010, const std::string& nome, const std::string& extensao) {
    return pasta2010 + SubpastaVinhetas2010 + RemoverCaracteresInvalidos(nome + "." + extensao);
}

std::string OrigemVinheta(const std::string& dispositivo, const std::string& extensao) {
    return PastaVinhetas2009 + dispositivo + "." + extensao;
}

DestinoMusica PlanejarArquivoMusica(const std::string& pasta2010, const std::string& drive,
                                    const std::string& dispositivo, const std::string& interprete,
                                    const std::string& titulo, const std::string& extensao) {
    DestinoMusica destino{PastaMusica2010(pasta2010, drive), NomeArquivoMusica(interprete, titulo, extensao), {}};
    const std::string pastaOrigem = drive == DriveDa2010 ? std::string(PastaMusicasC) : drive + SubpastaMusicas;
    const std::string origem = pastaOrigem + dispositivo + "." + extensao;
    const std::string caminho = destino.pasta + destino.arquivo;
    const auto situacao = ArquivoExiste(origem) ? CopiaArquivo::Situacao::Copiado : CopiaArquivo::Situacao::Ausente;
    destino.copia = CopiaArquivo{situacao, origem, caminho, caminho, ""};
    return destino;
}

void PastasDestino::Preparar(const std::string& pasta) {
    if (preparadas_.insert(MaiusculasAscii(pasta)).second) LimparTemporariosAbandonados(pasta);
}

void PastasDestino::Copiado(const std::string& caminho) {
    std::string host = CaminhoHost(caminho);
    if (!host.empty()) copias_.insert(std::move(host));
}

bool PastasDestino::CopiaPendente(const std::string& caminho) const {
    return !copias_.empty() && copias_.count(CaminhoHost(caminho)) > 0;
}

void PastasDestino::SincronizarCopias() {
    if (copias_.empty()) return;
    const std::vector<std::string> caminhos(copias_.begin(), copias_.end());
    std::string falhou;
    if (!SincronizarArquivos(caminhos, &falhou)) throw Erro("Unable to write to " + falhou);
    copias_.clear();
}

CopiaArquivo PlanejarArquivoVinheta(const std::string& pasta2010, const std::string& dispositivo,
                                    const std::string& nome, const std::string& extensao,
                                    const std::function<bool(const std::string&)>& ocupado) {
    const std::string destino = DestinoVinheta(pasta2010, nome, extensao);
    CopiaArquivo c{CopiaArquivo::Situacao::Ausente, OrigemVinheta(dispositivo, extensao), destino, destino, ""};
    if (!ArquivoExiste(c.origem)) return c;
    c.situacao = CopiaArquivo::Situacao::Copiado;
    if (ocupado) c.destino = EscolherDestino(TipoVinheta, destino, ocupado);
    return c;
}

void CopiarArquivoVinheta(CopiaArquivo& c, const std::string& pasta2010, PastasDestino& pastas,
                          const AvisoRelocacao& avisar) {
    pastas.Preparar(pasta2010 + SubpastaVinhetas2010);
    if (c.situacao == CopiaArquivo::Situacao::Ausente) return;
    try {
        c.destino = CopiarArquivoUnico(TipoVinheta, c.origem, c.desejado);
        pastas.Copiado(c.destino);
    } catch (const std::exception& e) {
        c.situacao = CopiaArquivo::Situacao::Falhou;
        c.destino = c.desejado;
        c.erro = e.what();
        avisar("N\xE3o foi poss\xEDvel converter a vinheta: " + Aspas(c.origem) + " para: " + Aspas(c.desejado));
    }
}

void CopiarArquivoMusica(DestinoMusica& destino, PastasDestino& pastas, const AvisoRelocacao& avisar) {
    // Also when there is nothing to copy: registration still tags the file found there.
    pastas.Preparar(destino.pasta);
    if (destino.copia.situacao == CopiaArquivo::Situacao::Ausente) return;
    const std::string origem = destino.copia.origem;
    const std::string caminho = destino.copia.destino;
    try {
        pastas.Copiado(CopiarArquivoUnico(TipoMusica, origem, caminho));
        destino.copia.situacao = CopiaArquivo::Situacao::Copiado;
    } catch (const std::exception& e) {
        destino.copia.situacao = CopiaArquivo::Situacao::Falhou;
        destino.copia.erro = e.what();
        avisar("N\xE3o foi poss\xEDvel converter a m\xFAsica: " + Aspas(origem) + " para: " + Aspas(caminho));
    }
}

}  // namespace quorvel
