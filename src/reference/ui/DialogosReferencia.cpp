#include "reference/ui/DialogosReferencia.h"

#include <QFileDialog>

namespace velt::ui {
namespace {
EscolhePasta& pastaAtual() {
    static EscolhePasta f;
    return f;
}
EscolheArquivo& arquivoAtual() {
    static EscolheArquivo f;
    return f;
}
}  // namespace

void defineEscolhePasta(EscolhePasta f) { pastaAtual() = std::move(f); }
void defineEscolheArquivo(EscolheArquivo f) { arquivoAtual() = std::move(f); }

QString escolhePasta(QWidget* pai, const QString& titulo) {
    if (pastaAtual()) return pastaAtual()(pai, titulo);
    return QFileDialog::getExistingDirectory(pai, titulo);
}

QString escolheArquivo(QWidget* pai) {
    if (arquivoAtual()) return arquivoAtual()(pai);
    return QFileDialog::getOpenFileName(pai);
}

}  // namespace velt::ui
