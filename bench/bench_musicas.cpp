// The music migration at a station's scale, against the cost of copying the same files.
//
// Makes a 2009 installation of N musics (240 s of MP3 at 128 kbit/s each, 3.8 MB) with ID3v2.3
// tags carrying the five lookup frames (TEST, TRIT, TVOC, TGRA, TLAN) and album, year and track;
// half of the tags hold a cover picture and are over 4,096 bytes, so the tag writer rewrites
// those files, the other half are small and are written in place. The 2010 databases are made
// with forced writes on, as Firebird creates them and as the stations' databases are. Then, side
// by side in each round on the same file system: `cp -r` of the 2009 music folder + `sync`, and
// the real program's Musicas run through the terminal front end + `sync`. Prints the time per
// file of the copy and per music of the run, and "ratio: X" (run / copy, best round of each).
//
// One more run on an audio database with forced writes off is timed for comparison (not for the
// ratio): the difference is what the database's synchronous page writes cost.
//
// Counted for real on one more run of the same library, under strace (so it is not timed): the
// synchronous writes of the program into the audio database (its page writes, which forced
// writes make synchronous, and any fsync), and the transactions the run committed there (the
// database's next transaction number before and after, less that of a run with no table).
//
//   bench_musicas [N]                       N musics of 3.8 MB (default 2000)
//   bench_musicas --pequenas [N1 [N2]]      N1 and N2 musics of 130 KB (default 1000 and 20000):
//                                           the time per music of each and "growth: X"
//
// QUORVEL_BENCH_RODADAS sets the rounds (default 2). QUORVEL_BENCH_RESULTADOS names a folder
// that receives what the last run made (the 2010 rows of every table it writes, the generators,
// the user indexes left in the audio database, and every 2010 file with its SHA-256), for
// comparing two builds of the program.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "apoio/audio_amostras.h"
#include "apoio/bases_teste.h"
#include "apoio/instalacao_teste.h"
#include "bench/bench_apoio.h"
#include "apoio/criacao.h"
#include "platform/erros.h"

using namespace quorvel;
using namespace quorvel::bench;
namespace fs = std::filesystem;

namespace {

// Tag variants: the musics take them in turn.
constexpr int Variantes = 40;

// One MP3 stream of `segundos` at 128 kbit/s, made quickly and the same at every call (sox
// without random dither): up to 12 seconds encoded by lame without its information frame,
// repeated. Every frame is a real frame; the reader finds the same stream.
std::string GerarFluxo(const std::string& pasta, int segundos) {
    const std::string wav = pasta + "/base.wav", mp3 = pasta + "/base.mp3";
    teste::Executar("sox -R -q -n -r 44100 -c 2 -b 16 " + teste::Aspas(wav) + " synth " +
                    std::to_string(std::min(segundos, 12)) + " sine 200-4000 vol 0.4 && lame --quiet -t --cbr -b 128 " + teste::Aspas(wav) + " " +
                    teste::Aspas(mp3));
    const std::string trecho = teste::LerBytes(mp3);
    fs::remove(wav);
    fs::remove(mp3);
    std::string fluxo;
    const size_t alvo = static_cast<size_t>(segundos) * 16000;
    while (fluxo.size() < alvo) fluxo += trecho;
    return fluxo;
}

// The tags, made by mutagen in one run: variant k names lookup values of its own from small
// lists (as a station's files share a few dozen sub-genres, rhythms, labels...); the odd variants
// carry a 20 KB cover picture.
std::vector<std::string> GerarTags(const std::string& pasta) {
    const std::string script = R"PY(
import sys, os, random
import mutagen.id3 as m
def quadro(ident, texto):
    classe = getattr(m, ident, None) or type(ident, (m.TextFrame,), {})
    return classe(encoding=0, text=[texto])
subgeneros = ["Acústico", "Ao vivo", "Remix", "Instrumental", "Romântico", "Dançante", "Clássico"]
ritmos = ["Samba", "Bossa", "Forró", "Pagode", "Rock", "Pop", "Sertanejo", "Axé", "Frevo", "Baião", "Xote"]
vocais = ["Masculino", "Feminino", "Dueto"]
gravadoras = ["Som Livre", "Gravadora Sol", "Biscoito Fino", "Deck", "Trama", "Independente", "Universal",
              "Sony", "Warner", "EMI", "Continental", "RGE", "Polygram"]
idiomas = ["Português", "Inglês", "Espanhol", "Italiano"]
random.seed(7)
for k in range(int(sys.argv[2])):
    t = m.ID3()
    t.add(quadro("TALB", "Álbum %d" % (k % 9)))
    t.add(quadro("TYER", str(1990 + k % 20)))
    t.add(quadro("TRCK", str(1 + k % 12)))
    t.add(quadro("TEST", subgeneros[k % len(subgeneros)]))
    t.add(quadro("TRIT", ritmos[k % len(ritmos)]))
    t.add(quadro("TVOC", vocais[k % len(vocais)]))
    t.add(quadro("TGRA", gravadoras[k % len(gravadoras)]))
    t.add(quadro("TLAN", idiomas[k % len(idiomas)]))
    grande = k % 2 == 1
    if grande:
        t.add(m.APIC(encoding=0, mime="image/jpeg", type=3, desc="", data=bytes(random.getrandbits(8) for _ in range(20000))))
    caminho = os.path.join(sys.argv[1], "tag%02d" % k)
    open(caminho, "wb").close()
    t.save(caminho, v2_version=3, padding=lambda info: 0 if grande else 1500)
)PY";
    const std::string arquivoScript = pasta + "/tags.py";
    teste::GravarBytes(arquivoScript, script);
    teste::Executar("/usr/bin/python3 " + teste::Aspas(arquivoScript) + " " + teste::Aspas(pasta) + " " +
                    std::to_string(Variantes));
    std::vector<std::string> tags;
    for (int k = 0; k < Variantes; ++k) {
        char nome[16];
        std::snprintf(nome, sizeof nome, "/tag%02d", k);
        tags.push_back(teste::LerBytes(pasta + nome));
        fs::remove(pasta + nome);
    }
    fs::remove(arquivoScript);
    return tags;
}

// Every hundredth music repeats the artist and title of the one before it: the duplicate test
// skips it, as it skips a station's repeated entries.
void GerarLinhas2009(teste::BasesTeste& bases, int musicas) {
    bases.Executar2009(
        "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; DECLARE k INTEGER; BEGIN\n"
        "  WHILE (i <= " + std::to_string(musicas) + ") DO BEGIN\n"
        "    k = i; IF (MOD(i, 100) = 0) THEN k = i - 1;\n"
        "    INSERT INTO TB_MUSICAS VALUES (: i, 'Can\xE7\xE3o n\xBA ' || : k, 'Int\xE9rprete ' || MOD(: k, 700), "
        "'Compositor ' || MOD(: i, 300), MOD(: i, 5) + 1, 'C:', 'M' || LPAD(: i, 6, '0'), 'mp3', '04:00');\n"
        "    i = i + 1;\n  END\nEND^\nSET TERM ; ^\n");
}

void GerarBiblioteca(const std::string& pasta, int musicas, const std::string& fluxo,
                     const std::vector<std::string>& tags) {
    fs::create_directories(pasta);
    for (int i = 1; i <= musicas; ++i) {
        char nome[32];
        std::snprintf(nome, sizeof nome, "/M%06d.mp3", i);
        std::ofstream f(pasta + nome, std::ios::binary);
        const std::string& tag = tags[static_cast<size_t>(i % Variantes)];
        f.write(tag.data(), static_cast<std::streamsize>(tag.size()));
        f.write(fluxo.data(), static_cast<std::streamsize>(fluxo.size()));
        if (!f) throw Erro("Cannot write the library in " + pasta);
    }
}

double Parede(const std::string& comando) {
    const Cronometro c;
    teste::Executar(comando);
    return c.Parar().parede;
}

// Copies of the fixture's 2010 databases made with forced writes on, and a second audio database
// with them off, for showing what the synchronous page writes cost.
struct Bases2010Sincronas {
    explicit Bases2010Sincronas(const std::string& pasta)
        : audio(pasta + "/AUDIO-FW.FDB"), audioSemFw(pasta + "/AUDIO-SEM-FW.FDB"), adm(pasta + "/ADM-FW.FDB") {
        CriarBaseDados(audio, teste::UsuarioBanco, teste::SenhaBanco, true);
        teste::ExecutarSql(audio, teste::LerFixture("base2010_audio.sql"));
        CriarBaseDados(audioSemFw, teste::UsuarioBanco, teste::SenhaBanco, false);
        teste::ExecutarSql(audioSemFw, teste::LerFixture("base2010_audio.sql"));
        CriarBaseDados(adm, teste::UsuarioBanco, teste::SenhaBanco, true);
        teste::ExecutarSql(adm, teste::LerFixture("base2010_adm.sql"));
    }
    void Instalar(teste::BasesTeste& bases, bool escritasForcadas) const {
        fs::copy_file(escritasForcadas ? audio : audioSemFw, bases.ArquivoAudio(), fs::copy_options::overwrite_existing);
        fs::copy_file(adm, bases.ArquivoAdm(), fs::copy_options::overwrite_existing);
    }
    std::string audio, audioSemFw, adm;
};

int64_t ProximaTransacao(const std::string& local) {
    return std::stoll(teste::Consultar(local, "SELECT MON$NEXT_TRANSACTION FROM MON$DATABASE").at(0).at(0));
}

int ContarLinhas(const std::string& local, const std::string& tabela) {
    return std::stoi(teste::Consultar(local, "SELECT COUNT(*) FROM " + tabela).at(0).at(0));
}

// One installation of N musics and the program run on it.
class Cenario {
public:
    Cenario(int musicas, int segundos, const std::vector<std::string>& tags)
        : musicas_(musicas), sincronas_(inst.unidades.Raiz().Caminho()) {
        programa_ = inst.PastaPrograma() + "/quorvel2009_2010";
        fs::copy_file(ProgramaMedido(), programa_, fs::copy_options::overwrite_existing);
        origem_ = inst.unidades.Unidade('c') + "/Musicas";
        destino_ = inst.unidades.Unidade('d') + "/Quorvel2010/Musicas";
        copia_ = inst.unidades.Raiz().Caminho() + "/copia";
        const Cronometro c;
        GerarLinhas2009(inst.bases, musicas);
        const std::string fluxo = GerarFluxo(inst.unidades.Raiz().Caminho(), segundos);
        fluxo_ = fluxo.size();
        GerarBiblioteca(origem_, musicas, fluxo, tags);
        teste::Executar("sync");
        std::uintmax_t bytes = 0;
        for (const auto& e : fs::directory_iterator(origem_)) bytes += e.file_size();
        std::printf("%d musics, %.1f MB, made in %.1f s\n", musicas, bytes / 1e6, c.Parar().parede);
        std::fflush(stdout);
    }

    // A fresh 2010 installation: empty databases (forced writes on, unless told otherwise), an
    // empty music folder.
    void Renovar(bool escritasForcadas = true) {
        sincronas_.Instalar(inst.bases, escritasForcadas);
        fs::remove_all(destino_);
        fs::create_directories(destino_);
        fs::remove(inst.ArquivoSeqHost());
        teste::Executar("sync");
    }

    double TempoCopia() {
        fs::remove_all(copia_);
        teste::Executar("sync");
        const double t = Parede("cp -r " + teste::Aspas(origem_) + " " + teste::Aspas(copia_) + " && sync");
        fs::remove_all(copia_);
        return t;
    }

    // The Musicas run + sync, wall-clock seconds; `prefixo` runs it under another program.
    double TempoPrograma(const std::vector<std::string>& tabelas = {"--tabelas", "Musicas"}) {
        std::vector<std::string> argumentos{"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010",
                                            inst.Pasta2010(), "--sim"};
        argumentos.insert(argumentos.end(), tabelas.begin(), tabelas.end());
        const Cronometro c;
        cpuPrograma_ = RodarPrograma(programa_, argumentos, inst.PastaPrograma() + "/saida.txt").cpu;
        teste::Executar("sync");
        return c.Parar().parede;
    }
    // The CPU seconds (user + system, the embedded engine's included) of the last run.
    double CpuPrograma() const { return cpuPrograma_; }

    int Registradas() const { return ContarLinhas(inst.bases.LocalAudio(), "TB_MUSICAS"); }

    // How the tag writer treated the 2010 files: a rewritten file has a tag of 4,096 bytes before
    // its stream; one written in place kept its own tag's length.
    void MostrarTags() const {
        int noLugar = 0, reescritos = 0;
        for (const auto& e : fs::directory_iterator(destino_)) ++(e.file_size() == fluxo_ + 4096 ? reescritos : noLugar);
        std::printf("2010 files: %d tags rewritten with the file, %d written in place\n", reescritos, noLugar);
    }
    int Musicas() const { return musicas_; }

    // Commits and synchronous writes of a Musicas run into the audio database, per registered music.
    void Contar() {
        Renovar();
        const int64_t antesVazio = ProximaTransacao(inst.bases.LocalAudio());
        TempoPrograma({"--tabelas", ""});
        const int64_t vazio = ProximaTransacao(inst.bases.LocalAudio()) - antesVazio - 1;

        Renovar();
        const int64_t antes = ProximaTransacao(inst.bases.LocalAudio());
        const std::string rastro = inst.unidades.Raiz().Caminho() + "/rastro.txt";
        setenv("QUORVEL_BENCH_PREFIXO",
               ("strace -f --seccomp-bpf -qq -y -e trace=openat,pwrite64,pwritev,pwritev2,fsync,fdatasync,"
                "sync_file_range -o " + rastro).c_str(), 1);
        TempoPrograma();
        unsetenv("QUORVEL_BENCH_PREFIXO");
        const int64_t commits = ProximaTransacao(inst.bases.LocalAudio()) - antes - 1 - vazio;
        const int registradas = Registradas();

        // Firebird opens the file, reads its header, and opens it again with O_DSYNC when the
        // database has forced writes on.
        long escritas = 0, sincronismos = 0;
        bool oSync = false;
        std::ifstream r(rastro);
        for (std::string linha; std::getline(r, linha);) {
            if (linha.find("AUDIO.FDB>") == std::string::npos && linha.find("AUDIO.FDB\"") == std::string::npos)
                continue;
            if (linha.find("pwrite") != std::string::npos) ++escritas;
            else if (linha.find("sync") != std::string::npos && linha.find("openat") == std::string::npos) ++sincronismos;
            else if (linha.find("openat") != std::string::npos)
                oSync = oSync || linha.find("O_SYNC") != std::string::npos || linha.find("O_DSYNC") != std::string::npos;
        }
        fs::remove(rastro);
        std::printf("audio database: forced writes %s (MON$FORCED_WRITES), opened%s with O_SYNC or O_DSYNC\n",
                    teste::Consultar(inst.bases.LocalAudio(), "SELECT MON$FORCED_WRITES FROM MON$DATABASE")[0][0] == "1"
                        ? "on"
                        : "OFF",
                    oSync ? "" : " NOT");
        std::printf("registered musics: %d of %d\n", registradas, musicas_);
        std::printf("commits per registered music: %.2f (%lld transactions committed by the run)\n",
                    static_cast<double>(commits) / registradas, static_cast<long long>(commits));
        std::printf("synchronous database writes per registered music: %.2f (%ld page writes, %ld fsync)\n",
                    static_cast<double>(escritas + sincronismos) / registradas, escritas, sincronismos);
        std::fflush(stdout);
    }

    // What the run made, for comparing two builds.
    void GuardarResultados(const std::string& pasta) const {
        fs::create_directories(pasta);
        std::ofstream f(pasta + "/banco.txt", std::ios::binary);
        const std::string audio = inst.bases.LocalAudio();
        for (const char* consulta :
             {"SELECT * FROM TB_MUSICAS ORDER BY MUS_CODIGO", "SELECT * FROM TB_PASTAS ORDER BY PAS_CODIGO",
              "SELECT * FROM TB_SUBGENERO ORDER BY SUB_CODIGO", "SELECT * FROM TB_RITMO ORDER BY RIT_CODIGO",
              "SELECT * FROM TB_VOCAL ORDER BY VOC_CODIGO", "SELECT * FROM TB_GRAVADORA ORDER BY GRA_CODIGO",
              "SELECT * FROM TB_IDIOMA ORDER BY IDI_CODIGO",
              "SELECT GEN_ID(GEN_MUSICAS, 0), GEN_ID(GEN_PASTAS, 0), GEN_ID(GEN_SUBGENERO, 0), GEN_ID(GEN_RITMO, 0), "
              "GEN_ID(GEN_VOCAL, 0), GEN_ID(GEN_GRAVADORA, 0), GEN_ID(GEN_IDIOMA, 0) FROM RDB$DATABASE",
              "SELECT RDB$INDEX_NAME FROM RDB$INDICES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1",
              "SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'TB_MUSICAS' ORDER BY 1"}) {
            f << "-- " << consulta << "\n";
            for (const auto& linha : teste::Consultar(audio, consulta)) {
                for (const auto& valor : linha) f << valor << '|';
                f << '\n';
            }
        }
        teste::Executar("cd " + teste::Aspas(destino_) + " && find . -type f -print0 | sort -z | xargs -0 -r sha256sum > " +
                        teste::Aspas(pasta + "/arquivos.txt"));
        std::printf("results kept in %s\n", pasta.c_str());
    }

    teste::InstalacaoTeste inst;

private:
    int musicas_;
    Bases2010Sincronas sincronas_;
    std::string programa_, origem_, destino_, copia_;
    std::uintmax_t fluxo_ = 0;
    double cpuPrograma_ = 0;
};

int Rodadas() {
    const char* r = std::getenv("QUORVEL_BENCH_RODADAS");
    return r ? std::max(1, std::atoi(r)) : 2;
}

int Grande(int musicas) {
    teste::PastaTemporaria trabalho;
    Cenario cenario(musicas, 240, GerarTags(trabalho.Caminho()));
    double copia = 1e300, programa = 1e300;
    for (int rodada = 0; rodada < Rodadas(); ++rodada) {
        cenario.Renovar();
        const double c = cenario.TempoCopia();
        const double p = cenario.TempoPrograma();
        std::printf("round %d: cp -r + sync %.1f s, Musicas run + sync %.1f s (the program's CPU %.1f s)\n",
                    rodada + 1, c, p, cenario.CpuPrograma());
        std::fflush(stdout);
        copia = std::min(copia, c);
        programa = std::min(programa, p);
    }
    const int registradas = cenario.Registradas();
    // Where the rest goes: the same run on an audio database with forced writes off.
    cenario.Renovar(false);
    const double semFw = cenario.TempoPrograma();
    std::printf("copy: %.2f ms per file\n", copia * 1000 / musicas);
    std::printf("run: %.2f ms per music (%d registered)\n", programa * 1000 / musicas, registradas);
    std::printf("the same run with forced writes off in the audio database: %.2f ms per music (%.2f of the copy), "
                "one round, for comparison only\n",
                semFw * 1000 / musicas, semFw / copia);
    cenario.MostrarTags();
    cenario.Contar();
    if (const char* pasta = std::getenv("QUORVEL_BENCH_RESULTADOS")) cenario.GuardarResultados(pasta);
    std::printf("ratio: %.2f\n", programa / copia);
    return 0;
}

int Pequenas(int n1, int n2) {
    teste::PastaTemporaria trabalho;
    const std::vector<std::string> tags = GerarTags(trabalho.Caminho());
    double porMusica[2] = {0, 0};
    const int quantidades[2] = {n1, n2};
    for (int k = 0; k < 2; ++k) {
        Cenario cenario(quantidades[k], 8, tags);
        double melhor = 1e300;
        for (int rodada = 0; rodada < Rodadas(); ++rodada) {
            cenario.Renovar();
            melhor = std::min(melhor, cenario.TempoPrograma());
        }
        porMusica[k] = melhor * 1000 / quantidades[k];
        std::printf("%d musics: %.2f ms per music (%d registered)\n", quantidades[k], porMusica[k],
                    cenario.Registradas());
        std::fflush(stdout);
        if (k == 1)
            if (const char* pasta = std::getenv("QUORVEL_BENCH_RESULTADOS")) cenario.GuardarResultados(pasta);
    }
    std::printf("growth: %.2f\n", porMusica[1] / porMusica[0]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc > 1 && std::string(argv[1]) == "--pequenas")
            return Pequenas(argc > 2 ? std::atoi(argv[2]) : 1000, argc > 3 ? std::atoi(argv[3]) : 20000);
        return Grande(argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_musicas: %s\n", e.what());
        return 1;
    }
}
