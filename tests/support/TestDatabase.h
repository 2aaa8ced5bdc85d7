#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "data/Database.h"

namespace velt::test {

// A temporary folder removed at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& nome) const { return path_ / nome; }

private:
    std::filesystem::path path_;
};

// Connection parameters for an embedded database file.
ConnectionParams embedded(const std::filesystem::path& arquivo);

// A fresh database in its final shape, in a temporary folder of its own.
class TestDatabase {
public:
    TestDatabase();
    Database& db() { return *db_; }
    const TempDir& dir() const { return dir_; }
    std::filesystem::path arquivo() const { return dir_ / "VELT02.FDB"; }
    // Writes velt.ini naming this database into a folder (default: this database's folder).
    void escreveVeltIni(const std::filesystem::path& pasta) const;

    // Single values and row counts, for assertions.
    std::string valor(const std::string& sql);
    long long conta(const std::string& tabela, const std::string& where = "");

private:
    TempDir dir_;
    std::unique_ptr<Database> db_;
};

// Path of a reference file from the national authorities (read-only).
std::filesystem::path dadoReferencia(const std::string& nome);

// Writes bytes to a file exactly as given.
void escreveArquivo(const std::filesystem::path& arquivo, const std::string& conteudo);
std::string leArquivo(const std::filesystem::path& arquivo);

}  // namespace velt::test
