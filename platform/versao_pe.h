#pragma once
// Version resources of Windows executables (PE files), read by our own reader on every platform.
//
// LerInformacaoVersao does what GetFileVersionInfoSize and GetFileVersionInfo do: it finds the
// RT_VERSION resource in the file's resource section and returns its VS_VERSIONINFO block.
// ConsultarTextoVersao does what VerQueryValue does for a string of that block. Every offset
// read from the file is checked against the data it points into, so a damaged or hostile file
// yields "no version information" instead of a read outside the buffer.
#include <optional>
#include <string>

namespace quorvel {

// The VS_VERSIONINFO block of the file at a Windows path text (see platform/caminhos.h);
// nullopt when the file cannot be read, is not a PE file or has no version resource.
std::optional<std::string> LerInformacaoVersao(const std::string& caminho);

// A string value of a VS_VERSIONINFO block, by its sub-block path, for example
// "\StringFileInfo\040904E4\FileVersion" (the leading backslash may be left out; the names match
// without regard to case of a-z). The value is read up to its first null character and
// converted from UTF-16 to Windows-1252. nullopt when the block has no such value.
std::optional<std::string> ConsultarTextoVersao(const std::string& bloco, const std::string& subbloco);

}  // namespace quorvel
