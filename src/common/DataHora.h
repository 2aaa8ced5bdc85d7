#pragma once
#include <compare>
#include <functional>
#include <string>

namespace velt {

// A date and time of day as the database's timestamps and the screens' clock hold them.
struct DataHora {
    int ano = 0, mes = 0, dia = 0;
    int hora = 0, minuto = 0, segundo = 0;
    int decimilesimos = 0;  // fraction of a second in 1/10000 s, as the server keeps it
    auto operator<=>(const DataHora&) const = default;

    std::string ddmmyyyy() const;  // "dd/mm/yyyy"
    std::string hhnnss() const;    // "hh:nn:ss"
};

// "Now" for the whole program. Tests set a fixed moment; nothing else reads the system clock.
DataHora agora();
void defineRelogio(std::function<DataHora()> relogio);  // an empty function restores the system clock

// Last-modification time of a file, in local time (the batch generation date).
DataHora dataModificacao(const std::string& caminho);

}  // namespace velt
