// MPEG audio analysis of files made by lame and twolame (CBR, VBR with Xing/LAME header, MPEG 2
// and 2.5, mono, Layer II, free format), checked against the formulas and against mutagen, and of
// real files altered where no encoder makes the case (VBRI, a Xing count of 0, tails, tags).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <algorithm>
#include <memory>
#include <vector>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "audio/mpegaudio.h"

namespace quorvel {
namespace {

using teste::GravarBytes;
using teste::LerBytes;

class MPEGaudioTeste : public ::testing::Test {
protected:
    static void SetUpTestSuite() { pasta_ = std::make_unique<teste::PastaTemporaria>(); }
    static void TearDownTestSuite() { pasta_.reset(); }
    void SetUp() override { QUORVEL_EXIGIR("sox", "lame"); }

    // An MP3 made once per suite for the given lame options.
    static std::string Mp3(const std::string& nome, const std::string& opcoes, int canais = 2,
                           double segundos = 3) {
        const std::string caminho = pasta_->Caminho() + "/" + nome;
        if (LerBytes(caminho).empty()) teste::GerarMp3(caminho, segundos, opcoes, 44100, canais);
        return caminho;
    }
    static std::string Arquivo(const std::string& nome, const std::string& conteudo) {
        const std::string caminho = pasta_->Caminho() + "/" + nome;
        GravarBytes(caminho, conteudo);
        return caminho;
    }
    static double DuracaoCBR(const TMPEGaudio& m) {
        const int64_t audio = m.FileLength() - m.ID3v2().Size() - (m.ID3v1().Exists() ? 128 : 0) -
                              m.Frame().Position;
        return double(audio) / m.BitRate() / 1000 * 8;
    }
    static inline std::unique_ptr<teste::PastaTemporaria> pasta_;
};

TEST_F(MPEGaudioTeste, CBR128EstereoDoLame) {
    const std::string mp3 = Mp3("cbr128.mp3", "-b 128");
    TMPEGaudio m;
    ASSERT_TRUE(m.ReadFromFile(mp3));
    ASSERT_TRUE(m.Frame().Found);
    EXPECT_EQ(m.Version(), "MPEG 1");
    EXPECT_EQ(m.Layer(), "Layer III");
    EXPECT_EQ(m.BitRate(), 128);
    EXPECT_EQ(m.SampleRate(), 44100);
    EXPECT_EQ(m.ChannelMode(), "Joint Stereo");
    EXPECT_EQ(m.Emphasis(), "None");
    EXPECT_FALSE(m.VBR().Found);  // lame's "Info" header of CBR files is not a Xing header
    EXPECT_EQ(m.Frame().Position, 0);
    EXPECT_EQ(m.Frame().FrameSize, m.Frame().PaddingFlag ? 418 : 417);
    EXPECT_EQ(m.FileLength(), static_cast<int64_t>(LerBytes(mp3).size()));
    EXPECT_DOUBLE_EQ(m.Duration(), DuracaoCBR(m));
    EXPECT_NEAR(m.Duration(), 3.0, 0.1);
    EXPECT_EQ(m.Frames(), (m.FileLength() - m.Frame().Position) / TMPEGaudio::FrameLength(m.Frame()));
    // lame leaves its name in the ancillary data near the end of the stream.
    EXPECT_EQ(m.EncoderTag(), "LAME3.10");
    EXPECT_EQ(m.EncoderID(), 3);
    EXPECT_EQ(m.Encoder(), "LAME 3.10");
    EXPECT_TRUE(m.Valid());
}

TEST_F(MPEGaudioTeste, VBRComCabecalhoXingELame) {
    QUORVEL_EXIGIR("mutagen");
    const std::string mp3 = Mp3("vbr.mp3", "-V 2");
    TMPEGaudio m;
    ASSERT_TRUE(m.ReadFromFile(mp3));
    ASSERT_TRUE(m.VBR().Found);
    EXPECT_EQ(std::string(m.VBR().Signature, 4), "Xing");
    EXPECT_EQ(m.VBR().EncoderTag, "LAME3.10");
    EXPECT_EQ(m.Frames(), m.VBR().FrameCount);
    EXPECT_DOUBLE_EQ(m.Duration(), 1152.0 * m.VBR().FrameCount / 44100);
    const double media = double(m.VBR().ByteCount) / m.VBR().FrameCount;
    EXPECT_EQ(m.BitRate(), std::nearbyint((media - (m.Frame().PaddingFlag ? 1 : 0)) * 44100 / 144 / 1000));
    EXPECT_EQ(m.EncoderID(), 3);
    EXPECT_EQ(m.Encoder(), "LAME 3.10");
    EXPECT_TRUE(m.Valid());
    EXPECT_EQ(m.EncoderTag(), "");  // no tail search when a VBR header was found
    // mutagen, independently: the same frame count behind the length, and a similar bit rate.
    const std::string info = teste::Python(
        "import mutagen.mp3\ni = mutagen.mp3.MP3(sys.argv[1]).info\nprint(repr(i.length), i.bitrate)", mp3);
    EXPECT_NEAR(std::stod(info), m.Duration(), 0.06);  // mutagen leaves out the encoder delay
    EXPECT_NEAR(std::stod(info.substr(info.find(' '))) / 1000.0, m.BitRate(), 2.0);
}

TEST_F(MPEGaudioTeste, MPEG2EMPEG25EMono) {
    QUORVEL_EXIGIR("mutagen");
    struct Caso {
        const char* nome;
        const char* opcoes;
        int canais;
        const char* versao;
        int taxa;
        const char* modo;
        bool vbr;
    } casos[] = {
        {"m2.mp3", "--resample 22.05 -b 64", 2, "MPEG 2", 22050, "Joint Stereo", false},
        {"m25.mp3", "--resample 8 -b 16", 2, "MPEG 2.5", 8000, "Joint Stereo", false},
        {"mono1.mp3", "-m m -V 4", 1, "MPEG 1", 44100, "Mono", true},      // Xing at offset 21
        {"mono2.mp3", "-m m -V 4 --resample 16", 1, "MPEG 2", 16000, "Mono", true},  // offset 13
        {"est2.mp3", "-V 4 --resample 24", 2, "MPEG 2", 24000, "Joint Stereo", true},  // offset 21
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const std::string mp3 = Mp3(c.nome, c.opcoes, c.canais);
        TMPEGaudio m;
        ASSERT_TRUE(m.ReadFromFile(mp3));
        EXPECT_EQ(m.Version(), c.versao);
        EXPECT_EQ(m.SampleRate(), c.taxa);
        EXPECT_EQ(m.ChannelMode(), c.modo);
        EXPECT_EQ(m.VBR().Found, c.vbr);
        EXPECT_TRUE(m.Valid());
        const int coeficiente = std::string(c.versao) == "MPEG 1" ? 144 : 72;
        if (c.vbr)
            EXPECT_DOUBLE_EQ(m.Duration(), double(coeficiente * 8 * m.VBR().FrameCount) / c.taxa);
        else
            EXPECT_DOUBLE_EQ(m.Duration(), DuracaoCBR(m));
        const std::string info = teste::Python(
            "import mutagen.mp3\ni = mutagen.mp3.MP3(sys.argv[1]).info\nprint(i.sample_rate, i.mode)", mp3);
        EXPECT_EQ(std::stoi(info), c.taxa);
    }
}

TEST_F(MPEGaudioTeste, LayerIIDoTwolame) {
    QUORVEL_EXIGIR("twolame");
    const std::string mp2 = pasta_->Caminho() + "/l2.mp3";
    teste::GerarMp2(mp2, 2, "-b 192");
    TMPEGaudio m;
    ASSERT_TRUE(m.ReadFromFile(mp2));
    EXPECT_EQ(m.Layer(), "Layer II");
    EXPECT_EQ(m.Version(), "MPEG 1");
    EXPECT_EQ(m.BitRate(), 192);
    EXPECT_EQ(m.Frame().FrameSize, m.Frame().PaddingFlag ? 627 : 626);
    EXPECT_EQ(m.EncoderID(), 7);
    EXPECT_EQ(m.Encoder(), "QDesign");
    EXPECT_NEAR(m.Duration(), 2.0, 0.1);
    EXPECT_TRUE(m.Valid());
}

TEST_F(MPEGaudioTeste, FormatoLivreNuncaEAceito) {
    const std::string mp3 = pasta_->Caminho() + "/livre.mp3";
    teste::GerarMp3(mp3, 2, "--freeformat -b 200");
    ASSERT_EQ(static_cast<unsigned char>(LerBytes(mp3)[2]) >> 4, 0);  // bit-rate index 0
    TMPEGaudio m;
    EXPECT_TRUE(m.ReadFromFile(mp3));
    EXPECT_FALSE(m.Frame().Found);
    EXPECT_FALSE(m.Valid());
    EXPECT_EQ(m.Duration(), 0);
    EXPECT_EQ(m.FileLength(), 0);
    EXPECT_EQ(m.Version(), "MPEG ?");
    EXPECT_EQ(m.Layer(), "Layer ?");
    EXPECT_EQ(m.SampleRate(), 0);
    EXPECT_EQ(m.ChannelMode(), "Unknown");
    EXPECT_EQ(m.Emphasis(), "Unknown");
}

TEST_F(MPEGaudioTeste, TagsAntesEDepoisDoAudio) {
    const std::string base = LerBytes(Mp3("cbr128.mp3", "-b 128"));
    const std::string q = teste::QuadroManual("TIT2", std::string(1, '\0') + "x");
    const std::string v1 = teste::BlocoID3v1("T", "A", "B", "2000", "", 1, 1);
    TMPEGaudio m;

    const std::string tag = teste::TagID3v2Manual(3, 0, q, 500);
    ASSERT_TRUE(m.ReadFromFile(Arquivo("tags.mp3", tag + base + v1)));
    EXPECT_EQ(m.ID3v2().Size(), static_cast<int32_t>(tag.size()));
    EXPECT_TRUE(m.ID3v1().Exists());
    EXPECT_EQ(m.Frame().Position, 0);
    EXPECT_DOUBLE_EQ(m.Duration(), double(base.size()) / 128 / 1000 * 8);

    // A footer is part of the tag; the scan starts after it.
    std::string rodape = teste::TagID3v2Manual(4, 0x10, q, 100);
    rodape += "3DI" + rodape.substr(3, 7);
    ASSERT_TRUE(m.ReadFromFile(Arquivo("rodape.mp3", rodape + base)));
    EXPECT_EQ(m.ID3v2().Size(), static_cast<int32_t>(rodape.size()));
    EXPECT_EQ(m.Frame().Position, 0);

    // A tag claiming more than the file holds has size 0: the scan starts at 0 and finds the
    // audio after the tag's bytes.
    const std::string falsa = teste::TagID3v2Manual(3, 0, q, 0, 10000000);
    ASSERT_TRUE(m.ReadFromFile(Arquivo("falsa.mp3", falsa + base)));
    EXPECT_EQ(m.ID3v2().Size(), 0);
    EXPECT_EQ(m.Frame().Position, static_cast<int32_t>(falsa.size()));
}

TEST_F(MPEGaudioTeste, CabecalhoSemSucessorEPuladoEOMeioDoArquivoEProcurado) {
    const std::string base = LerBytes(Mp3("cbr128.mp3", "-b 128"));
    TMPEGaudio m;
    // A header pattern with no header one frame later is skipped.
    const std::string falso = std::string("\xFF\xFB\x90\x64", 4) + std::string(600, '\x11');
    ASSERT_TRUE(m.ReadFromFile(Arquivo("falso.mp3", falso + base)));
    EXPECT_EQ(m.Frame().Position, static_cast<int32_t>(falso.size()));

    // Nothing in the first block: the block from the middle is scanned, and Position counts
    // from that block.
    const std::string lixo(5000, '\x11');
    const std::string arquivo = Arquivo("meio.mp3", lixo + base);
    ASSERT_TRUE(m.ReadFromFile(arquivo));
    ASSERT_TRUE(m.Frame().Found);
    const int64_t meio = m.FileLength() / 2;
    const std::string bytes = LerBytes(arquivo);
    EXPECT_EQ(static_cast<unsigned char>(bytes[meio + m.Frame().Position]), 0xFF);
    EXPECT_LT(m.Frame().Position, 1730);
    EXPECT_DOUBLE_EQ(m.Duration(), double(m.FileLength() - m.Frame().Position) / 128 / 1000 * 8);

    // The first block is short (the whole file) and holds nothing: no second look.
    ASSERT_TRUE(m.ReadFromFile(Arquivo("curto.mp3", std::string(3000, '\x11'))));
    EXPECT_FALSE(m.Frame().Found);
}

TEST_F(MPEGaudioTeste, ArquivoCBRCurtoNaoLeACaudaMasGuardaOQuadro) {
    const std::string base = LerBytes(Mp3("semInfo.mp3", "-t -b 128"));
    TMPEGaudio m;
    EXPECT_FALSE(m.ReadFromFile(Arquivo("3000.mp3", base.substr(0, 3000))));
    EXPECT_TRUE(m.Frame().Found);
    EXPECT_EQ(m.FileLength(), 3000);
    EXPECT_EQ(m.BitRate(), 128);
    // With an ID3v1 tag the tail block needs 3,586 bytes.
    const std::string v1 = teste::BlocoID3v1("T", "A", "B", "2000", "", 1, 1);
    EXPECT_FALSE(m.ReadFromFile(Arquivo("3457.mp3", base.substr(0, 3457) + v1)));
    EXPECT_TRUE(m.Frame().Found);
    EXPECT_TRUE(m.ReadFromFile(Arquivo("3458.mp3", base.substr(0, 3458) + v1)));
    // Too short for the tag readers: nothing at all.
    EXPECT_FALSE(m.ReadFromFile(Arquivo("100.mp3", base.substr(0, 100))));
    EXPECT_FALSE(m.Frame().Found);
    EXPECT_EQ(m.FileLength(), 0);
    EXPECT_FALSE(m.ReadFromFile(pasta_->Caminho() + "/nao-existe.mp3"));
}

TEST_F(MPEGaudioTeste, EtiquetaLame398AntesDoID3v1) {
    std::string base = LerBytes(Mp3("semInfo.mp3", "-t -b 128"));
    base.replace(base.size() - 8, 8, "LAME3.98");
    TMPEGaudio m;
    ASSERT_TRUE(m.ReadFromFile(Arquivo("398.mp3", base + teste::BlocoID3v1("T", "", "", "", "", 0, 0))));
    EXPECT_EQ(m.EncoderTag(), "LAME3.98");
    EXPECT_EQ(m.EncoderID(), 3);
    EXPECT_EQ(m.Encoder(), "LAME 3.98");
    // GOGO gives its name alone.
    base.replace(base.size() - 8, 8, "GOGO1234");
    ASSERT_TRUE(m.ReadFromFile(Arquivo("gogo.mp3", base)));
    EXPECT_EQ(m.EncoderTag(), "GOGO");
    EXPECT_EQ(m.Encoder(), "GoGo");
}

TEST_F(MPEGaudioTeste, VBRIEXingComContagemZero) {
    // A Fraunhofer VBRI header written into the first frame of a real stream, where a Xing
    // header would stand (after 32 bytes of side information for MPEG 1 stereo).
    std::string base = LerBytes(Mp3("semInfo.mp3", "-t -b 128"));
    const int q = 36;
    std::string vbri = "VBRI";
    vbri += std::string("\x00\x01\x00\x00\x00\x4B", 6);    // version, delay, quality 75
    vbri += std::string("\x00\x01\x00\x00", 4);            // 65,536 bytes
    vbri += std::string("\x00\x00\x01\x2C", 4);            // 300 frames
    std::string vb = base;
    vb.replace(q, vbri.size(), vbri);
    TMPEGaudio m;
    ASSERT_TRUE(m.ReadFromFile(Arquivo("vbri.mp3", vb)));
    ASSERT_TRUE(m.VBR().Found);
    EXPECT_EQ(std::string(m.VBR().Signature, 4), "VBRI");
    EXPECT_EQ(m.VBR().Quality, 75);
    EXPECT_EQ(m.VBR().ByteCount, 65536);
    EXPECT_EQ(m.VBR().FrameCount, 300);
    EXPECT_EQ(m.VBR().EncoderTag, "");
    EXPECT_EQ(m.EncoderID(), 2);
    EXPECT_EQ(m.Encoder(), "FhG");
    EXPECT_EQ(m.Frames(), 300);
    EXPECT_DOUBLE_EQ(m.Duration(), 1152.0 * 300 / 44100);
    EXPECT_EQ(m.BitRate(), std::nearbyint((65536.0 / 300 - (m.Frame().PaddingFlag ? 1 : 0)) * 44100 / 144 / 1000));

    // A Xing header of a real VBR file with its frame count set to 0.
    std::string xing = LerBytes(Mp3("vbr.mp3", "-V 2"));
    const size_t x = xing.find("Xing");
    ASSERT_NE(x, std::string::npos);
    xing.replace(x + 8, 4, std::string(4, '\0'));
    ASSERT_TRUE(m.ReadFromFile(Arquivo("xing0.mp3", xing)));
    ASSERT_TRUE(m.VBR().Found);
    EXPECT_EQ(m.Frames(), 0);
    EXPECT_EQ(m.BitRate(), TMPEGaudio::TaxaTabela(m.Frame()));
    EXPECT_DOUBLE_EQ(m.Duration(), DuracaoCBR(m));
}

TEST_F(MPEGaudioTeste, LimitesDeValid) {
    // Bit rates of 448 and 449 from the Xing byte count over 1,000 frames (44.1 kHz, Layer III).
    std::string xing = LerBytes(Mp3("vbr.mp3", "-V 2"));
    const size_t x = xing.find("Xing");
    auto comContagem = [&](uint32_t bytes) {
        std::string v = xing;
        const unsigned char f[8] = {0, 0, 0x03, 0xE8, static_cast<unsigned char>(bytes >> 24),
                                    static_cast<unsigned char>(bytes >> 16), static_cast<unsigned char>(bytes >> 8),
                                    static_cast<unsigned char>(bytes)};
        v.replace(x + 8, 8, reinterpret_cast<const char*>(f), 8);
        return v;
    };
    TMPEGaudio m;
    ASSERT_TRUE(m.ReadFromFile(Arquivo("448.mp3", comContagem(1462858 + (xing[x - 34] & 2 ? 1000 : 0)))));
    EXPECT_EQ(m.BitRate(), 448);
    EXPECT_TRUE(m.Valid());
    ASSERT_TRUE(m.ReadFromFile(Arquivo("449.mp3", comContagem(1466123 + (xing[x - 34] & 2 ? 1000 : 0)))));
    EXPECT_EQ(m.BitRate(), 449);
    EXPECT_FALSE(m.Valid());

    // Exactly 0.1 s of CBR audio at 128 kbit/s is 1,600 bytes; one byte less is too short.
    const std::string base = LerBytes(Mp3("semInfo.mp3", "-t -b 128"));
    m.ReadFromFile(Arquivo("01.mp3", base.substr(0, 1600)));
    EXPECT_DOUBLE_EQ(m.Duration(), 0.1);
    EXPECT_TRUE(m.Valid());
    m.ReadFromFile(Arquivo("0099.mp3", base.substr(0, 1599)));
    EXPECT_FALSE(m.Valid());
}

TEST(MPEGaudioRegras, TesteDeCabecalhoEComprimentoDoQuadro) {
    auto valido = [](uint8_t b1, uint8_t b2, uint8_t b3) {
        const unsigned char h[4] = {0xFF, b1, b2, b3};
        return TMPEGaudio::HeaderValido(h);
    };
    EXPECT_TRUE(valido(0xFB, 0x90, 0x64));
    EXPECT_FALSE(valido(0xEB, 0x90, 0x64));  // reserved version
    EXPECT_FALSE(valido(0xF9, 0x90, 0x64));  // reserved layer
    EXPECT_FALSE(valido(0xFB, 0x00, 0x64));  // free format
    EXPECT_FALSE(valido(0xFB, 0xF0, 0x64));  // bit-rate index 15
    EXPECT_FALSE(valido(0xFB, 0x9C, 0x64));  // sample-rate index 3
    EXPECT_FALSE(valido(0xFB, 0x90, 0x66));  // emphasis 2
    EXPECT_TRUE(valido(0xFB, 0x90, 0x67));   // emphasis 3
    EXPECT_FALSE(valido(0xDB, 0x90, 0x64));  // sync bits incomplete

    const unsigned char h128[4] = {0xFF, 0xFB, 0x90, 0x64}, h128p[4] = {0xFF, 0xFB, 0x92, 0x64};
    EXPECT_EQ(TMPEGaudio::FrameLength(TMPEGaudio::DecodificarCabecalho(h128)), 417);
    EXPECT_EQ(TMPEGaudio::FrameLength(TMPEGaudio::DecodificarCabecalho(h128p)), 418);
    // MPEG 2.5 Layer II at 160 kbit/s and 8 kHz: the longest frame.
    const unsigned char longo[4] = {0xFF, 0xE5, 0xEA, 0x00};
    EXPECT_EQ(TMPEGaudio::FrameLength(TMPEGaudio::DecodificarCabecalho(longo)), 2881);

    // A valid header whose successor would lie past the end of the block is not accepted.
    std::vector<unsigned char> bloco(TMPEGaudio::TamanhoBloco, 0);
    std::memcpy(&bloco[1729], longo, 4);
    VBRData vbr;
    EXPECT_FALSE(TMPEGaudio::ScanForFrame(bloco.data(), vbr).Found);
    // Two headers 417 bytes apart at the last position tried are.
    std::fill(bloco.begin(), bloco.end(), 0);
    std::memcpy(&bloco[1729], h128, 4);
    std::memcpy(&bloco[1729 + 417], h128, 4);
    const FrameInfo f = TMPEGaudio::ScanForFrame(bloco.data(), vbr);
    EXPECT_TRUE(f.Found);
    EXPECT_EQ(f.Position, 1729);
    EXPECT_TRUE(f.SixZeroBytes);
    EXPECT_FALSE(vbr.Found);

    // The encoder search looks at most FrameSize x 5 bytes back from the end.
    std::fill(bloco.begin(), bloco.end(), 0);
    std::memcpy(&bloco[TMPEGaudio::TamanhoBloco - 8 - 100], "LAME3.97", 8);
    EXPECT_EQ(TMPEGaudio::SearchEncoderTag(bloco.data(), 100), "LAME3.97");
    EXPECT_EQ(TMPEGaudio::SearchEncoderTag(bloco.data(), 99), "");
    std::memcpy(&bloco[0], "LAME3.96", 8);
    std::memset(&bloco[TMPEGaudio::TamanhoBloco - 108], 0, 8);
    EXPECT_EQ(TMPEGaudio::SearchEncoderTag(bloco.data(), 60000), "LAME3.96");
}

TEST_F(MPEGaudioTeste, CodificadorPelasCaracteristicasDoCabecalho) {
    // Streams of hand-made frames for header traits no encoder at hand combines; none carries an
    // encoder's name, so only the constant-bit-rate rule speaks.
    auto encoderId = [](uint8_t b1, uint8_t b2, uint8_t b3, bool seisZeros) {
        const unsigned char h[4] = {0xFF, b1, b2, b3};
        const int n = TMPEGaudio::FrameLength(TMPEGaudio::DecodificarCabecalho(h));
        std::string quadro(n, '\x33');
        std::memcpy(quadro.data(), h, 4);
        if (seisZeros) std::memset(quadro.data() + 4, 0, 6);
        std::string fluxo;
        for (int i = 0; i < 30; ++i) fluxo += quadro;
        TMPEGaudio m;
        EXPECT_TRUE(m.ReadFromFile(Arquivo("regra.mp3", fluxo)));
        EXPECT_TRUE(m.Frame().Found);
        return m.EncoderID();
    };
    EXPECT_EQ(encoderId(0xFB, 0xB0, 0x40, false), 2);   // nothing special: FhG
    EXPECT_EQ(encoderId(0xFA, 0xB0, 0x44, false), 3);   // original + CRC
    EXPECT_EQ(encoderId(0xFB, 0x90, 0x00, false), 4);   // stereo at 160 or less
    EXPECT_EQ(encoderId(0xFB, 0xA0, 0x00, false), 4);   // stereo at 160
    EXPECT_EQ(encoderId(0xFB, 0xB0, 0x00, false), 2);   // stereo at 192
    EXPECT_EQ(encoderId(0xFB, 0xB0, 0x4C, false), 1);   // copyright + original, no CRC
    EXPECT_EQ(encoderId(0xFB, 0xB0, 0x44, true), 1);    // six zero bytes + original
    EXPECT_EQ(encoderId(0xFD, 0xB0, 0x44, false), 7);   // Layer II
    EXPECT_EQ(encoderId(0xFA, 0xB0, 0x84, false), 6);   // dual channel + CRC
}

}  // namespace
}  // namespace quorvel
