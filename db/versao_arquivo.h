#pragma once
// The version strings of an executable file (its version resource, US English / Windows-1252
// string table).
#include <string>

namespace quorvel {

class TFileVersionData {
public:
    TFileVersionData() = default;

    // Setting the work file empties the ten texts and, for a non-empty name, reads them from the
    // string table 040904E4 of the file's version resource. A file without a version resource
    // (or not found, or not an executable) leaves them empty; so does a file whose strings are
    // stored under another language block.
    void WorkFileName(const std::string& arquivo);
    const std::string& WorkFileName() const { return workFileName_; }

    // Each at most 255 characters; empty until read or when the resource lacks the value.
    const std::string& CompanyName() const { return textos_[0]; }
    const std::string& FileDescription() const { return textos_[1]; }
    const std::string& FileVersion() const { return textos_[2]; }
    const std::string& InternalName() const { return textos_[3]; }
    const std::string& LegalCopyright() const { return textos_[4]; }
    const std::string& LegalTrademarks() const { return textos_[5]; }
    const std::string& OriginalFilename() const { return textos_[6]; }
    const std::string& ProductName() const { return textos_[7]; }
    const std::string& ProductVersion() const { return textos_[8]; }
    const std::string& Comments() const { return textos_[9]; }

private:
    std::string workFileName_;
    std::string textos_[10];
};

// The file's description, one blank and its version: "Firebird SQL Server WI-V2.1.3.18185";
// a single blank when the file has no version resource.
std::string VersaoArquivo(const std::string& arquivo);

}  // namespace quorvel
