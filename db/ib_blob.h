#pragma once
// Internal to the database layer: a blob's whole content written and read through the client
// library, in a connection's transaction.
#include <ibase.h>

#include <string>

namespace quorvel {

class TIBDatabase;
class TIBTransaction;

// Writes the content as a new blob and returns its id, for binding to a blob parameter.
ISC_QUAD GravarBlob(TIBDatabase& banco, TIBTransaction& transacao, const std::string& conteudo);

// The whole content of the blob with that id.
std::string LerBlob(TIBDatabase& banco, TIBTransaction& transacao, const ISC_QUAD& id);

}  // namespace quorvel
