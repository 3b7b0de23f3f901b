#pragma once
// Real audio files for the tests and benchmarks, made by Debian's tools at run time: sox (WAV),
// lame (MP3), twolame (MPEG Layer II) and python3-mutagen (ID3 tags written and read by an
// independent implementation).
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace quorvel::teste {

// The tools that are missing among "sox", "lame", "twolame" and "mutagen" (the Python module of
// Debian's /usr/bin/python3); empty when all are present.
std::string FerramentasAusentes(std::initializer_list<const char*> ferramentas);

// Skips the current test when a tool is missing.
#define QUORVEL_EXIGIR(...)                                                                   \
    do {                                                                                      \
        const std::string ausentes_ = ::quorvel::teste::FerramentasAusentes({__VA_ARGS__});   \
        if (!ausentes_.empty()) GTEST_SKIP() << "missing tools: " << ausentes_;               \
    } while (0)

// A text quoted for the shell.
std::string Aspas(const std::string& texto);
// Runs a shell command and returns its standard output; throws std::runtime_error with the
// command and its output when it fails.
std::string Executar(const std::string& comando);

// A sine tone WAV of the given length made by sox. `formato` holds sox's output options
// (sample size, encoding, file type).
void GerarWav(const std::string& destino, double segundos, int taxa, int canais,
              const std::string& formato = "-b 16 -e signed-integer");
// An MP3 encoded by lame from a tone with some noise of the given rate and channels; `opcoes`
// are lame's options ("-b 128", "-V 2", "-m m --resample 22.05" ...).
void GerarMp3(const std::string& destino, double segundos, const std::string& opcoes,
              int taxa = 44100, int canais = 2);
// An MPEG Layer II file encoded by twolame.
void GerarMp2(const std::string& destino, double segundos, const std::string& opcoes,
              int taxa = 44100, int canais = 2);

// Runs a Python script with /usr/bin/python3 (mutagen available as `m`, `mutagen.id3`), with
// the file as sys.argv[1]; returns its output.
std::string Python(const std::string& script, const std::string& arquivo);

// The ID3v2 frames of a file as mutagen reads them: identifier -> text (Windows-1252). Text
// frames give their texts joined by "/", COMM its text, WXXX its URL. Also "#versao" -> the
// tag's version ("2.3.0") and "#tamanho" -> its size.
std::map<std::string, std::string> FramesMutagen(const std::string& arquivo);

// Whole host files.
std::string LerBytes(const std::string& caminhoHost);
void GravarBytes(const std::string& caminhoHost, const std::string& conteudo);

// Bytes of an ID3v2 tag made by hand, for what no tool writes: `versao` 2, 3 or 4, `flags` of
// the header, the frames already encoded, `padding` zero bytes; the size field counts frames
// and padding (plus `extra`, to claim more than there is).
std::string TagID3v2Manual(int versao, uint8_t flags, const std::string& quadros, int padding = 0,
                           int extra = 0);
// One frame: identifier (3 or 4 characters) and body; version 2 uses 3-byte sizes.
std::string QuadroManual(const std::string& id, const std::string& corpo, uint8_t flags2 = 0);
// An ID3v1 block of 128 bytes.
std::string BlocoID3v1(const std::string& titulo, const std::string& artista,
                       const std::string& album, const std::string& ano,
                       const std::string& comentario, int faixa, int genero);

}  // namespace quorvel::teste
