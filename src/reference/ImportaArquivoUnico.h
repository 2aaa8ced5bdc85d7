#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/Driver.h"

namespace velt {

class Database;

// One of the reference tables reloaded from a single fixed-width file: operators, CID-10
// diagnoses, discharge reasons. Everything that differs between them is here.
struct MembroArquivoUnico {
    std::string arquivo;        // "operadoras.txt" (found in the folder ignoring case)
    std::string status;         // "Importando Arquivo de Operadoras"
    std::string sqlLimpeza;     // "delete from tb_operadora"
    std::string erroLimpeza;    // "ERRO NA LIMPEZA DA TABELA DE OPERADORAS - REFAZER O PROCESSO"
    std::string sqlInsercao;    // insert with named parameters
    std::size_t tamanhoChave;   // the key field at positions 1..tamanhoChave; empty ends the file
    bool adicionaColunaAlta;    // discharge reasons: add DT_CMPT_FIM to an older database first
    bool importarAposFaltaArquivo;  // whether "Importar" comes back after "ARQUIVO NÃO ENCONTRADO!"
    // The named values of the insert, cut from one line.
    std::function<std::vector<std::pair<std::string, std::string>>(const std::string&)> valores;
};

const MembroArquivoUnico& membroOperadora();
const MembroArquivoUnico& membroCid();
const MembroArquivoUnico& membroAlta();

struct ResultadoArquivoUnico {
    enum class Situacao {
        Concluida,            // ran to "FIM DA IMPORTAÇÃO!" (rejected lines reported and skipped)
        FalhaColuna,          // DT_CMPT_FIM could not be added; nothing else done
        ArquivoNaoEncontrado,  // the table is untouched
        FalhaNaLimpeza,       // the delete failed and was undone
    };
    Situacao situacao = Situacao::Concluida;
    std::int64_t lidas = 0;
    std::int64_t inseridas = 0;
    std::int64_t rejeitadas = 0;
    bool colunaAdicionada = false;
    std::vector<std::string> memo;
};

// Empties the member's table and fills it from its file in one transaction: a run that stops
// leaves the table as it was; a line the database rejects is reported, skipped, and the rest
// committed.
class ImportaArquivoUnico {
public:
    ImportaArquivoUnico(Database& db, Driver& driver, const MembroArquivoUnico& membro)
        : db_(db), driver_(driver), membro_(membro) {}
    std::function<void(const std::vector<std::string>&)> aoMudarMemo;

    ResultadoArquivoUnico executa(const std::filesystem::path& pasta);

private:
    Database& db_;
    Driver& driver_;
    const MembroArquivoUnico& membro_;
};

}  // namespace velt
