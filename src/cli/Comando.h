#pragma once
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/Driver.h"

namespace velt {
class TDM;
}

namespace velt::cli {

// A usage error: wrong or missing options (exit status 2).
class UsoIncorreto : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Options of one command: "--name value" pairs, "--flag" switches and positional arguments.
class Opcoes {
public:
    Opcoes(const std::vector<std::string>& args, std::set<std::string> comValor, std::set<std::string> chaves);
    std::optional<std::string> valor(const std::string& nome) const;
    std::string obrigatorio(const std::string& nome) const;  // UsoIncorreto when absent
    bool chave(const std::string& nome) const { return chaves_.count(nome) > 0; }
    const std::vector<std::string>& posicionais() const { return posicionais_; }
    bool vazio() const { return valores_.empty() && chaves_.empty() && posicionais_.empty(); }

private:
    std::map<std::string, std::string> valores_;
    std::set<std::string> chaves_;
    std::vector<std::string> posicionais_;
};

// The command line's answer to the engines: messages and status lines on standard error,
// questions answered as the command's flags say, progress only on a terminal.
class CliDriver : public Driver {
public:
    void mensagem(std::string_view titulo, std::string_view texto, Icone icone) override;
    bool pergunta(std::string_view titulo, std::string_view texto) override;
    void progresso(std::int64_t posicao, std::int64_t maximo) override;
    void status(std::string_view linha) override;

    void respostaPadrao(bool sim) { resposta_ = sim; }
    int erros() const { return erros_; }

private:
    bool resposta_ = false;
    int erros_ = 0;
};

struct Contexto {
    CliDriver& driver;
    // Starts the data module (velt.ini of the current directory, connection, upgrade) on first use.
    std::function<TDM&()> dm;
};

struct Comando {
    std::string nome;
    std::string uso;        // one line for --help
    bool precisaBanco = true;
    // Returns the exit status: 0 ran to its end, 1 stopped on an error. Throws UsoIncorreto
    // for a usage error.
    std::function<int(Contexto&, const std::vector<std::string>&)> executa;
};

// Commands register themselves from their own files.
bool registra(Comando comando);
const std::map<std::string, Comando>& comandos();

}  // namespace velt::cli
