#pragma once
#include <optional>
#include <string>

namespace velt {

class Database;

// The manager's record (TB_GESTOR), as stored: Windows-1252 text, ESTADUAL "1" state, "2" municipal.
struct Gestor {
    std::string identificacao;
    std::string estadual;
    std::string uf;        // two-digit IBGE code of the state
    std::string codmunic;  // IBGE municipality code, "000000" for a state manager
    std::string dirtrab;   // work directory

    bool ehEstadual() const { return estadual == "1"; }
};

// The first row of TB_GESTOR, texts without trailing blanks; nullopt when the table is empty.
std::optional<Gestor> LeGestor(Database& db);

}  // namespace velt
