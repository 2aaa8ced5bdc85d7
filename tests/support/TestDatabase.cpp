#include "support/TestDatabase.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

#include "data/DataModule.h"

namespace velt::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> contador{0};
    std::random_device rd;
    path_ = fs::temp_directory_path() /
            ("velt02-test-" + std::to_string(getpid()) + "-" + std::to_string(contador++) + "-" + std::to_string(rd()));
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

ConnectionParams embedded(const fs::path& arquivo) { return ConnectionParams{"SYSDBA", "masterkey", arquivo.string()}; }

TestDatabase::TestDatabase() { db_ = CriaBanco(embedded(arquivo())); }

void TestDatabase::escreveVeltIni(const fs::path& pasta) const {
    escreveArquivo(pasta / "velt.ini", "SYSDBA\r\nmasterkey\r\n" + arquivo().string() + "\r\n");
}

std::string TestDatabase::valor(const std::string& sql) {
    auto st = db_->prepare(sql);
    auto c = st.open();
    return c.next() ? c.text(std::size_t{0}) : std::string();
}

long long TestDatabase::conta(const std::string& tabela, const std::string& where) {
    return std::stoll(valor("select count(*) from " + tabela + (where.empty() ? "" : " where " + where)));
}

fs::path dadoReferencia(const std::string& nome) { return fs::path(VELT_SHARED_DATA_DIR) / "referencia-202012" / nome; }

void escreveArquivo(const fs::path& arquivo, const std::string& conteudo) {
    if (arquivo.has_parent_path()) fs::create_directories(arquivo.parent_path());
    std::ofstream out(arquivo, std::ios::binary | std::ios::trunc);
    out << conteudo;
}

std::string leArquivo(const fs::path& arquivo) {
    std::ifstream in(arquivo, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace velt::test
