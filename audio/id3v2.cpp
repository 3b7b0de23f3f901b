// Reading ID3v2 tags.
#include "audio/id3v2.h"

#include <algorithm>
#include <cstring>

#include "platform/arquivos.h"
#include "platform/texto.h"

namespace quorvel {

using L = LeituraQuadro;
// Version 2.2 has three-character identifiers; "TRI" stands for both TRIT and TRFI.
constinit const std::array<DescricaoQuadro, TID3v2::TotalFrames> TID3v2::Quadros = {{
    {"TIT2", "TT2", L::Texto, SlotTitle, 0},         {"TPE1", "TP1", L::Texto, SlotArtist, 1},
    {"TALB", "TAL", L::Texto, SlotAlbum, 2},         {"TRCK", "TRK", L::Faixa, SlotTrack, 3},
    {"TYER", "TYE", L::Texto, SlotYear, 4},          {"TCON", "TCO", L::Genero, SlotGenre, 5},
    {"COMM", "COM", L::Comentario, SlotComment, 6},  {"TCOM", "TCM", L::Texto, SlotComposer, 7},
    {"TENC", "TEN", L::Texto, SlotEncoder, 8},       {"TCOP", "TCR", L::Texto, SlotCopyright, 9},
    {"TLAN", "TLA", L::Texto, SlotLanguage, 10},     {"WXXX", "WXX", L::Link, SlotLink, 17},
    {"TDRC", "TOR", L::ReservaAno, SlotYear, -1},    {"TOPE", "TOA", L::Reserva, SlotArtist, -1},
    {"TIT1", "TT1", L::Reserva, SlotTitle, -1},      {"TOAL", "TOT", L::Reserva, SlotAlbum, -1},
    {"TRIT", "TRI", L::Texto, SlotTRIT, 18},         {"TINT", "TIN", L::Texto, SlotTINT, 19},
    {"TEXT", "TEX", L::Texto, SlotTEXT, 20},         {"TEST", "TES", L::Texto, SlotTEST, 21},
    {"TIDM", "TID", L::Texto, SlotTIDM, 22},         {"TCAR", "TCA", L::Texto, SlotTCAR, 23},
    {"TVIN", "TVI", L::Texto, SlotTVIN, 24},         {"TMXI", "TMI", L::Texto, SlotTMXI, 25},
    {"TMXF", "TMF", L::Texto, SlotTMXF, 26},         {"TRFI", "TRI", L::Texto, SlotTRFI, 27},
    {"TRFF", "TRF", L::Texto, SlotTRFF, 28},         {"TCAD", "TCD", L::Texto, SlotTCAD, -1},
    {"TSUC", "TSU", L::Texto, SlotTSUC, 13},         {"TGRA", "TGR", L::Texto, SlotTGRA, 11},
    {"TVOC", "TVO", L::Texto, SlotTVOC, 12},         {"TTPE", "TTP", L::Texto, SlotTTPE, 14},
    {"TPIN", "TPI", L::Texto, SlotTPIN, 15},         {"TPFI", "TPF", L::Texto, SlotTPFI, 16},
    {"TPMI", "TPM", L::Texto, SlotTPMI, 29},
}};

namespace {

// Windows-1252 byte of a UTF-16 unit; '?' when the code page has no such character.
char Caractere1252(uint16_t unidade) {
    if (unidade < 0x80 || (unidade >= 0xA0 && unidade <= 0xFF)) return static_cast<char>(unidade);
    // 0x80-0x9F of Windows-1252; the five undefined positions stand for themselves.
    static const uint16_t kAltos[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    for (int i = 0; i < 32; ++i)
        if (kAltos[i] == unidade) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

void TID3v2::Reset() {
    exists_ = false;
    tagVersion_ = 0;
    size_ = 0;
    track_ = 0;
    trackText_.clear();
    for (auto& t : texto_) t.clear();
}

void TID3v2::Definir(int slot, const std::string& valor) {
    if (slot >= 0 && slot < TotalFrames) texto_[slot] = Aparar(valor);
}

int32_t TID3v2::TagSize(const unsigned char cabecalho[10], int64_t tamanhoArquivo) {
    // Sync-safe, but each byte is taken whole, as the tag writers of the time did.
    int64_t tamanho = (int64_t{cabecalho[6]} << 21) + (int64_t{cabecalho[7]} << 14) +
                      (int64_t{cabecalho[8]} << 7) + cabecalho[9] + 10;
    if (cabecalho[5] & 0x10) tamanho += 10;  // footer
    if (tamanho > tamanhoArquivo) return 0;
    return static_cast<int32_t>(tamanho);
}

std::string TID3v2::DecodeText(const std::string& body) {
    if (!body.empty() && static_cast<unsigned char>(body[0]) == 1) {
        std::string texto;
        const size_t pares = (body.size() - 1) / 2;
        for (size_t i = 0; i < pares; ++i) {
            const unsigned char baixo = static_cast<unsigned char>(body[1 + 2 * i]);
            const unsigned char alto = static_cast<unsigned char>(body[2 + 2 * i]);
            const uint16_t unidade = static_cast<uint16_t>(baixo | (alto << 8));
            if (unidade == 0) break;
            if (baixo == 0xFF) continue;  // the byte-order mark FF FE and its kind
            texto += Caractere1252(unidade);
        }
        return Aparar(texto);
    }
    return Aparar(body);
}

std::string TID3v2::ExtractDescribedText(const std::string& body, bool comIdioma) {
    if (body.empty()) return std::string();
    const char codificacao = body[0];
    const std::string separador =
        static_cast<unsigned char>(codificacao) == 1 ? std::string("\0\0", 2) : std::string(1, '\0');
    std::string resto = body.substr(std::min<size_t>(body.size(), comIdioma ? 4 : 1));
    const size_t achado = resto.find(separador);
    if (achado != std::string::npos)
        resto.erase(0, achado + separador.size());
    else
        resto.erase(0, std::min(resto.size(), separador.size() - 1));
    return DecodeText(std::string(1, codificacao) + resto);
}

namespace {

uint32_t BigEndian(const unsigned char* p, int bytes) {
    uint32_t valor = 0;
    for (int i = 0; i < bytes; ++i) valor = (valor << 8) | p[i];
    return valor;
}

}  // namespace

bool TID3v2::ReadFromFile(const std::string& FileName) {
    Reset();
    auto arquivo = Arquivo::Abrir(FileName, Arquivo::Modo::Leitura);
    return arquivo && ReadFromFile(*arquivo);
}

bool TID3v2::ReadFromFile(const Arquivo& arquivo) {
    Reset();
    unsigned char cabecalho[10];
    const int64_t tamanhoArquivo = arquivo.Tamanho();
    if (arquivo.LerEm(0, cabecalho, sizeof cabecalho) != sizeof cabecalho) return false;
    if (std::memcmp(cabecalho, "ID3", 3) != 0) return true;

    exists_ = true;
    tagVersion_ = cabecalho[3];
    size_ = TagSize(cabecalho, tamanhoArquivo);
    if ((tagVersion_ < 2 || tagVersion_ > 4) || size_ <= 0) return true;

    // Frame bodies by slot, each kept as a zero-filled 500-byte block.
    std::array<std::string, TotalFrames> corpos;
    const bool v22 = tagVersion_ == 2;
    const size_t tamanhoId = v22 ? 3 : 4;
    const size_t tamanhoCabecalho = v22 ? 6 : 10;
    int64_t posicao = 10;  // an extended header is not skipped
    while (posicao < size_ && posicao < tamanhoArquivo) {
        unsigned char quadro[10];
        if (arquivo.LerEm(posicao, quadro, tamanhoCabecalho) != tamanhoCabecalho) break;
        if (quadro[0] < 'A' || quadro[0] > 'Z') break;  // padding
        const uint32_t tamanho = v22 ? BigEndian(quadro + 3, 3) : BigEndian(quadro + 4, 4);
        std::string corpo(TamanhoCorpo, '\0');
        const size_t aLer = std::min<uint32_t>(tamanho, TamanhoCorpo);
        if (arquivo.LerEm(posicao + static_cast<int64_t>(tamanhoCabecalho), corpo.data(), aLer) != aLer) break;
        const bool comprimido = !v22 && (quadro[9] & 0x80);
        const unsigned char codificacao = static_cast<unsigned char>(corpo[0]);
        if (!comprimido && codificacao <= 1) {
            for (int slot = 0; slot < TotalFrames; ++slot)
                if (std::memcmp(quadro, v22 ? Quadros[slot].idV22 : Quadros[slot].id, tamanhoId) == 0)
                    corpos[slot] = corpo;
        }
        posicao += static_cast<int64_t>(tamanhoCabecalho) + tamanho;
    }

    // The fallbacks come after the frames they stand in for, so they see those fields filled.
    for (int slot = 0; slot < TotalFrames; ++slot) {
        const std::string& corpo = corpos[slot];
        std::string& campo = texto_[Quadros[slot].campo];
        switch (Quadros[slot].leitura) {
            case L::Texto: campo = DecodeText(corpo); break;
            case L::Comentario: campo = ExtractDescribedText(corpo, true); break;
            case L::Link: campo = ExtractDescribedText(corpo, false); break;
            case L::Reserva: if (campo.empty()) campo = DecodeText(corpo); break;
            case L::ReservaAno: if (campo.empty()) campo = DecodeText(corpo).substr(0, 4); break;
            case L::Genero: {
                // "(17)Rock" gives "Rock": references to the ID3v1 list are dropped, not looked
                // up. Only the text up to the last ")" goes; what follows it is kept as it stands.
                campo = DecodeText(corpo);
                const size_t parentese = campo.rfind(')');
                if (parentese != std::string::npos) campo.erase(0, parentese + 1);
                break;
            }
            case L::Faixa: {
                trackText_ = DecodeText(corpo);
                int32_t valor = 0;
                track_ = TentarTextoParaInteiro(trackText_.substr(0, trackText_.find('/')), valor)
                             ? static_cast<uint16_t>(valor) : 0;
                break;
            }
        }
    }
    return true;
}

}  // namespace quorvel
