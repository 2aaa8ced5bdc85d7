#include "data/DataModule.h"

#include <fstream>

#include "data/Schema.h"
#include "data/Upgrade.h"
#include "data/VeltIni.h"

namespace velt {

namespace fs = std::filesystem;

std::unique_ptr<Database> CriaBanco(const ConnectionParams& params) {
    if (params.remoto()) throw DatabaseError("Um banco de dados remoto não é criado pelo programa: " + params.local);
    if (fs::exists(params.local)) throw DatabaseError("O banco de dados já existe: " + params.local);
    auto db = Database::create(params);
    try {
        schema::createObjects(*db);
    } catch (...) {
        db->detach();
        std::error_code ec;
        fs::remove(params.local, ec);  // a half-built database would pass for a real one at the next start
        throw;
    }
    return db;
}

std::unique_ptr<Database> AbreOuCriaBanco(const ConnectionParams& params) {
    if (!params.remoto() && !params.local.empty()) {
        fs::path arquivo(params.local);
        fs::path pasta = arquivo.has_parent_path() ? arquivo.parent_path() : fs::path(".");
        if (!fs::exists(arquivo) && fs::is_directory(pasta)) return CriaBanco(params);
    }
    return Database::attach(params);
}

std::string LeBarra(const fs::path& pasta) {
    fs::path arquivo = pasta / "BARRA.Txt";
    if (!fs::exists(arquivo)) GravaBarra(pasta, true);
    auto linhas = LeLinhas(arquivo);
    return linhas.empty() ? std::string() : linhas.front();
}

void GravaBarra(const fs::path& pasta, bool visivel) {
    std::ofstream out(pasta / "BARRA.Txt", std::ios::binary | std::ios::trunc);
    out << (visivel ? "True" : "False") << "\r\n";
}

TDM::TDM(fs::path pastaCorrente) : pasta_(std::move(pastaCorrente)) {}

Database& TDM::db() {
    if (!db_) throw DatabaseError("Sem conexão com o banco de dados (velt.ini)");
    return *db_;
}

bool TDM::DataModuleCreate(Driver& driver) {
    try {
        ConnectionParams params = LeVeltIni(pasta_);
        db_ = AbreOuCriaBanco(params);
        barra_ = LeBarra(pasta_);
    } catch (const std::exception& e) {
        db_.reset();
        driver.erro(e.what());
        return false;
    }
    return AtualizaEsquema(*db_, driver);
}

void TDM::lembraBarra(bool visivel) {
    barra_ = visivel ? "True" : "False";
    GravaBarra(pasta_, visivel);
}

}  // namespace velt
