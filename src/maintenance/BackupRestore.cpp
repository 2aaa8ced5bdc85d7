#include "maintenance/BackupRestore.h"

#include "data/Database.h"

namespace velt {
namespace {

bool vazio(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

ConnectionParams conexaoCom(const Database& db, const std::string& local) {
    ConnectionParams p = db.params();
    p.local = local;
    return p;
}

}  // namespace

std::string ArquivoBackupDaPasta(const std::string& pasta) { return pasta + "/" + "Backup.gbk"; }

ResultadoManutencao BackupBanco(Database& db, Driver& driver, const std::string& banco, const std::string& pasta,
                                const LinhaServico& log) {
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
    db.detach();
    try {
        BackupPeloServico(conexaoCom(db, banco), r.arquivoBackup, log);
    } catch (const DatabaseError& e) {
        driver.erro(e.what());
        return r;
    }
    r.sucesso = true;
    driver.informa("Backup Efetuado com Sucesso");
    return r;
}

ResultadoManutencao RestauraBanco(Database& db, Driver& driver, const std::string& backup, const std::string& banco,
                                  const LinhaServico& log) {
    ResultadoManutencao r;
    if (vazio(backup)) {
        driver.informa("Indique onde esta o seu Arquivo de Backup");
        r.faltando = ResultadoManutencao::Campo::ArquivoBackup;
        return r;
    }
    if (vazio(banco)) {
        driver.informa("Indique onde irá Restaurar o seu Backup");
        r.faltando = ResultadoManutencao::Campo::Banco;
        return r;
    }
    r.arquivoBackup = backup;
    db.detach();
    try {
        RestorePeloServico(conexaoCom(db, banco), backup, log);
    } catch (const DatabaseError& e) {
        driver.erro(e.what());
        return r;
    }
    r.sucesso = true;
    driver.informa("Restauração Efetuada com Sucesso");
    return r;
}

}  // namespace velt
