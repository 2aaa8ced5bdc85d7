#include "support/Processo.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "support/TestDatabase.h"

extern char** environ;

namespace velt::test {

SaidaProcesso executa(const std::vector<std::string>& argv, const std::filesystem::path& pasta) {
    TempDir saida;
    auto out = saida / "stdout", err = saida / "stderr";
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_addchdir_np(&acoes, pasta.c_str());
    posix_spawn_file_actions_addopen(&acoes, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&acoes, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&acoes, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    SaidaProcesso r;
    pid_t pid;
    if (posix_spawn(&pid, args[0], &acoes, nullptr, args.data(), environ) == 0) {
        int st = 0;
        waitpid(pid, &st, 0);
        if (WIFEXITED(st)) r.status = WEXITSTATUS(st);
    }
    posix_spawn_file_actions_destroy(&acoes);
    r.out = leArquivo(out);
    r.err = leArquivo(err);
    return r;
}

SaidaProcesso executaCli(const std::vector<std::string>& args, const std::filesystem::path& pasta) {
    std::vector<std::string> argv{VELT_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return executa(argv, pasta);
}

}  // namespace velt::test
