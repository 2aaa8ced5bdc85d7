#pragma once
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "data/Database.h"

namespace velt {

struct ResultadoBackup {
    bool sucesso = false;
    std::string arquivo;
    std::string erro;  // the server's text when it failed
};

// A backup by the server's service that runs while the program goes on. `aoTerminar` is called
// from the backup's own thread when it ends, with its outcome. The object waits for the backup
// when destroyed, so a backup is never cut short by its owner going away.
class BackupEmSegundoPlano {
public:
    BackupEmSegundoPlano(ConnectionParams banco, std::string arquivo,
                         std::function<void(const ResultadoBackup&)> aoTerminar = {});
    ~BackupEmSegundoPlano();
    BackupEmSegundoPlano(const BackupEmSegundoPlano&) = delete;
    BackupEmSegundoPlano& operator=(const BackupEmSegundoPlano&) = delete;

    const std::string& arquivo() const { return arquivo_; }
    bool terminou() const;
    // Waits for the end of the backup and returns its outcome.
    const ResultadoBackup& espera();

private:
    std::string arquivo_;
    std::shared_future<ResultadoBackup> resultado_;
    std::thread thread_;
};

}  // namespace velt
