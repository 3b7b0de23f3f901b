#include "app/nucleo.h"

namespace quorvel {

NucleoQuorvel::NucleoQuorvel(PortaOperador& operador) : operador_(operador) {}
NucleoQuorvel::~NucleoQuorvel() = default;

}  // namespace quorvel
