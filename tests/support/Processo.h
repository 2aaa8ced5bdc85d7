#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace velt::test {

struct SaidaProcesso {
    int status = -1;  // exit status; -1 when the process did not end normally
    std::string out, err;
};

// Runs a program in a folder and waits for it. Uses posix_spawn rather than fork/system: the
// Firebird client's fork handlers abort a forking test process that has a database attached.
SaidaProcesso executa(const std::vector<std::string>& argv, const std::filesystem::path& pasta);

// velt02-cli with these arguments, run in a folder.
SaidaProcesso executaCli(const std::vector<std::string>& args, const std::filesystem::path& pasta);

}  // namespace velt::test
