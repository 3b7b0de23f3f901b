// Targets of the four audio readers. Each input is the whole audio file.
#include <cmath>
#include <cstring>
#include <string>

#include "alvos/alvos.h"
#include "alvos/rascunho.h"
#include "audio/id3v1.h"
#include "audio/id3v2.h"
#include "audio/mpegaudio.h"
#include "audio/wavfile.h"
#include "platform/texto.h"

namespace quorvel::fuzz {

namespace {

bool Aparado(const std::string& texto) { return Aparar(texto) == texto; }

// A reader's text field: at most `maximo` characters, already without blanks and control
// characters at its ends.
void ConferirTexto(const char* alvo, const char* campo, const std::string& texto, size_t maximo) {
    if (texto.size() > maximo) Falha(alvo, "text field longer than its frame", campo);
    if (!Aparado(texto)) Falha(alvo, "text field not trimmed", campo);
}

}  // namespace

int AlvoId3v1(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "id3v1";
    TID3v1 t;
    const bool lido = t.ReadFromFile(GravarRascunho("id3v1.mp3", dados, tamanho));
    if (lido != (tamanho >= 128)) Falha(alvo, "read result does not follow the file size");
    const unsigned char* bloco = lido ? dados + tamanho - 128 : nullptr;
    if (t.Exists() != (bloco && std::memcmp(bloco, "TAG", 3) == 0)) Falha(alvo, "Exists is not the TAG mark");
    if (!t.Exists()) {
        if (!t.Title().empty() || !t.Comment().empty() || t.Track() != 0 || t.GenreID() != 255 ||
            t.TagVersion() != 1)
            Falha(alvo, "fields not in the reset state without a tag");
        return 0;
    }
    // Each field is its own bytes, cut at the end only.
    auto campo = [&](const char* nome, const std::string& texto, int inicio, size_t largura) {
        if (texto.size() > largura || texto.compare(0, texto.size(), reinterpret_cast<const char*>(bloco) + inicio,
                                                   texto.size()) != 0)
            Falha(alvo, "field is not a prefix of its bytes", nome);
        if (!texto.empty() && static_cast<unsigned char>(texto.back()) <= 0x20)
            Falha(alvo, "field keeps a trailing blank", nome);
    };
    campo("Title", t.Title(), 3, 30);
    campo("Artist", t.Artist(), 33, 30);
    campo("Album", t.Album(), 63, 30);
    campo("Year", t.Year(), 93, 4);
    campo("Comment", t.Comment(), 97, t.TagVersion() == 2 ? 28 : 30);
    if (t.TagVersion() == 1 && t.Track() != 0) Falha(alvo, "a v1.0 tag with a track number");
    if (t.TagVersion() == 2 && t.Track() != bloco[126]) Falha(alvo, "track is not byte 126");
    if (t.GenreID() != bloco[127]) Falha(alvo, "genre index is not byte 127");
    if (t.Genre() != (t.GenreID() < TID3v1::TotalGenres ? TID3v1::GenreNames[t.GenreID()] : ""))
        Falha(alvo, "genre name does not follow its index");
    return 0;
}

int AlvoId3v2(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "id3v2";
    const std::string entrada(reinterpret_cast<const char*>(dados), tamanho);
    const std::string arquivo = GravarRascunho("id3v2.mp3", entrada);
    TID3v2 t;
    const bool lido = t.ReadFromFile(arquivo);
    if (lido != (tamanho >= 10)) Falha(alvo, "read result does not follow the file size");
    if (!lido) return 0;
    const bool marca = entrada.compare(0, 3, "ID3") == 0;
    if (t.Exists() != marca) Falha(alvo, "Exists is not the ID3 mark");
    if (t.Size() < 0 || static_cast<size_t>(t.Size()) > tamanho || (t.Size() != 0 && t.Size() < 10))
        Falha(alvo, "tag size outside the file", std::to_string(t.Size()));
    // Two fields are cut from a decoded text and keep what stands at the cut: the genre what
    // follows its last ")", the year taken from TDRC its first four characters.
    for (int slot = 0; slot < TID3v2::TotalFrames; ++slot)
        if (slot != TID3v2::SlotGenre && slot != TID3v2::SlotYear)
            ConferirTexto(alvo, TID3v2::Quadros[slot].id, t.Texto(slot), TID3v2::TamanhoCorpo - 1);
    if (t.Texto(TID3v2::SlotGenre).size() >= TID3v2::TamanhoCorpo || t.Texto(TID3v2::SlotGenre).find(')') != std::string::npos)
        Falha(alvo, "genre too long or keeping a reference in parentheses");
    if (t.Texto(TID3v2::SlotYear).size() >= TID3v2::TamanhoCorpo) Falha(alvo, "year longer than its frame");

    // The new tag from what was read, as the tag rewrite makes it: every text assigned again (so
    // trimmed) and TCAD "S".
    TID3v2 novo = t;
    for (int slot = 0; slot < TID3v2::TotalFrames; ++slot) novo.Definir(slot, t.Texto(slot));
    novo.Definir(TID3v2::SlotTCAD, "S");
    bool reescrever = false;
    const std::string tag = novo.MontarTag(dados, static_cast<int64_t>(tamanho), reescrever);
    const int32_t antigo = marca ? TID3v2::TagSize(dados, static_cast<int64_t>(tamanho)) : 0;
    if (tag.size() < 10 || tag.compare(0, 6, std::string("ID3\x03\0\0", 6)) != 0)
        Falha(alvo, "new tag without a version 2.3 header");
    const auto* cab = reinterpret_cast<const unsigned char*>(tag.data());
    if ((cab[6] | cab[7] | cab[8] | cab[9]) & 0x80) Falha(alvo, "new tag size is not sync-safe");
    if (static_cast<size_t>(TID3v2::TagSize(cab, static_cast<int64_t>(tag.size()))) != tag.size())
        Falha(alvo, "new tag size field does not match its length");
    if (!reescrever && tag.size() != static_cast<size_t>(antigo))
        Falha(alvo, "a tag written in place does not fill the old tag exactly");
    if (reescrever && tag.size() < static_cast<size_t>(TID3v2::TamanhoPadrao))
        Falha(alvo, "a rewritten file's tag is shorter than 4,096 bytes");

    // Saved into the file, it stands in front of everything that followed the old tag.
    if (!novo.SaveToFile(arquivo)) Falha(alvo, "SaveToFile failed on a writable file");
    if (LerRascunho(arquivo) != tag + entrada.substr(static_cast<size_t>(antigo)))
        Falha(alvo, "the file after the save is not the new tag followed by the old audio");
    if (!LerRascunho(arquivo + "~").empty()) Falha(alvo, "a temporary file stayed behind");

    // And it reads back as it was built, as far as the reader's 500 bytes of a frame body go: a
    // comment carries the encoding byte, "eng" and a zero byte before its text, a link the
    // encoding byte and a zero byte, so a long one is written whole but read back shorter.
    TID3v2 relido;
    if (!relido.ReadFromFile(arquivo) || !relido.Exists() || relido.TagVersion() != 3 ||
        static_cast<size_t>(relido.Size()) != tag.size())
        Falha(alvo, "the saved tag does not read back as a tag");
    for (int slot = 0; slot < TID3v2::TotalFrames; ++slot) {
        const size_t antesDoTexto = slot == TID3v2::SlotComment ? 5 : slot == TID3v2::SlotLink ? 2 : 1;
        const std::string esperado = Aparar(novo.Texto(slot).substr(0, TID3v2::TamanhoCorpo - antesDoTexto));
        if (relido.Texto(slot) != esperado)
            Falha(alvo, "a frame does not read back as written", TID3v2::Quadros[slot].id);
    }
    if (relido.Track() != novo.Track()) Falha(alvo, "the track number does not read back as written");
    return 0;
}

int AlvoMpeg(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "mpeg";
    TMPEGaudio m;
    const bool lido = m.ReadFromFile(GravarRascunho("mpeg.mp3", dados, tamanho));
    if (lido && tamanho < 128) Falha(alvo, "a file shorter than 128 bytes read through");
    // Everything the audio information record and the registration ask.
    const double duracao = m.Duration();
    const uint16_t taxa = m.BitRate();
    const std::string textos = m.Version() + m.Layer() + m.ChannelMode() + m.Emphasis() + m.Encoder();
    const int32_t quadros = m.Frames();
    (void)m.SampleRate();
    (void)textos;
    (void)quadros;
    if (!std::isfinite(duracao)) Falha(alvo, "duration is not a number");
    if (m.EncoderID() > 7) Falha(alvo, "encoder id outside the table");
    const FrameInfo& f = m.Frame();
    if (!f.Found) {
        if (duracao != 0 || m.Valid() || m.FileLength() != 0) Falha(alvo, "no frame, yet not in the reset state");
        return 0;
    }
    if (static_cast<size_t>(m.FileLength()) != tamanho) Falha(alvo, "file length is not the file's size");
    if (f.Position < 0 || f.Position > TMPEGaudio::LimiteVarredura) Falha(alvo, "frame position outside the scan");
    if (!TMPEGaudio::HeaderValido(f.HeaderBytes) || f.FrameSize != TMPEGaudio::FrameLength(f) || f.FrameSize == 0)
        Falha(alvo, "the accepted frame has no valid header");
    if (m.Valid() && (taxa < 8 || taxa > 448 || duracao < 0.1)) Falha(alvo, "Valid with an implausible stream");
    return 0;
}

int AlvoWav(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "wav";
    TWAVfile w;
    const bool lido = w.ReadFromFile(GravarRascunho("wav.wav", dados, tamanho));
    if (lido && tamanho < 40) Falha(alvo, "a file shorter than 40 bytes read");
    const double duracao = w.Duration();
    const std::string modo = w.ChannelMode();
    if (!std::isfinite(duracao) || duracao < 0) Falha(alvo, "duration is negative or not a number");
    if (!w.Valid()) {
        if (duracao != 0 || w.Channels() != 0 || w.FileSize() != 0) Falha(alvo, "not valid, yet fields are set");
        return 0;
    }
    if (w.Channels() != 1 && w.Channels() != 2) Falha(alvo, "valid with neither one nor two channels");
    if (std::memcmp(dados, "RIFF", 4) != 0 || std::memcmp(dados + 8, "WAVEfmt ", 8) != 0)
        Falha(alvo, "valid without the RIFF, WAVE and fmt marks");
    if (w.HeaderSize() > w.FileSize()) Falha(alvo, "header larger than the stated file");
    if (modo != (w.Channels() == 1 ? "Mono" : "Stereo")) Falha(alvo, "channel mode does not follow the channels");
    return 0;
}

}  // namespace quorvel::fuzz
