#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

class Database;

// One row of TB_ESTABELECIMENTO as the manual entry shows it (texts without trailing blanks).
struct EstabelecimentoCadastrado {
    std::string cnes;
    std::string cnpj;
    std::string razaoSocial;
    std::string stLeito;  // "1" with intensive-care beds
};

// Manual entry of single establishments (screen "Cadastra  CNES "), keeping TB_CNES in step:
// an establishment written by hand is also a valid CNES, and deleting it removes it from both.
// The database calls throw DatabaseError.
class CadastraCnes {
public:
    explicit CadastraCnes(Database& db);

    // The typed CNES, left-filled with "0" to 7, must be a non-zero number without a leading
    // blank and carry its check digit.
    static bool cnesValido(std::string_view cnes);
    // The typed CNPJ, trimmed and left-filled with "0" to 14, likewise with its two check digits.
    static bool cnpjValido(std::string_view cnpj);

    std::vector<EstabelecimentoCadastrado> lista();
    // Looked up by the CNES as typed (six digits stay six digits).
    std::optional<EstabelecimentoCadastrado> consulta(const std::string& cnes);
    // Corporate name in upper case as both names, the manager's state and municipality, and the
    // CNES added to TB_CNES unless it is there; both writes commit together.
    void insere(const std::string& cnes, const std::string& cnpj, const std::string& razaoSocial,
                bool leitoUti);
    void altera(const std::string& cnes, const std::string& cnpj, const std::string& razaoSocial,
                bool leitoUti);
    void exclui(const std::string& cnes);

private:
    Database& db_;
};

}  // namespace velt
