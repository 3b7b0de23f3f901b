#include "audio/id3v1.h"

#include "platform/arquivos.h"
#include "platform/texto.h"

namespace quorvel {

const std::array<const char*, TID3v1::TotalGenres> TID3v1::GenreNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient",
    "Trip-Hop", "Vocal", "Jazz+Funk",
    "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip",
    "Gospel", "Noise",
    "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta",
    "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave",
    "Psychadelic", "Rave", "Showtunes",
    "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock",
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival",
    "Celtic", "Bluegrass",
    "Avantgarde", "Gothic Rock", "Progessive Rock", "Psychedelic Rock", "Symphonic Rock",
    "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass",
    "Primus", "Porn Groove",
    "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad",
    "Rhythmic Soul", "Freestyle",
    "Duet", "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall", "Goa",
    "Drum & Bass", "Club-House", "Hardcore",
    "Terror", "Indie", "BritPop", "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap",
    "Heavy Metal", "Black Metal", "Crossover",
    "Contemporary Christian", "Christian Rock", "Merengue", "Salsa", "Trash Metal", "Anime",
    "JPop", "Synthpop",
};

void TID3v1::Reset() {
    exists_ = false;
    tagVersion_ = 1;
    title_.clear();
    artist_.clear();
    album_.clear();
    year_.clear();
    comment_.clear();
    track_ = 0;
    genreID_ = 255;
}

std::string TID3v1::Genre() const {
    if (genreID_ < TotalGenres) return GenreNames[genreID_];
    return std::string();
}

namespace {

// A field of the block, without its trailing blanks, NULs and control characters. NULs inside
// the text stay.
std::string Campo(const unsigned char* bloco, int inicio, int tamanho) {
    return ApararFim(std::string_view(reinterpret_cast<const char*>(bloco) + inicio, tamanho));
}

}  // namespace

bool TID3v1::ReadFromFile(const std::string& FileName) {
    Reset();
    auto arquivo = Arquivo::Abrir(FileName, Arquivo::Modo::Leitura);
    return arquivo && ReadFromFile(*arquivo);
}

bool TID3v1::ReadFromFile(const Arquivo& arquivo) {
    Reset();
    unsigned char bloco[128];
    const int64_t tamanho = arquivo.Tamanho();
    if (tamanho < 128 || arquivo.LerEm(tamanho - 128, bloco, sizeof bloco) != sizeof bloco) return false;
    if (bloco[0] != 'T' || bloco[1] != 'A' || bloco[2] != 'G') return true;

    exists_ = true;
    tagVersion_ = ((bloco[125] == 0 && bloco[126] != 0) || (bloco[125] == ' ' && bloco[126] != ' '))
                      ? 2
                      : 1;
    title_ = Campo(bloco, 3, 30);
    artist_ = Campo(bloco, 33, 30);
    album_ = Campo(bloco, 63, 30);
    year_ = Campo(bloco, 93, 4);
    if (tagVersion_ == 1) {
        comment_ = Campo(bloco, 97, 30);
    } else {
        comment_ = Campo(bloco, 97, 28);
        track_ = bloco[126];
    }
    genreID_ = bloco[127];
    return true;
}

}  // namespace quorvel
