#pragma once
// Runs an SQL script of DDL and DML statements on a connection, as isql would: statements end
// with ';' (outside quotes and comments), "SET SQL DIALECT", "SET TERM" and "SET NAMES" lines
// are understood, "COMMIT" commits, and every DDL statement is committed at once so that the
// statements after it see its objects.
#include <string>
#include <vector>

#include "db/ib_conexao.h"

namespace quorvel {

// The statements of a script, without their terminators and without the SET commands.
std::vector<std::string> DividirScript(const std::string& script);

// Runs the script in the transaction (started when inactive) and commits retaining at the end.
void ExecutarScript(TIBDatabase& banco, TIBTransaction& transacao, const std::string& script);

}  // namespace quorvel
