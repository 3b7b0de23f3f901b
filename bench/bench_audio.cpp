// Audio throughput: files per second for the --info-audio analysis (MPEG reader, both tag
// readers, the record) and for tag rewrites, in place and by rewriting the file.
//
//   bench_audio [FILES]    (default 2000)
//
// MB/s counts the whole size of the files handled, although the analysis reads only a few blocks
// of each; the writes flush every file to the disk before it replaces the original.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "music/gravar_tag.h"
#include "music/info_audio.h"
#include "platform/caminhos.h"

namespace fs = std::filesystem;
using namespace quorvel;

namespace {

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point inicio) {
    return std::chrono::duration<double>(Relogio::now() - inicio).count();
}

void Mostrar(const char* nome, size_t arquivos, double segundos, uint64_t bytes) {
    std::printf("%-34s %6zu files  %8.3f s  %10.1f files/s  %8.1f MB/s\n", nome, arquivos, segundos,
                arquivos / segundos, bytes / 1e6 / segundos);
}

uint64_t Total(const std::vector<std::string>& hosts) {
    uint64_t t = 0;
    for (const auto& h : hosts) t += fs::file_size(h);
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t quantidade = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 2000;
    const std::string ausentes = teste::FerramentasAusentes({"sox", "lame", "mutagen"});
    if (!ausentes.empty()) {
        std::fprintf(stderr, "bench_audio: missing tools: %s\n", ausentes.c_str());
        return 2;
    }
    teste::UnidadesTemporarias unidades;
    const std::string pasta = unidades.Unidade('c') + "/Musicas";
    fs::create_directories(pasta);

    // Seeds: CBR with an ID3v2.3 tag, VBR with ID3v1, MPEG 2 mono without tags; 4 s each.
    const std::string modelos[3] = {pasta + "/modelo0.mp3", pasta + "/modelo1.mp3", pasta + "/modelo2.mp3"};
    teste::GerarMp3(modelos[0], 4, "-b 128");
    teste::GerarMp3(modelos[1], 4, "-V 2");
    teste::GerarMp3(modelos[2], 4, "-m m --resample 22.05 -b 48", 44100, 1);
    teste::Python(R"PY(
t = m.ID3()
t.add(m.TIT2(encoding=1, text="T\u00edtulo"))
t.add(m.TPE1(encoding=0, text="Artista"))
t.add(m.TCOM(encoding=0, text="Compositor"))
t.add(m.COMM(encoding=0, lang="eng", desc="", text="coment"))
t.save(sys.argv[1], v2_version=3)
)PY",
                  modelos[0]);
    teste::Python("t = m.ID3()\nt.add(m.TIT2(encoding=0, text='v1'))\nt.save(sys.argv[1], v1=2)\n"
                  "m.ID3(sys.argv[1]).delete(sys.argv[1], delete_v1=False, delete_v2=True)\n",
                  modelos[1]);

    std::vector<std::string> hosts, caminhos;
    for (size_t i = 0; i < quantidade; ++i) {
        const std::string nome = "Faixa " + std::to_string(i) + ".mp3";
        fs::copy_file(modelos[i % 3], pasta + "/" + nome);
        hosts.push_back(pasta + "/" + nome);
        caminhos.push_back("C:\\Musicas\\" + nome);
    }
    std::printf("bench_audio: %zu MP3 files of 4 s (CBR+ID3v2, VBR+ID3v1, MPEG 2 mono) in %s\n", quantidade,
                pasta.c_str());

    auto analisar = [&](const char* nome) {
        const auto inicio = Relogio::now();
        size_t validos = 0;
        for (const auto& c : caminhos) {
            validos += LerInfoAudio(c).InfoAudio().MPEGValido == "Sim";
        }
        Mostrar(nome, caminhos.size(), Segundos(inicio), Total(hosts));
        if (validos != caminhos.size()) std::printf("  (only %zu judged valid)\n", validos);
    };
    analisar("analysis (--info-audio)");
    analisar("analysis, second pass");

    auto gravar = [&](const char* nome) {
        const uint64_t bytes = Total(hosts);
        const auto inicio = Relogio::now();
        for (const auto& c : caminhos) {
            ArquivoAudio audio = LerInfoAudio(c);
            ValoresTag v;
            v[TID3v2::SlotTitle] = "Novo t\xEDtulo";
            v[TID3v2::SlotArtist] = "Artista";
            v[TID3v2::SlotTSUC] = "N";
            v[TID3v2::SlotTEXT] = ".mp3";
            GravarTag(audio, v);
        }
        Mostrar(nome, caminhos.size(), Segundos(inicio), bytes);
    };
    // First write: no tag or a small one -> every file is rewritten with a 4,096-byte tag.
    gravar("tag write, file rewritten");
    // Second write: the 4,096-byte tag has room -> written in place.
    gravar("tag write, in place");
    return 0;
}
