// Robustness: many thousands of mutated and random files, seeded from real ones, fed to every
// reader, to the audio information record and to the tag rewrite. Run under AddressSanitizer and
// UndefinedBehaviorSanitizer (scripts/testes-sanitizados.sh) this finds reads outside buffers and
// undefined arithmetic; on its own it checks that a rewrite never loses the audio.
//
// QUORVEL_FUZZ_ITERACOES sets the number of inputs (default 3000); QUORVEL_FUZZ_SEMENTE the seed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "audio/id3v1.h"
#include "audio/id3v2.h"
#include "audio/mpegaudio.h"
#include "audio/wavfile.h"
#include "music/gravar_tag.h"
#include "music/info_audio.h"
#include "platform/erros.h"

namespace quorvel {
namespace {

using teste::LerBytes;

int Iteracoes() {
    const char* v = std::getenv("QUORVEL_FUZZ_ITERACOES");
    return v ? std::atoi(v) : 3000;
}

std::vector<std::string> Sementes(const std::string& pasta) {
    std::vector<std::string> s;
    // Hand-made material, always available.
    const std::string h128("\xFF\xFB\x90\x64", 4);
    std::string fluxo;
    for (int i = 0; i < 12; ++i) fluxo += h128 + std::string(413, static_cast<char>(i));
    s.push_back(fluxo);
    std::string xing = fluxo;
    xing.replace(36, 4, "Xing");
    xing.replace(156, 8, "LAME3.99");
    s.push_back(xing);
    std::string vbri = fluxo;
    vbri.replace(36, 4, "VBRI");
    s.push_back(vbri);
    s.push_back(teste::TagID3v2Manual(3, 0, teste::QuadroManual("TIT2", std::string(1, '\0') + "t") +
                                               teste::QuadroManual("COMM", std::string("\x01" "eng\xFF\xFE\0\0\xFF\xFEx\0", 13)),
                                      40) +
                fluxo + teste::BlocoID3v1("a", "b", "c", "d", "e", 1, 2));
    s.push_back(teste::TagID3v2Manual(2, 0, teste::QuadroManual("TRI", std::string(1, '\0') + "r"), 10) + fluxo);
    std::string wav(44, '\0');
    std::memcpy(&wav[0], "RIFF\x30\x01\0\0WAVEfmt \x12\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0", 36);
    std::memcpy(&wav[36], "\0\0fact", 6);
    s.push_back(wav + std::string(300, '\x05'));

    // Real files, when the tools are there.
    if (teste::FerramentasAusentes({"sox", "lame"}).empty()) {
        const char* opcoes[] = {"-b 128", "-V 2", "-m m -V 5", "--resample 22.05 -b 48", "--resample 8 -b 8"};
        int n = 0;
        for (const char* o : opcoes) {
            const std::string f = pasta + "/semente" + std::to_string(n++) + ".mp3";
            teste::GerarMp3(f, 0.4, o);
            s.push_back(LerBytes(f));
        }
        const std::string w = pasta + "/semente.wav";
        teste::GerarWav(w, 0.2, 8000, 1, "-e a-law");
        s.push_back(LerBytes(w));
    }
    if (teste::FerramentasAusentes({"twolame"}).empty()) {
        const std::string f = pasta + "/semente.mp2";
        teste::GerarMp2(f, 0.4, "-b 64");
        s.push_back(LerBytes(f));
    }
    return s;
}

class Mutador {
public:
    explicit Mutador(uint32_t semente) : g_(semente) {}
    uint32_t operator()(uint32_t n) { return n ? static_cast<uint32_t>(g_() % n) : 0; }

    std::string Mutar(std::string b, const std::vector<std::string>& sementes) {
        static const char* const marcas[] = {"ID3", "TAG", "Xing", "VBRI", "LAME", "GOGO", "RIFF",
                                             "WAVE", "fmt ", "data", "fact", "\xFF\xFB\x90\x64",
                                             "\xFF\xE3", "\xFF\xFF\xFF\xFF", "\x7F\xFF\xFF\xFF",
                                             "\x80\0\0\0", "\0\0\0\0"};
        const int passos = 1 + (*this)(8);
        for (int i = 0; i < passos; ++i) {
            switch ((*this)(9)) {
                case 0:  // flip bytes
                    for (int k = (*this)(16); k >= 0 && !b.empty(); --k) b[(*this)(b.size())] ^= 1 << (*this)(8);
                    break;
                case 1:  // random bytes
                    for (int k = (*this)(16); k >= 0 && !b.empty(); --k) b[(*this)(b.size())] = static_cast<char>((*this)(256));
                    break;
                case 2: {  // a known marker somewhere, often near the start or the end
                    const char* m = marcas[(*this)(sizeof marcas / sizeof *marcas)];
                    const size_t n = std::max<size_t>(1, std::strlen(m));
                    if (b.size() < n) break;
                    size_t pos = (*this)(3) == 0 ? (*this)(std::min<size_t>(b.size() - n + 1, 200))
                                                 : (*this)(b.size() - n + 1);
                    b.replace(pos, n, m, n);
                    break;
                }
                case 3:  // truncate
                    if (!b.empty()) b.resize((*this)(b.size()));
                    break;
                case 4:  // delete a run
                    if (!b.empty()) {
                        const size_t pos = (*this)(b.size());
                        b.erase(pos, (*this)(600));
                    }
                    break;
                case 5: {  // insert a run of zeros, 0xFF or random bytes
                    const size_t pos = (*this)(b.size() + 1);
                    std::string ins((*this)(700), '\0');
                    const int tipo = (*this)(3);
                    for (auto& c : ins) c = tipo == 0 ? '\0' : tipo == 1 ? '\xFF' : static_cast<char>((*this)(256));
                    b.insert(pos, ins);
                    break;
                }
                case 6: {  // splice with another seed
                    const std::string& o = sementes[(*this)(sementes.size())];
                    if (o.empty()) break;
                    const size_t de = (*this)(o.size());
                    b.insert((*this)(b.size() + 1), o.substr(de, (*this)(4000)));
                    break;
                }
                case 7:  // an ID3v2 header with any size bytes and flags at the start
                    if (b.size() >= 10) {
                        b.replace(0, 3, "ID3");
                        b[3] = static_cast<char>(2 + (*this)(4));
                        b[5] = static_cast<char>((*this)(256));
                        for (int k = 6; k < 10; ++k) b[k] = static_cast<char>((*this)(256));
                    }
                    break;
                default:  // a little-endian or big-endian 32-bit number
                    if (b.size() >= 4) {
                        const uint32_t v = (*this)(2) ? g_() : (*this)(70000);
                        const size_t pos = (*this)(b.size() - 3);
                        std::memcpy(&b[pos], &v, 4);
                    }
            }
        }
        return b;
    }

private:
    std::mt19937 g_;
};

// Reads every property so that each computation runs.
void Consultar(const TMPEGaudio& m) {
    volatile double d = m.Duration();
    volatile int x = m.BitRate() + m.SampleRate() + m.Frames() + m.EncoderID() + m.Valid();
    const std::string t = m.Version() + m.Layer() + m.ChannelMode() + m.Emphasis() + m.Encoder();
    (void)d;
    (void)x;
    (void)t;
}

TEST(FuzzAudio, EntradasArbitrariasNuncaQuebramNemPerdemOAudio) {
    teste::PastaTemporaria pasta;
    const std::vector<std::string> sementes = Sementes(pasta.Caminho());
    const char* s = std::getenv("QUORVEL_FUZZ_SEMENTE");
    Mutador sorte(s ? static_cast<uint32_t>(std::strtoul(s, nullptr, 10)) : 20091231u);
    const std::string mp3 = pasta.Caminho() + "/f.mp3";
    const std::string wav = pasta.Caminho() + "/f.wav";
    const int n = Iteracoes();
    int gravacoes = 0, gravacoesOk = 0, quadros = 0, vbr = 0, tags = 0, wavs = 0;

    for (int i = 0; i < n; ++i) {
        std::string entrada;
        if (sorte(20) == 0) {
            entrada.resize(sorte(5000));
            for (auto& c : entrada) c = static_cast<char>(sorte(256));
        } else {
            entrada = sorte.Mutar(sementes[sorte(sementes.size())], sementes);
        }
        teste::GravarBytes(mp3, entrada);
        teste::GravarBytes(wav, entrada);

        TID3v1 v1;
        v1.ReadFromFile(mp3);
        (void)v1.Genre();
        TID3v2 v2;
        v2.ReadFromFile(mp3);
        TMPEGaudio m;
        m.ReadFromFile(mp3);
        Consultar(m);
        quadros += m.Frame().Found;
        vbr += m.VBR().Found;
        tags += v2.Exists() && v2.Size() > 0;
        TWAVfile w;
        w.ReadFromFile(wav);
        (void)w.Duration();
        (void)w.ChannelMode();
        wavs += w.Valid();

        LerInfoAudio(wav);
        ArquivoAudio audio = LerInfoAudio(mp3);

        if (i % 3 == 0) {
            // Rewrite the tag and check that everything after the old tag survived.
            ++gravacoes;
            ValoresTag v;
            v[TID3v2::SlotTitle] = "Titulo " + std::to_string(i);
            v[TID3v2::SlotTSUC] = "N";
            if (sorte(4) == 0) v[TID3v2::SlotComposer] = std::string(sorte(6000), 'c');  // may outgrow 4,096 bytes
            if (sorte(8) == 0) v[TID3v2::SlotTrack] = sorte(2) ? "x" : std::to_string(sorte(70000));
            unsigned char cab[10] = {};
            const bool temCab = entrada.size() >= 10;
            if (temCab) std::memcpy(cab, entrada.data(), 10);
            const int32_t antigo =
                temCab && std::memcmp(cab, "ID3", 3) == 0 ? TID3v2::TagSize(cab, entrada.size()) : 0;
            try {
                GravarTag(audio, v);
            } catch (const ErroConversao&) {
                EXPECT_EQ(LerBytes(mp3), entrada) << "input " << i;
                continue;
            }
            const std::string depois = LerBytes(mp3);
            if (depois == entrada) {
                EXPECT_LT(entrada.size(), 10u) << "input " << i << ": nothing written";
            } else {
                ++gravacoesOk;
                ASSERT_GE(depois.size(), 10u);
                ASSERT_EQ(depois.substr(0, 6), std::string("ID3\x03\0\0", 6)) << "input " << i;
                const int32_t novo = TID3v2::TagSize(reinterpret_cast<const unsigned char*>(depois.data()), depois.size());
                ASSERT_GT(novo, 0);
                // In place or rewritten, what followed the old tag (or the whole file) follows the new one.
                EXPECT_EQ(depois.substr(novo), entrada.substr(antigo)) << "input " << i << ": audio changed";
                TID3v2 relido;
                ASSERT_TRUE(relido.ReadFromFile(mp3));
                EXPECT_EQ(relido.Texto(TID3v2::SlotTitle), v[TID3v2::SlotTitle]);
                EXPECT_EQ(relido.Texto(TID3v2::SlotTCAD), "S");
            }
        }
    }
    EXPECT_GT(gravacoesOk, gravacoes / 2);
    // The inputs reach the deep paths: accepted frames, VBR headers, tags with frames, WAV headers.
    EXPECT_GT(quadros, n / 5);
    EXPECT_GT(vbr, n / 100);
    EXPECT_GT(tags, n / 100);
    EXPECT_GT(wavs, n / 100);
    std::printf("fuzz: %d inputs, %d frames found, %d VBR headers, %d tags, %d WAV headers, %d of %d rewrites\n",
                n, quadros, vbr, tags, wavs, gravacoesOk, gravacoes);
}

}  // namespace
}  // namespace quorvel
