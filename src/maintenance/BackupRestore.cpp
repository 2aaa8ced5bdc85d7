#include "maintenance/BackupRestore.h"

#include "data/Database.h"

namespace velt {

std::string ArquivoBackupDaPasta(const std::string& pasta) { return pasta + "/" + "Backup.gbk"; }

namespace {

bool vazio(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

ConnectionParams conexaoCom(const ConnectionParams& credenciais, const std::string& local) {
    ConnectionParams p = credenciais;
    p.local = local;
    return p;
}

// The service works on the file itself: the program's own connection is closed first and
// attaches again on its next access.
ResultadoManutencao backup(const ConnectionParams& credenciais, Database* db, Driver& driver,
                           const std::string& banco, const std::string& pasta, const LinhaServico& log) {
    ResultadoManutencao r;
    if (vazio(banco)) {
        driver.informa("Indique onde esta seu Banco");
        r.faltando = ResultadoManutencao::Campo::Banco;
        return r;
    }
    if (vazio(pasta)) {
        driver.informa("Indique onde irá Gravar o Backup");
        r.faltando = ResultadoManutencao::Campo::Pasta;
        return r;
    }
    r.arquivoBackup = ArquivoBackupDaPasta(pasta);
    if (db) db->detach();
    try {
        BackupPeloServico(conexaoCom(credenciais, banco), r.arquivoBackup, log);
    } catch (const DatabaseError& e) {
        driver.erro(e.what());
        return r;
    }
    r.sucesso = true;
    driver.informa("Backup Efetuado com Sucesso");
    return r;
}

ResultadoManutencao restore(const ConnectionParams& credenciais, Database* db, Driver& driver,
                            const std::string& arquivoBackup, const std::string& banco, const LinhaServico& log) {
    ResultadoManutencao r;
    if (vazio(arquivoBackup)) {
        driver.informa("Indique onde esta o seu Arquivo de Backup");
        r.faltando = ResultadoManutencao::Campo::ArquivoBackup;
        return r;
    }
    if (vazio(banco)) {
        driver.informa("Indique onde irá Restaurar o seu Backup");
        r.faltando = ResultadoManutencao::Campo::Banco;
        return r;
    }
    r.arquivoBackup = arquivoBackup;
    if (db) db->detach();
    try {
        RestorePeloServico(conexaoCom(credenciais, banco), arquivoBackup, log);
    } catch (const DatabaseError& e) {
        driver.erro(e.what());
        return r;
    }
    r.sucesso = true;
    driver.informa("Restauração Efetuada com Sucesso");
    return r;
}

}  // namespace

ResultadoManutencao BackupBanco(Database& db, Driver& driver, const std::string& banco, const std::string& pasta,
                                const LinhaServico& log) {
    return backup(db.params(), &db, driver, banco, pasta, log);
}

ResultadoManutencao RestauraBanco(Database& db, Driver& driver, const std::string& arquivoBackup,
                                  const std::string& banco, const LinhaServico& log) {
    return restore(db.params(), &db, driver, arquivoBackup, banco, log);
}

ResultadoManutencao BackupBanco(const ConnectionParams& conexao, Driver& driver, const std::string& banco,
                                const std::string& pasta, const LinhaServico& log) {
    return backup(conexao, nullptr, driver, banco, pasta, log);
}

ResultadoManutencao RestauraBanco(const ConnectionParams& conexao, Driver& driver, const std::string& arquivoBackup,
                                  const std::string& banco, const LinhaServico& log) {
    return restore(conexao, nullptr, driver, arquivoBackup, banco, log);
}

}  // namespace velt
