#pragma once
// Database locations as the installations write them, turned into what the client library opens.
//
// "host:path" goes to the client as it stands, except that when the host names this machine a
// drive path after it is mapped into the drive folder ("localhost:C:\Dados\ADM.FDB" →
// "localhost:/…/unidades/c/Dados/ADM.FDB"). A local drive path ("C:\Dados\ADM.FDB") is mapped
// the same way and opened by the embedded engine; a POSIX path is opened by it as it stands.
#include <string>

namespace quorvel {

// True when the text begins with a drive letter and a colon ("C:\…", "c:/…", "C:").
bool ComecaComUnidade(const std::string& texto);

// The location as the client library receives it.
std::string LocalParaCliente(const std::string& local);

// The host part of a location: the text before its first colon, ending at a '/' too, so that a
// port or service name ("servidor/3051:C:\Dados\ADM.FDB", "servidor/gds_db:…") stays out of
// it. A local drive path gives its drive letter ("C"); a text without a colon gives "".
std::string HostDaLocalizacao(const std::string& local);

}  // namespace quorvel
