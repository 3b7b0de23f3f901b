// WAV headers of files made by sox, and altered headers for the layouts sox does not write.
#include <gtest/gtest.h>

#include <cstring>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "audio/wavfile.h"

namespace quorvel {
namespace {

using teste::LerBytes;

void Por32(std::string& b, size_t pos, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[pos + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Por16(std::string& b, size_t pos, uint16_t v) {
    b[pos] = static_cast<char>(v & 0xFF);
    b[pos + 1] = static_cast<char>(v >> 8);
}

// A canonical header: fmt of 16 bytes, then "data".
std::string Canonico(uint16_t canais, uint32_t taxa, uint16_t bits, uint32_t bytesDados) {
    std::string h(44, '\0');
    std::memcpy(&h[0], "RIFF", 4);
    Por32(h, 4, 36 + bytesDados);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    Por32(h, 16, 16);
    Por16(h, 20, 1);
    Por16(h, 22, canais);
    Por32(h, 24, taxa);
    Por32(h, 28, taxa * canais * bits / 8);
    Por16(h, 32, canais * bits / 8);
    Por16(h, 34, bits);
    std::memcpy(&h[36], "data", 4);
    Por32(h, 40, bytesDados);
    return h + std::string(bytesDados, '\x01');
}

class WAVTeste : public ::testing::Test {
protected:
    teste::PastaTemporaria pasta;
    std::string Arquivo(const std::string& nome, const std::string& conteudo) {
        const std::string caminho = pasta.Caminho() + "/" + nome;
        teste::GravarBytes(caminho, conteudo);
        return caminho;
    }
};

TEST_F(WAVTeste, PCMDoSoxEstereoEMono) {
    QUORVEL_EXIGIR("sox");
    const std::string estereo = pasta.Caminho() + "/e.wav";
    teste::GerarWav(estereo, 12.3456, 44100, 2);
    TWAVfile w;
    ASSERT_TRUE(w.ReadFromFile(estereo));
    ASSERT_TRUE(w.Valid());
    EXPECT_EQ(w.FormatTag(), 1);
    EXPECT_EQ(w.Channels(), 2);
    EXPECT_EQ(w.ChannelMode(), "Stereo");
    EXPECT_EQ(w.SampleRate(), 44100u);
    EXPECT_EQ(w.BytesPerSecond(), 176400u);
    EXPECT_EQ(w.BlockAlign(), 4);
    EXPECT_EQ(w.BitsPerSample(), 16);
    EXPECT_EQ(w.SampleCount(), 0);
    EXPECT_EQ(w.HeaderSize(), 44);
    EXPECT_EQ(w.FileSize(), LerBytes(estereo).size());
    EXPECT_NEAR(w.Duration(), 12.3456, 0.0001);
    EXPECT_DOUBLE_EQ(w.Duration(), (w.FileSize() - 44.0) / 176400);

    const std::string mono = pasta.Caminho() + "/m.wav";
    teste::GerarWav(mono, 1.5, 22050, 1, "-b 8 -e unsigned-integer");
    ASSERT_TRUE(w.ReadFromFile(mono));
    EXPECT_EQ(w.ChannelMode(), "Mono");
    EXPECT_EQ(w.BitsPerSample(), 8);
    EXPECT_NEAR(w.Duration(), 1.5, 0.0001);  // sox pads odd data to an even length
}

TEST_F(WAVTeste, ALawDoSoxTemFactComContagem) {
    QUORVEL_EXIGIR("sox");
    // sox writes non-PCM formats with an 18-byte fmt chunk and a fact chunk.
    const std::string alaw = pasta.Caminho() + "/a.wav";
    teste::GerarWav(alaw, 2.5, 8000, 1, "-e a-law");
    const std::string bytes = LerBytes(alaw);
    ASSERT_EQ(bytes.substr(38, 4), "fact");
    TWAVfile w;
    ASSERT_TRUE(w.ReadFromFile(alaw));
    ASSERT_TRUE(w.Valid());
    EXPECT_EQ(w.FormatTag(), 6);
    EXPECT_EQ(w.SampleCount(), 20000);
    EXPECT_EQ(w.HeaderSize(), 58);
    EXPECT_DOUBLE_EQ(w.Duration(), 2.5);
}

TEST_F(WAVTeste, MaisDeDoisCanaisOuNenhum) {
    QUORVEL_EXIGIR("sox");
    const std::string tres = pasta.Caminho() + "/3.wav";
    teste::GerarWav(tres, 0.5, 8000, 3);
    TWAVfile w;
    EXPECT_TRUE(w.ReadFromFile(tres));
    EXPECT_FALSE(w.Valid());
    EXPECT_EQ(w.Duration(), 0);
    EXPECT_EQ(w.FileSize(), 0u);
    std::string zero = Canonico(1, 8000, 16, 1000);
    Por16(zero, 22, 0);
    EXPECT_TRUE(w.ReadFromFile(Arquivo("0.wav", zero)));
    EXPECT_FALSE(w.Valid());
    // Channel count 258 has low byte 2 but is not 2.
    std::string alto = Canonico(2, 8000, 16, 1000);
    Por16(alto, 22, 258);
    EXPECT_TRUE(w.ReadFromFile(Arquivo("258.wav", alto)));
    EXPECT_FALSE(w.Valid());
}

TEST_F(WAVTeste, TamanhoRIFFMandaNaDuracao) {
    TWAVfile w;
    std::string b = Canonico(2, 44100, 16, 176400);
    Por32(b, 4, 36 + 2 * 176400);  // claims two seconds, holds one
    ASSERT_TRUE(w.ReadFromFile(Arquivo("mente.wav", b)));
    EXPECT_DOUBLE_EQ(w.Duration(), 2.0);

    Por32(b, 4, 10);  // declared size 18, below the header
    ASSERT_TRUE(w.ReadFromFile(Arquivo("10.wav", b)));
    EXPECT_EQ(w.FileSize(), 18u);
    EXPECT_EQ(w.HeaderSize(), 18);
    EXPECT_EQ(w.Duration(), 0);

    Por32(b, 4, 0xFFFFFFFF);  // size + 8 wraps in 32 bits
    ASSERT_TRUE(w.ReadFromFile(Arquivo("wrap.wav", b)));
    EXPECT_EQ(w.FileSize(), 7u);
    EXPECT_EQ(w.HeaderSize(), 7);

    std::string semTaxa = Canonico(1, 8000, 16, 1000);
    Por32(semTaxa, 28, 0);
    ASSERT_TRUE(w.ReadFromFile(Arquivo("bps0.wav", semTaxa)));
    EXPECT_TRUE(w.Valid());
    EXPECT_EQ(w.Duration(), 0);
}

TEST_F(WAVTeste, Fmt18SeguidoDeDataLeContagemDoAudio) {
    // fmt of 18 bytes directly followed by "data": the count comes from offset 46, the first
    // audio bytes.
    std::string b = Canonico(1, 8000, 16, 0);
    Por32(b, 16, 18);
    b.resize(36);
    b += std::string(2, '\0') + "data";
    b += std::string(4, '\0');
    b += std::string("\x40\x1F\x00\x00", 4);  // the first audio bytes read as 8,000
    b += std::string(7996, '\x01');
    Por32(b, 4, static_cast<uint32_t>(b.size() - 8));
    TWAVfile w;
    ASSERT_TRUE(w.ReadFromFile(Arquivo("fmt18.wav", b)));
    EXPECT_EQ(w.SampleCount(), 8000);
    EXPECT_EQ(w.HeaderSize(), 58);
    EXPECT_DOUBLE_EQ(w.Duration(), 1.0);
}

TEST_F(WAVTeste, ArquivosCurtosOuQueNaoSaoWAV) {
    TWAVfile w;
    EXPECT_FALSE(w.ReadFromFile(Arquivo("39.wav", Canonico(1, 8000, 16, 0).substr(0, 39))));
    EXPECT_FALSE(w.ReadFromFile(pasta.Caminho() + "/nada.wav"));
    // Not "data" at 36 and nothing at fmt size + 28.
    std::string b = Canonico(1, 8000, 16, 0).substr(0, 40);
    Por32(b, 16, 100000);
    std::memcpy(&b[36], "LIST", 4);
    EXPECT_FALSE(w.ReadFromFile(Arquivo("semfact.wav", b)));
    EXPECT_FALSE(w.Valid());
    EXPECT_TRUE(w.ReadFromFile(Arquivo("mp3.wav", std::string("\xFF\xFB\x90\x64", 4) + std::string(500, '\0'))));
    EXPECT_FALSE(w.Valid());
    std::string rifx = Canonico(1, 8000, 16, 100);
    std::memcpy(&rifx[0], "RIFX", 4);
    EXPECT_TRUE(w.ReadFromFile(Arquivo("rifx.wav", rifx)));
    EXPECT_FALSE(w.Valid());
}

}  // namespace
}  // namespace quorvel
