#pragma once
#include <QPointer>
#include <QString>
#include <functional>

#include "common/Driver.h"

class QWidget;
class QProgressBar;
class QLabel;

namespace velt::ui {

// What a message box would have shown; tests install an interceptor to read and answer them.
struct Caixa {
    QString titulo;
    QString texto;
    Driver::Icone icone;
    bool pergunta;
};
using Interceptador = std::function<bool(const Caixa&)>;  // returns the answer to a question
void defineInterceptador(Interceptador f);                 // empty restores real message boxes

// Shows a box (or hands it to the interceptor); for a question, returns true for Sim.
bool mostraCaixa(QWidget* pai, const Caixa& caixa);

// The screens' answer to an engine: message boxes, a progress bar and a status label, and
// pending events processed between steps so the window repaints during a run.
class QtDriver : public Driver {
public:
    explicit QtDriver(QWidget* pai, QProgressBar* barra = nullptr, QLabel* statusLinha = nullptr);
    void mensagem(std::string_view titulo, std::string_view texto, Icone icone) override;
    bool pergunta(std::string_view titulo, std::string_view texto) override;
    void progresso(std::int64_t posicao, std::int64_t maximo) override;
    void status(std::string_view linha) override;
    void processaEventos() override;

private:
    QPointer<QWidget> pai_;
    QPointer<QProgressBar> barra_;
    QPointer<QLabel> status_;
};

}  // namespace velt::ui
