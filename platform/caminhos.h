#pragma once
// Windows path texts and their place on this machine.
//
// Inside the program every path is a Windows path text ("C:\Comercial\V0001.mp3",
// "\\SRV01\D\MUSICAS\x.mp3"). Only when a file is touched is the text turned into a host path:
// on Windows the text itself (the file functions convert it to UTF-16 at the system call); on
// Linux a drive path "X:\rest" lives in the drive folder $QUORVEL_UNIDADES/x/rest (default
// ~/.quorvel/unidades); a UNC path whose host names this machine and whose share is one letter
// maps to that drive; any other UNC path does not exist; a text without a drive only has its
// backslashes turned into slashes. Each component is looked up without regard to letter case
// when it does not exist as written. Host names are UTF-8, path texts Windows-1252.
#include <string>

namespace quorvel {

// The part from the last '.' that stands after the last '\' or ':', dot included; empty when none.
std::string ExtrairExtensao(const std::string& caminho);
// The part after the last '\' or ':'.
std::string ExtrairNomeArquivo(const std::string& caminho);
// The part up to and including the last '\' or ':'.
std::string ExtrairCaminho(const std::string& caminho);

// The drive folder of this machine ($QUORVEL_UNIDADES or ~/.quorvel/unidades); empty on Windows.
std::string PastaUnidades();

// The host path (UTF-8) of a Windows path text; empty text when the path cannot exist on this
// machine (a UNC path naming another host). Components that exist in another letter case are
// found; components that do not exist at all are kept as written (converted to UTF-8).
std::string CaminhoHost(const std::string& caminho);

// True when the text names this machine: its host name or its full name as the resolver knows
// it (each also in its short form), one of its IPv4 addresses, "localhost" or "127.0.0.1",
// compared without regard to case.
bool NomeDesteComputador(const std::string& host);

// The Windows path text of a host path (inverse of the drive folder mapping where it applies):
// a path inside the drive folder becomes "X:\rest"; any other becomes itself with '/' kept.
std::string CaminhoWindowsDeHost(const std::string& host);

}  // namespace quorvel
