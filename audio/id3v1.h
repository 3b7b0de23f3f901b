#pragma once
// The 128-byte ID3v1 block at the end of an audio file (v1.0 and v1.1), read only.
#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

class Arquivo;

class TID3v1 {
public:
    static constexpr int TotalGenres = 148;
    // Genre names by index 0 to 147: the ID3v1 list and its common extension.
    static const std::array<const char*, TotalGenres> GenreNames;

    TID3v1() { Reset(); }  // Create

    void Reset();
    // True when the last 128 bytes could be read, whether or not they are a tag (see Exists).
    bool ReadFromFile(const std::string& FileName);
    bool ReadFromFile(const Arquivo& arquivo);

    bool Exists() const { return exists_; }
    uint8_t TagVersion() const { return tagVersion_; }  // 1 = v1.0, 2 = v1.1
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    uint8_t Track() const { return track_; }
    uint8_t GenreID() const { return genreID_; }
    // The name of GenreID, empty above the table.
    std::string Genre() const;

private:
    bool exists_;
    uint8_t tagVersion_;
    std::string title_, artist_, album_, year_, comment_;
    uint8_t track_;
    uint8_t genreID_;
};

}  // namespace quorvel
