#include "music/antecipacao.h"

#include <system_error>

#include "audio/id3v2.h"
#include "platform/caminhos.h"

namespace quorvel {

namespace {

// Room the files made ahead leave free on the 2010 folder's file system, beyond twice the sizes
// of the file made ahead and of the current row's file.
constexpr int64_t kFolgaMinima = int64_t{64} << 20;

}  // namespace

struct AntecipacaoMusicas::Feito {
    PedidoAntecipacao pedido;
    IdentidadeArquivo fonte;                             // the 2009 file as it was read
    std::unique_ptr<ArquivoTemporario> copia;
    std::string tag;                                     // the tag of the rewritten file
    std::unique_ptr<ArquivoTemporario> reescrito;
    std::optional<IdentidadeArquivo> colocado;           // the copy, once in place
};

AntecipacaoMusicas::AntecipacaoMusicas() = default;

AntecipacaoMusicas::~AntecipacaoMusicas() {
    Receber();
    colocado_.reset();
}

std::unique_ptr<AntecipacaoMusicas::Feito> AntecipacaoMusicas::Receber() {
    if (!emCurso_.valid()) return nullptr;
    return emCurso_.get();
}

void AntecipacaoMusicas::Pedir(PedidoAntecipacao pedido, const std::string& emUso) {
    Receber();  // what was made ahead and not asked for goes
    const auto fonte = IdentidadeDe(pedido.origem);
    if (!fonte) return;
    const auto atual = emUso.empty() ? std::nullopt : IdentidadeDe(emUso);
    const auto livre = EspacoLivre(ExtrairCaminho(pedido.destino));
    const int64_t necessario = 2 * fonte->tamanho + 2 * (atual ? atual->tamanho : 0) + kFolgaMinima;
    if (!livre || *livre < necessario) return;
    try {
        emCurso_ = std::async(std::launch::async, Fazer, std::move(pedido), atual);
    } catch (const std::system_error&) {
        // No thread to be had: the row does its own work.
    }
}

bool AntecipacaoMusicas::PorNoLugar(const std::string& origem, const std::string& destino) {
    colocado_.reset();
    std::unique_ptr<Feito> feito = Receber();
    if (!feito || feito->pedido.origem != origem || feito->pedido.destino != destino) return false;
    // The 2009 file is still the very file, unchanged, that was copied.
    const auto fonte = IdentidadeDe(origem);
    if (!fonte || !(*fonte == feito->fonte)) return false;
    // As CopiarArquivo ends: the permissions of the 2009 file, no flush of its own.
    if (!feito->copia->Substituir(origem, false)) return false;
    feito->copia.reset();
    ++copiasUsadas_;
    if (feito->reescrito) {
        feito->colocado = IdentidadeDe(destino);
        if (feito->colocado) colocado_ = std::move(feito);
    }
    return true;
}

bool AntecipacaoMusicas::Substituir(const std::string& caminho, const std::string& tag, bool sincronizar) {
    std::unique_ptr<Feito> feito = std::move(colocado_);
    if (!feito || feito->tag != tag) return false;
    // The file to rewrite is the copy put in place, untouched since.
    const auto atual = IdentidadeDe(caminho);
    if (!atual || !(*atual == *feito->colocado)) return false;
    // As a rewrite ends: attributes cleared first, then the new file, with the permissions of
    // the one it replaces, renamed over it.
    if (!LimparAtributos(caminho) || !feito->reescrito->Substituir(caminho, sincronizar)) return false;
    ++reescritasUsadas_;
    return true;
}

std::unique_ptr<AntecipacaoMusicas::Feito> AntecipacaoMusicas::Fazer(PedidoAntecipacao pedido,
                                                                     std::optional<IdentidadeArquivo> emUso) {
    try {
        auto feito = std::make_unique<Feito>();
        auto entrada = Arquivo::Abrir(pedido.origem, Arquivo::Modo::Leitura);
        if (!entrada) return nullptr;
        const auto fonte = entrada->Identidade();
        if (!fonte || (emUso && fonte->MesmoArquivo(*emUso))) return nullptr;
        feito->fonte = *fonte;
        feito->copia = ArquivoTemporario::Criar(pedido.destino);
        if (!feito->copia || !feito->copia->Conteudo().CopiarDe(*entrada, 0, 0, fonte->tamanho)) return nullptr;

        // The tag registration will write, from the same bytes the copy holds. Only a rewrite is
        // made ahead: a tag written in place costs a few kilobytes.
        if (pedido.tag) {
            try {
                ArquivoAudio audio(pedido.origem);
                audio.LerInfoAudio();
                const TID3v2 t = TagParaGravar(audio, *pedido.tag);
                unsigned char cabecalho[10] = {};
                const bool lido = entrada->LerEm(0, cabecalho, sizeof cabecalho) == sizeof cabecalho;
                bool reescrever = true;
                std::string tag = t.MontarTag(lido ? cabecalho : nullptr, fonte->tamanho, reescrever);
                if (reescrever) {
                    auto reescrito = ArquivoTemporario::Criar(pedido.destino);
                    if (reescrito && TID3v2::CopiarComNovaTag(*entrada, reescrito->Conteudo(), tag)) {
                        feito->tag = std::move(tag);
                        feito->reescrito = std::move(reescrito);
                    }
                }
            } catch (...) {
                // Whatever the tag's trouble, registration meets it again and tells it.
            }
        }
        // Unchanged while it was read: otherwise the copy may hold a mix of two versions.
        const auto depois = entrada->Identidade();
        if (!depois || !(*depois == feito->fonte)) return nullptr;
        feito->pedido = std::move(pedido);
        return feito;
    } catch (...) {
        return nullptr;
    }
}

}  // namespace quorvel
