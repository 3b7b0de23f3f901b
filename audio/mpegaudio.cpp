#include "audio/mpegaudio.h"

#include <cmath>
#include <cstring>

#include "platform/arquivos.h"

namespace quorvel {

namespace {

// kbit/s by version (0 = MPEG 2.5, 2 = MPEG 2, 3 = MPEG 1), layer (1 = III, 2 = II, 3 = I) and index.
constexpr uint16_t kTaxaMpeg1[4][16] = {
    {},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // Layer II
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // Layer I
};
constexpr uint16_t kTaxaMpeg2[4][16] = {
    {},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},          // Layer III
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},          // Layer II
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},     // Layer I
};
constexpr uint16_t kAmostragem[4][4] = {
    {11025, 12000, 8000, 0},  // MPEG 2.5
    {0, 0, 0, 0},             // reserved
    {22050, 24000, 16000, 0}, // MPEG 2
    {44100, 48000, 32000, 0}, // MPEG 1
};
const char* const kVersao[4] = {"MPEG 2.5", "MPEG ?", "MPEG 2", "MPEG 1"};
const char* const kCamada[4] = {"Layer ?", "Layer III", "Layer II", "Layer I"};
const char* const kModo[5] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono", "Unknown"};
const char* const kEnfase[4] = {"None", "50/15 ms", "Unknown", "CCIT J.17"};
const char* const kCodificador[8] = {"Unknown", "Xing", "FhG", "LAME", "Blade", "GoGo", "Shine", "QDesign"};

constexpr uint8_t kMpeg25 = 0, kMpeg2 = 2, kMpeg1 = 3;
constexpr uint8_t kLayerIII = 1, kLayerII = 2, kLayerI = 3;
constexpr uint8_t kMono = 3;

int32_t BigEndian32(const unsigned char* p) {
    return static_cast<int32_t>((uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]);
}

bool Comeca(const std::string& texto, const char* prefixo) {
    return texto.compare(0, std::strlen(prefixo), prefixo) == 0;
}

// Reads up to one block at the offset; the part beyond the end of the file stays zero. Returns the
// number of bytes read, or -1 when the offset lies before the start of the file.
int64_t LerBloco(const Arquivo& arquivo, int64_t posicao, unsigned char* bloco) {
    std::memset(bloco, 0, TMPEGaudio::TamanhoBloco);
    if (posicao < 0) return -1;
    return static_cast<int64_t>(arquivo.LerEm(posicao, bloco, TMPEGaudio::TamanhoBloco));
}

}  // namespace

bool TMPEGaudio::HeaderValido(const unsigned char* b) {
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
    const FrameInfo f = DecodificarCabecalho(b);
    return f.VersionID != 1 && f.LayerID != 0 && f.BitRateIndex != 0 && f.BitRateIndex != 15 &&
           f.SampleRateIndex != 3 && f.EmphasisID != 2;
}

FrameInfo TMPEGaudio::DecodificarCabecalho(const unsigned char* b) {
    FrameInfo f;
    std::memcpy(f.HeaderBytes, b, 4);
    f.VersionID = (b[1] >> 3) & 3;
    f.LayerID = (b[1] >> 1) & 3;
    f.CRCProtected = (b[1] & 1) == 0;
    f.BitRateIndex = (b[2] >> 4) & 15;
    f.SampleRateIndex = (b[2] >> 2) & 3;
    f.PaddingFlag = (b[2] & 2) != 0;
    f.PrivateFlag = (b[2] & 1) != 0;
    f.ModeID = (b[3] >> 6) & 3;
    f.ModeExtension = (b[3] >> 4) & 3;
    f.CopyrightFlag = (b[3] & 8) != 0;
    f.OriginalFlag = (b[3] & 4) != 0;
    f.EmphasisID = b[3] & 3;
    return f;
}

uint16_t TMPEGaudio::TaxaTabela(const FrameInfo& f) {
    if (f.VersionID > 3 || f.LayerID > 3 || f.BitRateIndex > 15) return 0;
    if (f.VersionID == kMpeg1) return kTaxaMpeg1[f.LayerID][f.BitRateIndex];
    if (f.VersionID == kMpeg2 || f.VersionID == kMpeg25) return kTaxaMpeg2[f.LayerID][f.BitRateIndex];
    return 0;
}

uint16_t TMPEGaudio::TaxaAmostragem(const FrameInfo& f) {
    if (f.VersionID > 3 || f.SampleRateIndex > 3) return 0;
    return kAmostragem[f.VersionID][f.SampleRateIndex];
}

int TMPEGaudio::Coeficiente(const FrameInfo& f) {
    if (f.LayerID == kLayerI) return 48;
    if (f.VersionID == kMpeg1) return 144;
    return f.LayerID == kLayerII ? 144 : 72;
}

int TMPEGaudio::Preenchimento(const FrameInfo& f) {
    if (!f.PaddingFlag) return 0;
    return f.LayerID == kLayerI ? 4 : 1;
}

uint16_t TMPEGaudio::FrameLength(const FrameInfo& f) {
    const uint16_t amostragem = TaxaAmostragem(f);
    if (amostragem == 0) return 0;
    const double bytes = std::trunc(double(Coeficiente(f)) * TaxaTabela(f) * 1000.0 / amostragem);
    return static_cast<uint16_t>(static_cast<int64_t>(bytes) + Preenchimento(f));
}

int TMPEGaudio::DeslocamentoLateral(const FrameInfo& f) {
    if (f.VersionID == kMpeg1) return f.ModeID == kMono ? 21 : 36;
    return f.ModeID == kMono ? 13 : 21;
}

VBRData TMPEGaudio::ReadVBRHeader(const unsigned char* bloco, int q) {
    VBRData vbr;
    const unsigned char* p = bloco + q;
    if (std::memcmp(p, "Xing", 4) == 0) {
        vbr.Found = true;
        std::memcpy(vbr.Signature, "Xing", 4);
        vbr.FrameCount = BigEndian32(p + 8);
        vbr.ByteCount = BigEndian32(p + 12);
        vbr.Quality = p[119];
        vbr.EncoderTag.assign(reinterpret_cast<const char*>(p + 120), 8);
    }
    if (std::memcmp(p, "VBRI", 4) == 0) {
        vbr.Found = true;
        std::memcpy(vbr.Signature, "VBRI", 4);
        vbr.Quality = p[9];
        vbr.ByteCount = BigEndian32(p + 10);
        vbr.FrameCount = BigEndian32(p + 14);
        vbr.EncoderTag.clear();
    }
    return vbr;
}

FrameInfo TMPEGaudio::ScanForFrame(const unsigned char* bloco, VBRData& vbr) {
    FrameInfo resultado;
    for (int p = 0; p <= TamanhoBloco - LimiteVarredura; ++p) {
        if (!HeaderValido(bloco + p)) continue;
        resultado = DecodificarCabecalho(bloco + p);
        const int comprimento = FrameLength(resultado);
        const int seguinte = static_cast<uint16_t>(p + comprimento);
        // The second header must lie wholly inside the block.
        if (seguinte + 4 > TamanhoBloco || !HeaderValido(bloco + seguinte)) continue;
        resultado.Found = true;
        resultado.Position = p;
        resultado.FrameSize = static_cast<uint16_t>(comprimento);
        resultado.SixZeroBytes = true;
        for (int i = 4; i < 10; ++i)
            if (bloco[p + i] != 0) resultado.SixZeroBytes = false;
        vbr = ReadVBRHeader(bloco, p + DeslocamentoLateral(resultado));
        return resultado;
    }
    resultado.Found = false;
    return resultado;
}

std::string TMPEGaudio::SearchEncoderTag(const unsigned char* bloco, uint16_t limite) {
    int fim = limite;
    if (fim > TamanhoBloco - 8) fim = TamanhoBloco - 8;
    for (int i = 0; i <= fim; ++i) {
        const unsigned char* p = bloco + TamanhoBloco - i - 8;
        if (std::memcmp(p, "LAME", 4) == 0) return std::string(reinterpret_cast<const char*>(p), 8);
        if (std::memcmp(p, "GOGO", 4) == 0) return "GOGO";
    }
    return std::string();
}

void TMPEGaudio::Reset() {
    fileLength_ = 0;
    encoderTag_.clear();
    vbr_ = VBRData();
    frame_ = FrameInfo();
    frame_.VersionID = 1;
    frame_.SampleRateIndex = 3;
    frame_.ModeID = 4;
    frame_.ModeExtension = 4;
    frame_.EmphasisID = 2;
    id3v1_.Reset();
    id3v2_.Reset();
    tagSemAudio_.Reset();
}

bool TMPEGaudio::ReadFromFile(const std::string& FileName) {
    bool resultado = false;
    Reset();
    auto arquivo = Arquivo::Abrir(FileName, Arquivo::Modo::Leitura);
    if (arquivo && id3v2_.ReadFromFile(*arquivo) && id3v1_.ReadFromFile(*arquivo)) {
        fileLength_ = arquivo->Tamanho();
        unsigned char bloco[TamanhoBloco];
        const int64_t lidos = LerBloco(*arquivo, id3v2_.Size(), bloco);
        frame_ = ScanForFrame(bloco, vbr_);
        if (!frame_.Found && lidos == TamanhoBloco) {
            LerBloco(*arquivo, (fileLength_ - id3v2_.Size()) / 2, bloco);
            frame_ = ScanForFrame(bloco, vbr_);
        }
        resultado = true;
        if (frame_.Found && !vbr_.Found) {
            const int64_t cauda = fileLength_ - (id3v1_.Exists() ? 3586 : 3458);
            if (LerBloco(*arquivo, cauda, bloco) < 0)
                resultado = false;  // too short a file for the tail block
            else
                encoderTag_ = SearchEncoderTag(bloco, static_cast<uint16_t>(frame_.FrameSize * 5));
        }
    }
    if (!frame_.Found) {
        TID3v2 lida = std::move(id3v2_);
        Reset();
        tagSemAudio_ = std::move(lida);
    }
    return resultado;
}

std::string TMPEGaudio::Version() const { return kVersao[frame_.VersionID & 3]; }
std::string TMPEGaudio::Layer() const { return kCamada[frame_.LayerID & 3]; }
uint16_t TMPEGaudio::SampleRate() const { return TaxaAmostragem(frame_); }
std::string TMPEGaudio::ChannelMode() const { return kModo[frame_.ModeID <= 4 ? frame_.ModeID : 4]; }
std::string TMPEGaudio::Emphasis() const { return kEnfase[frame_.EmphasisID & 3]; }

uint16_t TMPEGaudio::BitRate() const {
    if (vbr_.Found && vbr_.FrameCount > 0) {
        const double coeficiente = Coeficiente(frame_);
        const double taxa = std::nearbyint((double(vbr_.ByteCount) / vbr_.FrameCount - Preenchimento(frame_)) *
                                           SampleRate() / coeficiente / 1000.0);
        if (!(std::fabs(taxa) < 9.0e18)) return 0;
        return static_cast<uint16_t>(static_cast<int64_t>(taxa));
    }
    return TaxaTabela(frame_);
}

int64_t TMPEGaudio::TamanhoAudio() const {
    return fileLength_ - id3v2_.Size() - (id3v1_.Exists() ? 128 : 0) - frame_.Position;
}

int32_t TMPEGaudio::Frames() const {
    if (vbr_.Found) return vbr_.FrameCount;
    const uint16_t comprimento = FrameLength(frame_);
    if (comprimento == 0) return 0;
    return static_cast<int32_t>(TamanhoAudio() / comprimento);
}

double TMPEGaudio::Duration() const {
    if (!frame_.Found) return 0;
    const uint16_t amostragem = SampleRate();
    if (vbr_.Found && vbr_.FrameCount > 0) {
        if (amostragem == 0) return 0;
        // Samples counted in 64 bits: a 32-bit product would wrap for streams of many hours.
        const int64_t amostras = int64_t{Coeficiente(frame_)} * vbr_.FrameCount * 8;
        return double(amostras) / amostragem;
    }
    const uint16_t taxa = TaxaTabela(frame_);
    if (taxa == 0) return 0;
    return double(TamanhoAudio()) / taxa / 1000.0 * 8.0;
}

uint8_t TMPEGaudio::EncoderID() const {
    if (!frame_.Found) return 0;
    uint8_t id = 0;
    if (vbr_.Found) {
        const std::string& tag = vbr_.EncoderTag;
        const bool lame = Comeca(tag, "LAME"), gogo = Comeca(tag, "GOGO"), mpge = Comeca(tag, "MPGE");
        if (lame) id = 3;
        if (gogo) id = 5;
        if (mpge) id = 5;
        if (std::memcmp(vbr_.Signature, "Xing", 4) == 0 && !lame && !gogo && !mpge) id = 1;
        if (std::memcmp(vbr_.Signature, "VBRI", 4) == 0) id = 2;
        return id;
    }
    const FrameInfo& f = frame_;
    id = 2;
    if (f.OriginalFlag && f.CRCProtected) id = 3;
    if (TaxaTabela(f) <= 160 && f.ModeID == 0) id = 4;
    if (f.CopyrightFlag && f.OriginalFlag && !f.CRCProtected) id = 1;
    if (f.SixZeroBytes && f.OriginalFlag) id = 1;
    if (f.LayerID == kLayerII) id = 7;
    if (f.ModeID == 2 && f.CRCProtected) id = 6;
    if (Comeca(encoderTag_, "LAME")) id = 3;
    if (Comeca(encoderTag_, "GOGO")) id = 5;
    return id;
}

std::string TMPEGaudio::Encoder() const {
    const uint8_t id = EncoderID();
    std::string nome = kCodificador[id];
    std::string tag;
    if (!vbr_.EncoderTag.empty()) tag = vbr_.EncoderTag;
    if (!encoderTag_.empty()) tag = encoderTag_;
    auto digito = [](char c) { return c >= '0' && c <= '9'; };
    if (id == 3 && tag.size() >= 8 && digito(tag[4]) && tag[5] == '.' && digito(tag[6]) && digito(tag[7]))
        nome += " " + tag.substr(4, 4);
    return nome;
}

bool TMPEGaudio::Valid() const {
    const uint16_t taxa = BitRate();
    return frame_.Found && taxa >= 8 && taxa <= 448 && Duration() >= 0.1;
}

}  // namespace quorvel
