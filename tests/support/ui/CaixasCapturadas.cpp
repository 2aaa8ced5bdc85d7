#include "support/ui/CaixasCapturadas.h"

namespace velt::test {

CaixasCapturadas::CaixasCapturadas() {
    ui::defineInterceptador([this](const ui::Caixa& c) {
        caixas.push_back(c);
        if (!c.pergunta) return true;
        if (respostas.empty()) return respostaPadrao;
        bool r = respostas.front();
        respostas.pop_front();
        return r;
    });
}

CaixasCapturadas::~CaixasCapturadas() { ui::defineInterceptador({}); }

QStringList CaixasCapturadas::textos() const {
    QStringList t;
    for (const auto& c : caixas) t << c.texto;
    return t;
}

}  // namespace velt::test
