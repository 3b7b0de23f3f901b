#pragma once
// The core of the program: the run state, the migrators and everything a run uses. It does not
// know Qt; a front end owns one and talks to it through the operator port.
#include "app/estado.h"
#include "app/operador.h"
#include "app/sequencia.h"

namespace quorvel {

class NucleoQuorvel {
public:
    explicit NucleoQuorvel(PortaOperador& operador);
    virtual ~NucleoQuorvel();

    EstadoExecucao Estado;

    // The ten migrators, in the order of the sequence.
    void ConverterAgenda();
    void ConverterAvancoManual();
    void ConverterPerfilBotoes();
    void ConverterBotoneira();
    void ConverterGenero();
    void ConverterMusicas();
    void ConverterEcad();
    void ConverterIrradiacao();
    void ConverterProgAuto();
    void ConverterVinhetas();

    PortaOperador& Operador() { return operador_; }

private:
    PortaOperador& operador_;
};

}  // namespace quorvel
