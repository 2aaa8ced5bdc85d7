#include "cli/Comando.h"

#include <unistd.h>

#include <iostream>

namespace velt::cli {

Opcoes::Opcoes(const std::vector<std::string>& args, std::set<std::string> comValor, std::set<std::string> chaves) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            if (comValor.count(a)) {
                if (i + 1 >= args.size()) throw UsoIncorreto("a opção " + a + " pede um valor");
                valores_[a] = args[++i];
            } else if (chaves.count(a)) {
                chaves_.insert(a);
            } else {
                throw UsoIncorreto("opção desconhecida: " + a);
            }
        } else {
            posicionais_.push_back(a);
        }
    }
}

std::optional<std::string> Opcoes::valor(const std::string& nome) const {
    auto it = valores_.find(nome);
    if (it == valores_.end()) return std::nullopt;
    return it->second;
}

std::string Opcoes::obrigatorio(const std::string& nome) const {
    auto v = valor(nome);
    if (!v) throw UsoIncorreto("falta a opção " + nome);
    return *v;
}

void CliDriver::mensagem(std::string_view titulo, std::string_view texto, Icone icone) {
    if (icone == Icone::Erro) ++erros_;
    if (!titulo.empty() && titulo != "VELT02") std::cerr << titulo << ": ";
    std::cerr << texto << std::endl;
}

bool CliDriver::pergunta(std::string_view titulo, std::string_view texto) {
    std::cerr << texto << (resposta_ ? " Sim" : " Não") << std::endl;
    return resposta_;
}

void CliDriver::progresso(std::int64_t posicao, std::int64_t maximo) {
    static const bool terminal = isatty(STDERR_FILENO);
    if (!terminal || maximo <= 0) return;
    std::cerr << "\r" << posicao << "/" << maximo << (posicao >= maximo ? "\n" : "") << std::flush;
}

void CliDriver::status(std::string_view linha) { std::cerr << linha << std::endl; }

std::map<std::string, Comando>& registro() {
    static std::map<std::string, Comando> r;
    return r;
}

bool registra(Comando comando) {
    auto nome = comando.nome;
    registro()[nome] = std::move(comando);
    return true;
}

const std::map<std::string, Comando>& comandos() { return registro(); }

}  // namespace velt::cli
