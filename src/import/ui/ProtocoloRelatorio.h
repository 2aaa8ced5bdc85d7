#pragma once
#include <QPointer>
#include <QWidget>

#include "import/Protocolo.h"
#include "reports/render/RelatorioBandas.h"

namespace velt::ui {

// The one page of the import protocol (RLRImportarAtendimento): every caption with its value.
render::RelatorioBandas MontaProtocolo(const DadosProtocolo& dados);

// Saves the protocol as PDF and, when it has a parent window, opens the preview; without one
// (the command line) it only saves.
class EmissorProtocoloQt : public EmissorProtocolo {
public:
    explicit EmissorProtocoloQt(QWidget* pai = nullptr, bool visualizar = true)
        : pai_(pai), visualizar_(visualizar) {}
    void salvaPdf(const DadosProtocolo& dados, const std::filesystem::path& arquivo) override;
    void visualiza(const DadosProtocolo& dados) override;

private:
    QPointer<QWidget> pai_;
    bool visualizar_;
};

}  // namespace velt::ui
