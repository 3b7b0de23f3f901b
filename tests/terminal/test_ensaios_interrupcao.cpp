// Crash and stop trials: real runs of the music table and the play log, through the program in a
// child process, killed (SIGKILL) or stopped (SIGTERM, some after a SIGUSR1 commit) at random
// moments: while files are copied, tagged and registered, rows committed, the play log copied
// and its column dropped.
//
// After a kill: every music file of the 2010 folders is whole (its source, or its source's audio
// byte for byte behind a new tag), gfix finds no error in any database, and a new run completes,
// ends equal to an uninterrupted run and leaves no temporary file anywhere.
// After a stop: "--continuar --sim" ends equal to one uninterrupted run. Equal means: every row
// of every table the run writes, with each generated key replaced by what it stands for (a
// music by its full name, a folder by its path, a lookup by its name; the play log's own keys
// left out, its rows compared as a sorted list), and the name and bytes of every file.
//
// A traced run shows that no checkpoint is written before the files it counts as done are on the
// disk.
//
// QUORVEL_ENSAIOS sets the number of trials of each kind (2 by default; 20 by hand), QUORVEL_SEMENTE
// the random seed (printed, so that a failing trial can be run again).
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>
#include <random>
#include <thread>

#include "apoio/audio_amostras.h"
#include "apoio/bases_teste.h"
#include "apoio/instalacao_teste.h"
#include "platform/nome_temporario.h"
#include "test_terminal_processo.h"

namespace fs = std::filesystem;

namespace quorvel::teste {
namespace {

constexpr int kMusicas = 48;
constexpr int kLinhasEcad = 15000;

// Where the musics of the 2009 rows lie and go: by drive, the 2009 folder and the 2010 folder
// (drive folder relative).
struct Drive {
    const char* drive;
    char letraOrigem;
    const char* pastaOrigem;
    char letraDestino;
    const char* pastaDestino;
};
constexpr Drive kDrives[] = {{"C:", 'c', "Musicas", 'd', "Quorvel2010/Musicas"},
                             {"D:", 'd', "Musicas", 'd', "Musicas"},
                             {"c:", 'c', "Musicas", 'c', "Musicas"}};

int Numero(const char* nome, int padrao) {
    const char* v = std::getenv(nome);
    return v && *v ? std::atoi(v) : padrao;
}

// The audio after an ID3v2 tag (the whole file when it has none).
std::string SemTag(const std::string& bytes) {
    if (bytes.size() < 10 || bytes.compare(0, 3, "ID3") != 0) return bytes;
    const auto b = [&](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
    size_t tamanho = 10 + ((b(6) << 21) | (b(7) << 14) | (b(8) << 7) | b(9));
    if (b(5) & 0x10) tamanho += 10;
    return tamanho >= bytes.size() ? std::string() : bytes.substr(tamanho);
}

// The source files, made once: three kinds of tag (none, a small one the new tag does not fit
// in, a large one it is written over in place) on MP3s of a few seconds.
class Fontes {
public:
    Fontes() {
        for (int i = 0; i < 3; ++i) {
            const std::string arquivo = pasta_.Caminho() + "/f" + std::to_string(i) + ".mp3";
            GerarMp3(arquivo, 3 + i, "-b 96", 44100, 2);
            if (i == 1)
                Python("t = m.ID3(); t.add(m.TIT2(encoding=0, text='velho')); t.add(m.TRCK(encoding=0, text='3'))\n"
                       "t.save(sys.argv[1], v2_version=3, padding=lambda info: 0)\n",
                       arquivo);
            if (i == 2)
                Python("t = m.ID3(); t.add(m.TALB(encoding=0, text='Album')); t.add(m.TYER(encoding=0, text='1999'))\n"
                       "t.add(getattr(m, 'TRIT', None) or type('TRIT', (m.TextFrame,), {})(encoding=0, text='samba'))\n"
                       "t.save(sys.argv[1], v2_version=3, padding=lambda info: 9000)\n",
                       arquivo);
            bytes_.push_back(LerBytes(arquivo));
        }
    }
    const std::string& Bytes(int musica) const { return bytes_[musica % bytes_.size()]; }

private:
    PastaTemporaria pasta_;
    std::vector<std::string> bytes_;
};

// One installation with the musics and the play log of the trials.
struct Instalacao {
    explicit Instalacao(const Fontes& fontes) : programa(CopiarPrograma(inst.PastaPrograma())) {
        std::string sql;
        for (int i = 1; i <= kMusicas; ++i) {
            const Drive& d = kDrives[i % 3];
            char dispositivo[16];
            std::snprintf(dispositivo, sizeof dispositivo, "M%04d", i);
            const std::string titulo = "Faixa " + std::to_string(i);
            const std::string interprete = "Artista " + std::to_string(i % 7);
            sql += "INSERT INTO TB_MUSICAS VALUES (" + std::to_string(i) + ", '" + titulo + "', '" + interprete +
                   "', 'Compositor', " + std::to_string(i % 4) + ", '" + d.drive + "', '" + dispositivo +
                   "', 'mp3', NULL);\n";
            const std::string origem = inst.unidades.Unidade(d.letraOrigem) + "/" + d.pastaOrigem;
            fs::create_directories(origem);
            fs::create_directories(inst.unidades.Unidade(d.letraDestino) + "/" + d.pastaDestino);
            GravarBytes(origem + "/" + dispositivo + ".mp3", fontes.Bytes(i));
            destinos[inst.unidades.Unidade(d.letraDestino) + "/" + d.pastaDestino + "/" + interprete + " - " +
                     titulo + ".mp3"] = &fontes.Bytes(i);
            origens[origem + "/" + dispositivo + ".mp3"] = &fontes.Bytes(i);
        }
        inst.bases.Executar2009(sql);
        // The play log: rows of every music and some of musics that do not exist.
        inst.bases.Executar2009(
            "SET TERM ^ ;\n"
            "EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n"
            "  WHILE (i <= " + std::to_string(kLinhasEcad) + ") DO BEGIN\n"
            "    INSERT INTO TB_ECAD VALUES (: i, CAST('2009-01-01' AS DATE) + MOD(: i, 300),\n"
            "      LPAD(MOD(: i, 24), 2, '0') || ':00:00', MOD(: i * 7, " + std::to_string(kMusicas + 3) + ") + 1);\n"
            "    i = i + 1;\n"
            "  END\n"
            "END^\n"
            "SET TERM ; ^\n");
    }

    std::vector<std::string> Args(const std::vector<std::string>& extra) const {
        std::vector<std::string> a{"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010",
                                   inst.Pasta2010(), "--tabelas", "Musicas,Ecad"};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    ResultadoPrograma Rodar(const std::vector<std::string>& extra = {}) const {
        return RodarPrograma(programa, Args(extra), inst.unidades.Pasta());
    }

    // Everything a run leaves, with generated keys replaced by what they stand for.
    std::map<std::string, Linhas> Foto() const {
        std::map<std::string, Linhas> foto;
        const auto audio = [&](const std::string& consulta) { return inst.bases.ConsultarAudio(consulta); };
        foto["musicas"] = audio(
            "SELECT M.MUS_NOMECOMPLETO, M.MUS_NOME, M.MUS_INTERPRETE, M.MUS_TEMPO, M.MUS_TIPO, M.MUS_COMPOSITOR, "
            "M.MUS_ALBUM, M.MUS_ANO, M.MUS_FAIXA, M.MUS_SUCESSO, M.GEN_CODIGO, S.SUB_NOME, R.RIT_NOME, V.VOC_NOME, "
            "G.GRA_NOME, I.IDI_NOME, P.PAS_PATH, M.MUS_ARQUIVO, M.MUS_TIPOPERIODO, M.MUS_PERIODOINICIO, "
            "M.MUS_PERIODOFIM, M.MUS_SEGUNDOS FROM TB_MUSICAS M LEFT JOIN TB_SUBGENERO S ON S.SUB_CODIGO = "
            "M.SUB_CODIGO LEFT JOIN TB_RITMO R ON R.RIT_CODIGO = M.RIT_CODIGO LEFT JOIN TB_VOCAL V ON "
            "V.VOC_CODIGO = M.VOC_CODIGO LEFT JOIN TB_GRAVADORA G ON G.GRA_CODIGO = M.GRA_CODIGO LEFT JOIN "
            "TB_IDIOMA I ON I.IDI_CODIGO = M.IDI_CODIGO LEFT JOIN TB_PASTAS P ON P.PAS_CODIGO = M.PAS_CODIGO "
            "ORDER BY M.MUS_NOMECOMPLETO");
        foto["ecad"] = audio(
            "SELECT E.ECA_DATA, E.ECA_HORA, M.MUS_NOMECOMPLETO FROM TB_ECAD E LEFT JOIN TB_MUSICAS M ON "
            "M.MUS_CODIGO = E.MUS_CODIGO ORDER BY 1, 2, 3");
        foto["pastas"] = audio("SELECT PAS_PATH FROM TB_PASTAS ORDER BY 1");
        for (const char* t : {"RIT", "VOC", "GRA", "IDI", "SUB"}) {
            const std::string prefixo = t;
            const std::string tabela = prefixo == "RIT"   ? "TB_RITMO"
                                       : prefixo == "VOC" ? "TB_VOCAL"
                                       : prefixo == "GRA" ? "TB_GRAVADORA"
                                       : prefixo == "IDI" ? "TB_IDIOMA"
                                                          : "TB_SUBGENERO";
            foto[tabela] = audio("SELECT " + prefixo + "_NOME FROM " + tabela + " ORDER BY 1");
        }
        foto["colunas"] = audio(
            "SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'TB_MUSICAS' "
            "ORDER BY 1");
        // Every file below the drive folder (the databases are elsewhere), by name and bytes.
        Linhas arquivos;
        for (const auto& e : fs::recursive_directory_iterator(inst.unidades.Pasta()))
            if (e.is_regular_file() && !e.is_symlink())
                arquivos.push_back({fs::relative(e.path(), inst.unidades.Pasta()).string(), LerBytes(e.path())});
        std::sort(arquivos.begin(), arquivos.end());
        foto["arquivos"] = arquivos;
        return foto;
    }

    // The temporary files of the program anywhere below the drive folder or the program folder.
    std::vector<std::string> Temporarios() const {
        std::vector<std::string> achados;
        for (const std::string& raiz : {inst.unidades.Pasta(), inst.PastaPrograma()})
            for (const auto& e : fs::recursive_directory_iterator(raiz))
                if (NomeDeTemporario(e.path().filename().string())) achados.push_back(e.path().string());
        return achados;
    }

    // What is wrong with the music files after a kill (empty when every one is whole).
    std::string ArquivosInteiros() const {
        std::string erros;
        for (const auto& [caminho, fonte] : origens)
            if (LerBytes(caminho) != *fonte) erros += "2009 file changed: " + caminho + "\n";
        for (const auto& [caminho, fonte] : destinos) {
            if (!fs::exists(caminho)) continue;  // not copied yet
            const std::string bytes = LerBytes(caminho);
            if (bytes == *fonte) continue;
            if (bytes.compare(0, 4, std::string("ID3\x03", 4)) != 0 || SemTag(bytes) != SemTag(*fonte))
                erros += "not whole: " + caminho + "\n";
        }
        return erros;
    }

    // gfix's findings on the three databases (empty when there are none). Pages that a killed
    // engine had allocated and not yet linked in are reported as page warnings (the server's
    // log names them "orphan" pages: unused space, no data lost, released by the validation
    // itself); every other count is an error.
    std::string Validacao() const {
        std::string saida;
        for (const std::string& base : {inst.bases.Arquivo2009(), inst.bases.ArquivoAudio(), inst.bases.ArquivoAdm()})
            try {
                saida += Executar("gfix -v -full -user SYSDBA -password " + std::string(SenhaBanco) + " " +
                                  Aspas(base) + " 2>&1");
            } catch (const std::exception& e) {
                saida += e.what();
            }
        std::string erros;
        for (size_t inicio = 0; inicio < saida.size();) {
            size_t fim = saida.find('\n', inicio);
            if (fim == std::string::npos) fim = saida.size();
            const std::string linha = saida.substr(inicio, fim - inicio);
            inicio = fim + 1;
            if (linha.empty() || linha == "Summary of validation errors" ||
                linha.find("Number of database page warnings") != std::string::npos)
                continue;
            erros += linha + "\n";
        }
        return erros;
    }

    InstalacaoTeste inst;
    std::string programa;
    std::map<std::string, const std::string*> destinos, origens;
};

std::string Diferencas(const std::map<std::string, Linhas>& obtida, const std::map<std::string, Linhas>& esperada) {
    std::string d;
    for (const auto& [nome, linhas] : esperada) {
        const auto it = obtida.find(nome);
        if (it == obtida.end() || it->second != linhas)
            d += nome + " differs (" + std::to_string(it == obtida.end() ? 0 : it->second.size()) + " rows, expected " +
                 std::to_string(linhas.size()) + ")\n";
    }
    return d;
}

class EnsaiosInterrupcao : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!FerramentasAusentes({"lame", "mutagen"}).empty()) return;
        fontes_ = new Fontes;
        referencia_ = new Instalacao(*fontes_);
        // The uninterrupted run, timed: when the music table starts, when the play log starts,
        // when it ends.
        const auto inicio = std::chrono::steady_clock::now();
        const auto agora = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count(); };
        ProgramaFilho filho(referencia_->programa, referencia_->Args({}), referencia_->inst.unidades.Pasta());
        if (filho.EsperarTexto("Tabela: TB_MUSICAS", 120)) inicioMusicas_ = agora();
        if (filho.EsperarTexto("Tabela: TB_ECAD", 120)) inicioEcad_ = agora();
        const int status = filho.Aguardar(300);
        duracao_ = agora();
        if (status != 0) throw std::runtime_error("the uninterrupted run failed: " + filho.Erros());
        foto_ = new std::map<std::string, Linhas>(referencia_->Foto());
    }
    static void TearDownTestSuite() {
        delete foto_;
        delete referencia_;
        delete fontes_;
        foto_ = nullptr;
        referencia_ = nullptr;
        fontes_ = nullptr;
    }
    void SetUp() override {
        QUORVEL_EXIGIR("lame", "mutagen");
        ASSERT_TRUE(foto_);
        semente_ = static_cast<unsigned>(Numero("QUORVEL_SEMENTE", static_cast<int>(std::random_device{}())));
        gerador_.seed(semente_);
        RecordProperty("semente", std::to_string(semente_));
        std::printf("seed %u; an uninterrupted run takes %.2f s: the music table from %.2f s, the play log from %.2f s\n",
                    semente_, duracao_, inicioMusicas_, inicioEcad_);
    }
    // A random moment of a run, in seconds: in trials of odd number inside the music table (its
    // files copied, tagged and registered, short against the play log), in the others anywhere.
    double Momento(int ensaio) {
        if (ensaio % 2 == 1 && inicioEcad_ > inicioMusicas_)
            return std::uniform_real_distribution<double>(inicioMusicas_, inicioEcad_ + 0.02)(gerador_);
        return std::uniform_real_distribution<double>(0.05, duracao_ * 1.05)(gerador_);
    }
    // Waits, reading what the program writes meanwhile (a full pipe would hold it up).
    static void Esperar(ProgramaFilho& filho, double segundos) {
        filho.EsperarSaida([](const std::string&) { return false; }, std::max(0.0, segundos));
    }

    static Fontes* fontes_;
    static Instalacao* referencia_;
    static std::map<std::string, Linhas>* foto_;
    static double duracao_, inicioMusicas_, inicioEcad_;
    unsigned semente_ = 0;
    std::mt19937 gerador_;
    const int ensaios_ = Numero("QUORVEL_ENSAIOS", 2);
};
Fontes* EnsaiosInterrupcao::fontes_ = nullptr;
Instalacao* EnsaiosInterrupcao::referencia_ = nullptr;
std::map<std::string, Linhas>* EnsaiosInterrupcao::foto_ = nullptr;
double EnsaiosInterrupcao::duracao_ = 0;
double EnsaiosInterrupcao::inicioMusicas_ = 0;
double EnsaiosInterrupcao::inicioEcad_ = 0;

TEST_F(EnsaiosInterrupcao, MortaAQualquerMomentoDeixaTudoInteiroEONovoRodarCompleta) {
    int aposOFim = 0;
    for (int ensaio = 1; ensaio <= ensaios_; ++ensaio) {
        SCOPED_TRACE("kill trial " + std::to_string(ensaio) + ", seed " + std::to_string(semente_));
        Instalacao inst(*fontes_);
        const double momento = Momento(ensaio);
        {
            ProgramaFilho filho(inst.programa, inst.Args({}), inst.inst.unidades.Pasta());
            Esperar(filho, momento);
            if (!filho.Rodando()) ++aposOFim;
            filho.Sinal(SIGKILL);
            filho.Aguardar(60);
        }
        const size_t deixados = inst.Temporarios().size();
        const bool falhavaAntes = HasFailure();
        EXPECT_EQ(inst.ArquivosInteiros(), "") << "killed at " << momento << " s";
        EXPECT_EQ(inst.Validacao(), "") << "killed at " << momento << " s";
        // A new run from the start completes, as if nothing had happened.
        const auto r = inst.Rodar({"--sim"});
        ASSERT_EQ(r.status, 0) << "killed at " << momento << " s\n" << r.erros;
        EXPECT_EQ(inst.Temporarios(), std::vector<std::string>{}) << "killed at " << momento << " s";
        EXPECT_EQ(Diferencas(inst.Foto(), *foto_), "") << "killed at " << momento << " s";
        std::printf("kill trial %d at %.3f s (%zu temporary files left by the kill): %s\n", ensaio, momento, deixados,
                    HasFailure() && !falhavaAntes ? "FAILED" : "passed");
    }
    RecordProperty("depois_do_fim", aposOFim);
}

TEST_F(EnsaiosInterrupcao, ParadaAQualquerMomentoEContinuarIgualAUmaExecucaoInteira) {
    for (int ensaio = 1; ensaio <= ensaios_; ++ensaio) {
        // Trials 2, 3, 6, 7, ... ask for a commit first.
        const bool commit = (ensaio / 2) % 2 == 1;
        SCOPED_TRACE("stop trial " + std::to_string(ensaio) + (commit ? " with commit" : "") + ", seed " +
                     std::to_string(semente_));
        Instalacao inst(*fontes_);
        const double momento = Momento(ensaio);
        const double antes = commit ? std::uniform_real_distribution<double>(0.05, momento)(gerador_) : 0;
        int status = -1;
        {
            ProgramaFilho filho(inst.programa, inst.Args({}), inst.inst.unidades.Pasta());
            if (commit) {
                Esperar(filho, antes);
                filho.Sinal(SIGUSR1);
            }
            Esperar(filho, momento - antes);
            filho.Sinal(SIGTERM);
            status = filho.Aguardar(120);
        }
        EXPECT_TRUE(status == 0 || status == 1) << status;
        // A stopped run is continued; one that had ended before the signal is complete as it is
        // (continuing it would resume at the checkpoint of its commit, as an operator would not).
        const bool parou = status != 0;
        if (parou) {
            const auto r = inst.Rodar({"--continuar", "--sim"});
            ASSERT_EQ(r.status, 0) << "stopped at " << momento << " s, checkpoint "
                                   << LerHost(inst.inst.ArquivoSeqHost()) << "\n" << r.erros;
        }
        EXPECT_EQ(inst.Temporarios(), std::vector<std::string>{});
        const auto foto = inst.Foto();
        EXPECT_EQ(Diferencas(foto, *foto_), "") << "stopped at " << momento << " s";
        std::string seq = LerHost(inst.inst.ArquivoSeqHost());
        std::replace(seq.begin(), seq.end(), '\r', ' ');
        std::replace(seq.begin(), seq.end(), '\n', ' ');
        std::printf("stop trial %d%s at %.3f s (%s, checkpoint \"%s\"): %s\n", ensaio,
                    commit ? " with a commit before" : "", momento, parou ? "stopped, continued" : "had ended",
                    seq.c_str(), Diferencas(foto, *foto_).empty() ? "passed" : "FAILED");
    }
}

// The copies and tags of the music table are not flushed one by one: the run flushes them all
// (syncfs) before it writes a checkpoint and when the table ends. Traced: a commit asked while the
// musics are copied writes Seq.ini only after a syncfs that follows every music file put in
// place before it, and the last music file put in place is followed by a syncfs too.
TEST_F(EnsaiosInterrupcao, OCheckpointSoDepoisDeOsArquivosIremAoDisco) {
    QUORVEL_EXIGIR("strace");
    Instalacao inst(*fontes_);
    const std::string rastro = inst.inst.PastaPrograma() + "/rastro.txt";
    std::vector<std::string> argumentos{"-f", "-qq", "-e", "trace=syncfs,rename,renameat,renameat2", "-o", rastro,
                                        inst.programa};
    for (const std::string& a : inst.Args({})) argumentos.push_back(a);
    {
        ProgramaFilho filho(Executar("command -v strace | tr -d '\\n'"), argumentos, inst.inst.unidades.Pasta());
        // The commit is asked once the first music file is in its 2010 folder.
        const auto algumDestino = [&] {
            for (const auto& [caminho, fonte] : inst.destinos)
                if (fs::exists(caminho)) return true;
            return false;
        };
        for (int i = 0; i < 12000 && !algumDestino() && filho.Rodando(); ++i) Esperar(filho, 0.01);
        // To the program, not to strace, its parent.
        const std::string tarefa = "/proc/" + std::to_string(filho.Pid()) + "/task/" + std::to_string(filho.Pid());
        pid_t programa = 0;
        std::ifstream(tarefa + "/children") >> programa;
        ASSERT_GT(programa, 0);
        ::kill(programa, SIGUSR1);
        ASSERT_EQ(filho.Aguardar(300), 0) << filho.Erros();
    }
    ASSERT_TRUE(fs::exists(inst.inst.ArquivoSeqHost()));

    std::ifstream r(rastro);
    long linha = 0, ultimoSyncfs = -1, ultimaMusica = -1, checkpoints = 0;
    for (std::string texto; std::getline(r, texto); ++linha) {
        if (texto.find("resumed>") != std::string::npos) continue;
        if (texto.find("syncfs(") != std::string::npos) {
            ultimoSyncfs = linha;
        } else if (texto.find("rename") != std::string::npos) {
            // The target is the last quoted path of the call.
            const size_t fim = texto.rfind('"'), inicio = fim == std::string::npos ? fim : texto.rfind('"', fim - 1);
            if (inicio == std::string::npos) continue;
            const std::string alvo = texto.substr(inicio + 1, fim - inicio - 1);
            if (alvo.size() > 8 && alvo.compare(alvo.size() - 8, 8, "/Seq.ini") == 0) {
                ++checkpoints;
                EXPECT_GT(ultimoSyncfs, ultimaMusica) << "Seq.ini written at line " << linha << " of the trace";
            } else if (alvo.find("/Musicas/") != std::string::npos && alvo.find(".mp3") != std::string::npos) {
                ultimaMusica = linha;
            }
        }
    }
    // The commit's checkpoint, and the one the finished run leaves with nothing to resume.
    EXPECT_EQ(checkpoints, 2);
    EXPECT_GE(ultimaMusica, 0);
    EXPECT_GT(ultimoSyncfs, ultimaMusica);
    EXPECT_EQ(Diferencas(inst.Foto(), *foto_), "");
}

}  // namespace
}  // namespace quorvel::teste
