// quorvel2009_2010 --info-audio: the JSON lines of the built program, read by Python's json.
#include <gtest/gtest.h>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "music/info_audio.h"
#include "platform/texto.h"

namespace quorvel {
namespace {

TEST(InfoAudioLinhaComando, UmObjetoPorArquivoNaOrdemDosCampos) {
    QUORVEL_EXIGIR("sox", "lame", "mutagen");
    teste::PastaTemporaria pasta;
    const std::string mp3 = pasta.Caminho() + "/Can\xC3\xA7\xC3\xA3o \"1\".mp3";  // UTF-8 file name
    const std::string wav = pasta.Caminho() + "/voz.wav";
    teste::GerarMp3(mp3, 2, "-V 2");
    teste::Python("t = m.ID3()\nt.add(m.TIT2(encoding=1, text='A\\u00e7\\u00e3o \\\\ \"x\"'))\n"
                  "t.save(sys.argv[1], v2_version=3)\n",
                  mp3);
    teste::GerarWav(wav, 12.3456, 44100, 2);
    const std::string falta = pasta.Caminho() + "/falta.mp3";

    const std::string comando = std::string(QUORVEL_PROGRAMA) + " --info-audio " + teste::Aspas(mp3) + " " +
                                teste::Aspas(wav) + " " + teste::Aspas(falta) + " > " +
                                teste::Aspas(pasta.Caminho() + "/saida.json") + "; echo $?";
    const std::string status = teste::Executar(comando);
    EXPECT_EQ(status, "1\n");  // one file did not exist

    // Python checks the JSON and prints, per line, the keys, then selected values.
    const std::string verificacao = teste::Python(R"PY(
import json
for linha in open(sys.argv[1], encoding="utf-8"):
    o = json.loads(linha, object_pairs_hook=lambda pares: pares)
    print(",".join(k for k, v in o))
    d = dict(o)
    print(d["arquivo"])
    print(d["FrameTIT2"])
    print(d["Duracao"])
    print(repr(d["Duration"]))
)PY",
                                                  pasta.Caminho() + "/saida.json");
    std::vector<std::string> linhas;
    {
        size_t i = 0, j;
        while ((j = verificacao.find('\n', i)) != std::string::npos) {
            linhas.push_back(verificacao.substr(i, j - i));
            i = j + 1;
        }
    }
    ASSERT_EQ(linhas.size(), 15u) << verificacao;

    std::string chaves = "arquivo";
    for (const CampoTag& c : CamposTag) chaves += std::string(",") + c.nome;
    chaves += ",Duration";
    EXPECT_EQ(linhas[0], chaves);
    EXPECT_EQ(linhas[1], mp3);
    EXPECT_EQ(linhas[2], "A\xC3\xA7\xC3\xA3o \\ \"x\"");

    // The same file analysed here gives the same duration to the last bit.
    const ArquivoAudio audio = LerInfoAudio(Utf8Para1252(mp3));
    EXPECT_EQ(linhas[3], Utf8De1252(audio.InfoAudio().Duracao));
    EXPECT_EQ(std::stod(linhas[4]), audio.LeitorMPEG()->Duration());

    EXPECT_EQ(linhas[5], chaves);
    EXPECT_EQ(linhas[8], "12,346 seg.");
    EXPECT_NEAR(std::stod(linhas[9]), 12.3456, 1e-4);

    EXPECT_EQ(linhas[11], falta);
    EXPECT_EQ(linhas[13], "");
    EXPECT_EQ(linhas[14], "0");
}

}  // namespace
}  // namespace quorvel
