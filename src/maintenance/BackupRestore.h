#pragma once
#include <string>

#include "common/Driver.h"
#include "maintenance/ServicoBanco.h"

namespace velt {

class Database;

// What a press of "&Backup" or "&Restore" came to.
struct ResultadoManutencao {
    enum class Campo { Nenhum, Banco, Pasta, ArquivoBackup };
    bool sucesso = false;
    Campo faltando = Campo::Nenhum;  // the field whose missing value stopped the command
    std::string arquivoBackup;       // the backup file written or read
};

// "&Backup" of the backup screen: the database file `banco` copied into pasta + "/Backup.gbk"
// by the server's backup service, with the credentials of the program's connection. The
// program's connection is closed first and attaches again on the next access.
ResultadoManutencao BackupBanco(Database& db, Driver& driver, const std::string& banco, const std::string& pasta,
                                const LinhaServico& log);

// "&Restore" of the restore screen: the database file `banco` created, or replaced, from the
// backup file `backup`.
ResultadoManutencao RestauraBanco(Database& db, Driver& driver, const std::string& backup, const std::string& banco,
                                  const LinhaServico& log);

// The same without an open connection (the command line): user and password from `conexao`.
ResultadoManutencao BackupBanco(const ConnectionParams& conexao, Driver& driver, const std::string& banco,
                                const std::string& pasta, const LinhaServico& log);
ResultadoManutencao RestauraBanco(const ConnectionParams& conexao, Driver& driver, const std::string& backup,
                                  const std::string& banco, const LinhaServico& log);

// The backup file a backup into a folder writes.
std::string ArquivoBackupDaPasta(const std::string& pasta);

}  // namespace velt
