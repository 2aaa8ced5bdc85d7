#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace velt {

class Database;
class Driver;

// The manager's record (TB_GESTOR), as stored: Windows-1252 text, ESTADUAL "1" state, "2" municipal.
struct Gestor {
    std::string identificacao;
    std::string estadual;
    std::string uf;        // two-digit IBGE code of the state
    std::string codmunic;  // IBGE municipality code, "000000" for a state manager
    std::string dirtrab;   // work directory

    bool ehEstadual() const { return estadual == "1"; }
};

// What the guard of the main menu shows when the record is missing or incomplete (UTF-8).
inline constexpr std::string_view kMensagemGuardaGestor =
    "Cadastrar ou corrigir dados do gestor (opção \"Gestor\" no Menu Principal).";

// The first row of TB_GESTOR, texts without trailing blanks; nullopt when the table is empty.
std::optional<Gestor> LeGestor(Database& db);

// Checks the manager's data in order: identification, state, municipality (municipal manager
// only), work directory. The first failing check ends it; with `mostrar` its message goes to the
// driver in a plain box, otherwise nothing is shown.
bool ValidaGestor(Database& db, const Gestor& dados, bool mostrar, Driver& driver);

// The guard of the commands that need the manager: false, with kMensagemGuardaGestor shown,
// when TB_GESTOR is empty or its row does not pass ValidaGestor.
bool VerificaGestor(Database& db, Driver& driver);

// "Atualizar": checks with messages and, when they pass, writes the single row (name in upper
// case, municipality "000000" for a state manager) in one transaction. Returns the record as
// stored, or nullopt when a check failed and nothing was written.
std::optional<Gestor> AtualizaGestor(Database& db, const Gestor& dados, Driver& driver);

// Windows-1252 text in upper case, accented letters included.
std::string MaiusculasCp1252(std::string_view s);

}  // namespace velt
