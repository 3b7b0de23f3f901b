#pragma once
// The entries of the folders that paths are resolved in, indexed by their upper-cased
// Windows-1252 name, so that finding a name without regard to case costs one lookup instead of
// a scan of the whole folder. Filling a folder of N files would otherwise cost N scans of up to
// N entries.
//
// Each indexed folder is watched (inotify): every entry created, deleted or renamed in it since
// the last lookup is applied to its index before the next lookup answers, so the answer is the
// one a fresh scan would give. Where no watch can be had, the folder is scanned every time.
// Linux only: on Windows paths are used as they are.

#include <string>

namespace quorvel {

// The entry of the folder `pasta` (a host path) whose name equals `nome` (Windows-1252) without
// regard to case; empty when there is none. The first in byte order wins when several do.
std::string EntradaSemCaixa(const std::string& pasta, const std::string& nome);

}  // namespace quorvel
