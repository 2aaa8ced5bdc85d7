#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "common/Driver.h"
#include "data/Database.h"

namespace velt {

// The shared data module: the one database attachment of the program, set up at start from
// "velt.ini" of the current directory, with the tool-bar file and the schema upgrade.
class TDM {
public:
    explicit TDM(std::filesystem::path pastaCorrente);

    // Start-up, in order: read velt.ini, attach (creating a missing local database whose folder
    // exists), read "BARRA.Txt" (creating it with "True"), upgrade the schema. A failure shows the
    // failure's own text through the driver and skips the remaining steps; returns false then.
    bool DataModuleCreate(Driver& driver);

    bool conectado() const { return db_ != nullptr; }
    // The database; throws DatabaseError when start-up could not connect.
    Database& db();

    // First line of "BARRA.Txt" as read at start; empty when start-up stopped before it.
    const std::string& barraLembrada() const { return barra_; }
    void lembraBarra(bool visivel);  // rewrites "BARRA.Txt" with "True" or "False"

    const std::filesystem::path& pasta() const { return pasta_; }

private:
    std::filesystem::path pasta_;
    std::unique_ptr<Database> db_;
    std::string barra_;
};

// Attaches to the database named by the parameters; when it is a local path whose file does not
// exist and whose folder does, creates the database in its final shape first.
std::unique_ptr<Database> AbreOuCriaBanco(const ConnectionParams& params);

// Creates a new database in its final shape; throws when the file already exists.
std::unique_ptr<Database> CriaBanco(const ConnectionParams& params);

// Reads the first line of "BARRA.Txt" in a folder, creating the file with "True" when absent.
std::string LeBarra(const std::filesystem::path& pasta);
void GravaBarra(const std::filesystem::path& pasta, bool visivel);

}  // namespace velt
