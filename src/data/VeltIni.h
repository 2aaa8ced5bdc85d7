#pragma once
#include <filesystem>
#include <string>

#include "data/Database.h"

namespace velt {

// Reads the connection file "velt.ini" of a folder (the current directory): line 1 user,
// line 2 password (blanks kept), line 3 the database location. Missing lines read as empty.
// Throws std::runtime_error with the failure's text when the file cannot be read.
ConnectionParams LeVeltIni(const std::filesystem::path& pasta);

// Reads the lines of a text file, each without its line end (CR LF or LF).
std::vector<std::string> LeLinhas(const std::filesystem::path& arquivo);

}  // namespace velt
