#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "common/DataHora.h"
#include "common/Driver.h"
#include "import/CacheReferencia.h"

namespace velt {

class CopiaEstagio;
class Database;
class Transaction;

// What the import run gives the reading of one batch file.
struct ParametrosCritica {
    std::string competencia;          // run competência, YYYYMM
    std::filesystem::path diretorio;  // run directory: the error and notification files go here
    std::string remessa;              // batch number: CNES followed by YYYYMM (13 characters)
    DataHora geracao;                 // batch generation date (last change of the extracted file)
};

// Outcome of reading, checking and staging one batch file.
struct ResultadoCritica {
    bool erro = false;                  // some message rejects the file: nothing of it may be stored
    bool semMovimento = false;          // line 2 declares no movement (the run adds it to Corretos)
    bool cnesRecusado = false;          // header CNES not of this manager or not valid: no batch row
    bool cabecalhoRecusado = false;     // the header failed: the data lines were not read nor staged
    bool consolidadoDuplicado = false;  // the warning about repeated consolidated lines was written
    std::int64_t linhasLidas = 0;       // lines read, the header and the line that ended the file included
    std::int64_t registros = 0;         // data lines read (and staged when staging)
    std::string cnes;                   // header CNES, Windows-1252 as read
    std::string razaoSocial;            // NO_RAZAO_SOCIAL of the establishment, trailing blanks removed
    // Files written in this pass; empty when the pass wrote no line to them (an older file of the
    // same name is then left as it was).
    std::filesystem::path arquivoErros;
    std::filesystem::path arquivoAgravo;
    std::int64_t linhasErros = 0;   // lines written to the error file, headings included
    std::int64_t linhasAgravo = 0;  // lines written to the notification file

    bool gravouErros() const { return !arquivoErros.empty(); }    // counts in ArquivosErro
    bool gravouAgravo() const { return !arquivoAgravo.empty(); }  // counts in ArquivosAgravo
};

// Reads an establishment's batch file, checks the header and every record against the reference
// tables, writes the error and notification files and stages every data line into TB_MOVIMENTO.
// One instance serves a whole run: the staging statement is prepared once.
class CriticaRemessa {
public:
    CriticaRemessa(Database& db, const CacheReferencia& cache, Driver& driver);
    ~CriticaRemessa();
    CriticaRemessa(const CriticaRemessa&) = delete;
    CriticaRemessa& operator=(const CriticaRemessa&) = delete;

    // Reads, checks and stages one batch file inside the caller's transaction (the caller has
    // emptied TB_MOVIMENTO); every staged row goes to `copia` too, when given, which is emptied
    // first. Throws std::runtime_error when the error or notification file (or the copy) cannot
    // be written and DatabaseError when staging fails.
    ResultadoCritica critica(const std::filesystem::path& arquivo, const ParametrosCritica& parametros,
                             Transaction& tx, CopiaEstagio* copia = nullptr);
    // The same reading and checking without staging.
    ResultadoCritica critica(const std::filesystem::path& arquivo, const ParametrosCritica& parametros);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace velt
