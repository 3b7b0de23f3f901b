#pragma once
// Creating databases (for the test databases and the benchmarks): SQL dialect 1, no
// default character set, owned by SYSDBA.
#include <string>

namespace quorvel {

// Creates the database at the location (a local path opens the embedded engine). With
// `gravacaoForcada` false the new database writes without waiting for the disk (forced writes
// off), which is what test databases want. Raises ErroBanco when it cannot be created.
void CriarBaseDados(const std::string& local, const std::string& usuario, const std::string& senha,
                    bool gravacaoForcada);

}  // namespace quorvel
