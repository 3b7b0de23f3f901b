#pragma once
// A client library as old as InterBase's gds32 or Firebird 1.0's: a copy of this system's
// Firebird client in which fb_interpret cannot be found (its name in the table of exported
// names is changed), so that only the older isc_interprete gives the error texts.
#include <string>

namespace quorvel::teste {

// Writes the copy into `pasta` and returns its path; empty when the client library cannot be
// found or has no fb_interpret to hide.
std::string ClienteSemFbInterpret(const std::string& pasta);

}  // namespace quorvel::teste
