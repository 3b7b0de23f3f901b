#pragma once
// Date and time of day as the databases keep them, with the zero point of 30 December 1899
// 00:00 (the value a NULL date reads as).
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

struct DataHora {
    int32_t dia = 0;     // days since 30 December 1899
    uint32_t tempo = 0;  // time of day in units of 1/10,000 second

    static constexpr uint32_t UnidadesPorSegundo = 10000;
    static constexpr uint32_t UnidadesPorDia = 86400u * UnidadesPorSegundo;

    // A calendar date and time; raises Erro when the date or time does not exist.
    static DataHora De(int ano, int mes, int dia, int hora = 0, int minuto = 0, int segundo = 0,
                       int milissegundo = 0);
    void Decompor(int& ano, int& mes, int& diaMes) const;
    void DecomporHora(int& hora, int& minuto, int& segundo, int& milissegundo) const;

    // Days and fractions of a day since the zero point, as a floating-point date-time.
    double ComoDouble() const;
    static DataHora DeDouble(double valor);

    friend bool operator==(const DataHora&, const DataHora&) = default;
};

// "dd/mm/yyyy", followed by " hh:nn:ss" when the time of day is not midnight.
std::string DataHoraParaTexto(const DataHora& valor);

// Reads a date-time in the short date and time format "dd/mm/yyyy hh:nn:ss": day, month and
// year separated by '/', '-' or '.', a two-digit year taken in the window of 50 years around
// 2000 (00-49 → 20xx, 50-99 → 19xx), an optional time of hours and minutes with optional seconds
// and milliseconds. An ISO text "yyyy-mm-dd[ hh:nn:ss]" is read too. False when the text is none
// of these or names a day that does not exist.
bool TentarTextoParaDataHora(std::string_view texto, DataHora& valor);
// As above; raises ErroConversao "'%s' is not a valid date and time".
DataHora TextoParaDataHora(std::string_view texto);

}  // namespace quorvel
