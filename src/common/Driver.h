#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace velt {

// The one way an engine talks to whoever runs it: the screens answer with message boxes and
// progress bars, velt02-cli with standard error and its flags, tests with scripted answers.
// Every text is UTF-8 and exactly the system's own wording.
class Driver {
public:
    enum class Icone { Nenhum, Informacao, Aviso, Erro, Pergunta };

    virtual ~Driver() = default;

    // A message box: caption (empty means the application title "VELT02") and text.
    virtual void mensagem(std::string_view titulo, std::string_view texto, Icone icone) = 0;
    // A yes/no question; true for Sim.
    virtual bool pergunta(std::string_view titulo, std::string_view texto) = 0;
    // Progress of a long run: position out of maximum.
    virtual void progresso(std::int64_t posicao, std::int64_t maximo) {}
    // The status line of the running screen.
    virtual void status(std::string_view linha) {}
    // Called between records or steps so a screen can repaint while a run goes on.
    virtual void processaEventos() {}

    // Shorthands for the standard boxes.
    void informa(std::string_view texto, std::string_view titulo = {}) {
        mensagem(titulo, texto, Icone::Informacao);
    }
    void avisa(std::string_view texto, std::string_view titulo = {}) { mensagem(titulo, texto, Icone::Aviso); }
    void erro(std::string_view texto, std::string_view titulo = {}) { mensagem(titulo, texto, Icone::Erro); }
};

}  // namespace velt
