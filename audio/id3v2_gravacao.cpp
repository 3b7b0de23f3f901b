// Writing an ID3v2.3 tag into a file: in place over an old tag that has room, or by rewriting
// the file with a new 4,096-byte tag in front of the audio.
#include <cstring>

#include "audio/id3v2.h"
#include "platform/arquivos.h"

namespace quorvel {

namespace {

void AcrescentarBigEndian(std::string& destino, uint32_t valor) {
    destino += static_cast<char>((valor >> 24) & 0xFF);
    destino += static_cast<char>((valor >> 16) & 0xFF);
    destino += static_cast<char>((valor >> 8) & 0xFF);
    destino += static_cast<char>(valor & 0xFF);
}

// Writes the tag over the first bytes of the file; the old tag has exactly that length.
bool OverwriteTag(const std::string& FileName, const std::string& tag, bool sincronizar) {
    if (!ArquivoExiste(FileName) || !LimparAtributos(FileName)) return false;
    auto arquivo = Arquivo::Abrir(FileName, Arquivo::Modo::LeituraEscrita);
    if (!arquivo) return false;
    return arquivo->GravarEm(0, tag.data(), tag.size()) && (!sincronizar || arquivo->Sincronizar());
}

// Writes the new tag and the audio of `origem` after its old tag (open, with its first bytes
// `cabecalho`) into a new temporary file beside FileName (a name no file had, so nothing of
// anyone else's is touched), flushes it to the disk (when `sincronizar`) and only then renames
// it over FileName. Until the rename the original is untouched; on any failure the temporary
// file is removed and the original stays as it was.
bool RewriteFile(const std::string& FileName, std::unique_ptr<Arquivo> origem, const unsigned char cabecalho[10],
                 const std::string& tag, bool sincronizar) {
    if (!ArquivoExiste(FileName) || !LimparAtributos(FileName)) return false;
    auto temporario = ArquivoTemporario::Criar(FileName);
    if (!temporario) return false;
    Arquivo& destino = temporario->Conteudo();
    const int64_t fim = origem->Tamanho();
    // An old tag is skipped whole: header, frames, padding and footer. A size beyond the file is
    // 0, so the old header bytes then stay behind the new tag.
    int64_t leitura = std::memcmp(cabecalho, "ID3", 3) == 0 ? TID3v2::TagSize(cabecalho, fim) : 0;
    if (!destino.GravarEm(0, tag.data(), tag.size())) return false;
    if (leitura < fim && !destino.CopiarDe(*origem, leitura, static_cast<int64_t>(tag.size()), fim - leitura))
        return false;
    origem.reset();
    // The new file keeps the permissions (attributes) of the one it replaces.
    return temporario->Substituir(FileName, sincronizar);
}

// The open file and its first 10 bytes; nullptr when they cannot be read.
std::unique_ptr<Arquivo> AbrirCabecalho(const std::string& FileName, unsigned char cabecalho[10]) {
    auto arquivo = Arquivo::Abrir(FileName, Arquivo::Modo::Leitura);
    if (arquivo && arquivo->LerEm(0, cabecalho, 10) != 10) arquivo.reset();
    return arquivo;
}

}  // namespace

std::string TID3v2::MontarTag(const unsigned char* cabecalho, int64_t tamanhoArquivo,
                              bool& reescrever) const {
    std::array<std::string, TotalFrames> quadros;
    for (int slot = 0; slot < TotalFrames; ++slot) {
        const std::string& texto = texto_[slot];
        switch (Quadros[slot].leitura) {
            case LeituraQuadro::Faixa: if (track_ > 0) quadros[slot] = std::to_string(track_); break;
            case LeituraQuadro::Comentario: if (!texto.empty()) quadros[slot] = std::string("eng\0", 4) + texto; break;
            case LeituraQuadro::Link: if (!texto.empty()) quadros[slot] = std::string(1, '\0') + texto; break;
            case LeituraQuadro::Reserva:
            case LeituraQuadro::ReservaAno: break;
            default: quadros[slot] = texto;
        }
    }

    int64_t tamanho = 10;
    for (const auto& q : quadros)
        if (!q.empty()) tamanho += static_cast<int64_t>(q.size()) + 11;

    const bool temTag = cabecalho && std::memcmp(cabecalho, "ID3", 3) == 0;
    const int64_t antigo = cabecalho ? TagSize(cabecalho, tamanhoArquivo) : 0;
    reescrever = !(temTag && antigo >= tamanho && antigo <= TamanhoPadrao);
    const int64_t preenchimento = (reescrever ? TamanhoPadrao : antigo) - tamanho;
    if (preenchimento > 0) tamanho += preenchimento;

    std::string tag;
    tag.reserve(static_cast<size_t>(tamanho));
    tag += "ID3";
    tag += '\x03';
    tag += '\0';
    tag += '\0';
    const uint32_t corpo = static_cast<uint32_t>(tamanho - 10);
    tag += static_cast<char>((corpo >> 21) & 0x7F);
    tag += static_cast<char>((corpo >> 14) & 0x7F);
    tag += static_cast<char>((corpo >> 7) & 0x7F);
    tag += static_cast<char>(corpo & 0x7F);
    for (int slot = 0; slot < TotalFrames; ++slot) {
        const std::string& texto = quadros[slot];
        if (texto.empty()) continue;
        tag += Quadros[slot].id;
        AcrescentarBigEndian(tag, static_cast<uint32_t>(texto.size() + 1));
        tag += '\0';  // flags
        tag += '\0';
        tag += '\0';  // encoding: single byte
        tag += texto;
    }
    if (preenchimento > 0) tag.append(static_cast<size_t>(preenchimento), '\0');
    return tag;
}

TID3v2::Gravacao TID3v2::SaveToFile(const std::string& FileName, bool sincronizar) const {
    unsigned char cabecalho[10];
    auto arquivo = AbrirCabecalho(FileName, cabecalho);
    if (!arquivo) return NaoGravada;
    bool reescrever = true;
    const std::string tag = MontarTag(cabecalho, arquivo->Tamanho(), reescrever);
    if (reescrever) return RewriteFile(FileName, std::move(arquivo), cabecalho, tag, sincronizar) ? NovoArquivo : NaoGravada;
    arquivo.reset();
    return OverwriteTag(FileName, tag, sincronizar) ? NoLugar : NaoGravada;
}

TID3v2::Gravacao TID3v2::PreverGravacao(const std::string& FileName) const {
    unsigned char cabecalho[10];
    auto arquivo = AbrirCabecalho(FileName, cabecalho);
    if (!arquivo) return NaoGravada;
    bool reescrever = true;
    MontarTag(cabecalho, arquivo->Tamanho(), reescrever);
    return reescrever ? NovoArquivo : NoLugar;
}

}  // namespace quorvel
