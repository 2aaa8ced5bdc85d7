#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

class Database;

// A row of TB_MUNICIPIO as the municipality picker lists it (Windows-1252, no trailing blanks).
struct Municipio {
    std::string codigo;  // CO_MUNICIPIO, IBGE code
    std::string nome;    // DS_MUNICIPIO
};

// Every municipality, ordered by name.
std::vector<Municipio> ListaMunicipios(Database& db);

// Nearest match on the name order: the first municipality whose name is equal to or follows
// `texto`; the last one when every name comes before it. 0 for an empty list.
std::size_t MunicipioMaisProximo(const std::vector<Municipio>& lista, std::string_view texto);

}  // namespace velt
