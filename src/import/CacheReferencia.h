#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velt {

class Database;

// The reference tables the batch checks consult, loaded once per import run. Every look-up answers
// as the equality query on the server would: texts compared ignoring trailing blanks (CHAR columns
// come back blank-padded), case and leading blanks significant, and where the query reads "select *"
// the first row the table returns wins.
class CacheReferencia {
public:
    struct Estabelecimento {
        std::string razaoSocial;  // NO_RAZAO_SOCIAL of the first row, trailing blanks removed
        bool leitoUti = false;    // some row of this CNES has ST_LEITO = "1"
    };
    // Everything the checks ask about one procedure code, gathered from TB_PROCEDIMENTO,
    // TB_REGISTRO, TB_MODALIDADE and TB_RL_CID so a record costs one look-up.
    struct Procedimento {
        bool cadastrado = false;                          // has a row in TB_PROCEDIMENTO
        std::string sexo;                                 // CO_SEXO of its first row, trailing blanks removed
        bool rlCid = false;                               // TB_RL_CID has a row for it
        std::uint64_t registros[2] = {0, 0};              // record kinds "00" to "99" it has in TB_REGISTRO
        std::uint64_t modalidades[2] = {0, 0};            // modalities "00" to "99" it has in TB_MODALIDADE
        bool temRegistro(std::string_view codigo) const;  // a two-digit code
        bool temModalidade(std::string_view codigo) const;  // a two-digit code
    };
    struct Cid {
        std::string codigo;     // CO_CID10 as stored
        std::string descricao;  // DS_CID as stored
        std::string sexo;       // CO_SEXO, trailing blanks removed
        int agravo = 0;         // ST_AGRAVO read as a whole number (0 when it is not one)
    };
    struct Operadora {
        std::string registro;  // CO_OPERADORA as stored
        std::string cnpj;      // NU_OPERADORA as stored
    };

    // Reads TB_ESTABELECIMENTO, TB_CNES, TB_MUNICIPIO, TB_ESTADO, TB_PROCEDIMENTO, TB_REGISTRO,
    // TB_MODALIDADE, TB_RL_CID, TB_CID, TB_TIPO_ALTA, TB_FONTE_REMUNERACAO, TB_PROJ_SAUDE and
    // TB_OPERADORA in one read transaction.
    explicit CacheReferencia(Database& db);

    const Estabelecimento* estabelecimento(std::string_view cnes) const;
    bool cnesValido(std::string_view cnes) const;  // TB_CNES
    bool municipio(std::string_view codigo) const;
    bool estado(std::string_view sigla) const;  // TB_ESTADO by CO_SIGLA
    // The procedure of TB_PROCEDIMENTO; null when it has no row there.
    const Procedimento* procedimento(std::string_view codigo) const;
    // What the tables say of a code, in TB_PROCEDIMENTO or not; null when no table names it.
    const Procedimento* dadosProcedimento(std::string_view codigo) const;
    bool registro(std::string_view procedimento, std::string_view coRegistro) const;
    bool modalidade(std::string_view procedimento, std::string_view coModalidade) const;
    bool temRlCid(std::string_view procedimento) const;  // TB_RL_CID has a row for the procedure
    const Cid* cid(std::string_view codigo) const;
    // "co_tipo_alta = :alta and dt_cmpt_fim >= :cmpt", the >= a comparison of texts.
    bool tipoAlta(std::string_view alta, std::string_view competencia) const;
    bool fonteRemuneracao(std::string_view fonte) const;
    bool projetoSaude(std::string_view cnes, std::string_view regra) const;  // TB_PROJ_SAUDE
    const Operadora* operadoraPorRegistro(std::string_view registroAns) const;
    const Operadora* operadoraPorCnpj(std::string_view cnpj) const;

    std::size_t procedimentos() const;

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    template <class V>
    using Mapa = std::unordered_map<std::string, V, Hash, std::equal_to<>>;
    using Conjunto = std::unordered_set<std::string, Hash, std::equal_to<>>;

private:
    Mapa<Estabelecimento> estabelecimentos_;
    Conjunto cnes_;
    Conjunto municipios_;
    Conjunto estados_;
    Mapa<Procedimento> procedimentos_;
    Conjunto registros_;    // procedure + '\x1f' + record kind, for kinds not of two digits
    Conjunto modalidades_;  // procedure + '\x1f' + modality, for modalities not of two digits
    Mapa<Cid> cids_;
    Mapa<std::vector<std::string>> tiposAlta_;  // code -> DT_CMPT_FIM of each row that has one
    Conjunto fontes_;
    Conjunto projetos_;  // CNES + '\x1f' + rule
    Mapa<Operadora> porRegistro_;
    Mapa<Operadora> porCnpj_;
};

// A text without its trailing blanks: how the server compares texts for equality.
std::string_view semBrancosFinais(std::string_view s);

}  // namespace velt
