#pragma once
#include <deque>
#include <string>
#include <vector>

#include "common/Driver.h"

namespace velt::test {

// Records every message, question and status line; answers questions from a script
// (then with the default answer).
class ScriptedDriver : public Driver {
public:
    struct Mensagem {
        std::string titulo, texto;
        Icone icone;
    };
    void mensagem(std::string_view titulo, std::string_view texto, Icone icone) override {
        mensagens.push_back({std::string(titulo), std::string(texto), icone});
    }
    bool pergunta(std::string_view titulo, std::string_view texto) override {
        perguntas.emplace_back(texto);
        if (respostas.empty()) return respostaPadrao;
        bool r = respostas.front();
        respostas.pop_front();
        return r;
    }
    void progresso(std::int64_t posicao, std::int64_t maximo) override {
        ultimoProgresso = posicao;
        ultimoMaximo = maximo;
    }
    void status(std::string_view linha) override { statusLinhas.emplace_back(linha); }

    std::vector<std::string> textos() const {
        std::vector<std::string> t;
        for (const auto& m : mensagens) t.push_back(m.texto);
        return t;
    }

    std::vector<Mensagem> mensagens;
    std::vector<std::string> perguntas;
    std::vector<std::string> statusLinhas;
    std::deque<bool> respostas;
    bool respostaPadrao = false;
    std::int64_t ultimoProgresso = 0, ultimoMaximo = 0;
};

}  // namespace velt::test
