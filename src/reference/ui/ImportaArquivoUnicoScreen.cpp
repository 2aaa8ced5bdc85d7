#include "reference/ui/ImportaArquivoUnicoScreen.h"

#include <QPushButton>

#include "app/common/Contexto.h"
#include "reference/ImportaArquivoUnico.h"

namespace velt::ui {

TelaArquivoUnico::TelaArquivoUnico(QWidget* dono, const QString& objeto, const QString& titulo,
                                   const QString& rotulo, QString& pastaLembrada, const MembroArquivoUnico& membro)
    : TelaCargaReferencia(dono, objeto, titulo, rotulo, pastaLembrada), membro_(membro) {}

void TelaArquivoUnico::executa() {
    DriverTela driver(this, Progresso);
    ImportaArquivoUnico imp(banco(), driver, membro_);
    imp.aoMudarMemo = [this](const std::vector<std::string>& l) { mostraMemo(l); };
    auto r = imp.executa(pasta());
    using S = ResultadoArquivoUnico::Situacao;
    if (r.situacao == S::Concluida) BtnFechar->setEnabled(true);
    if (r.situacao == S::ArquivoNaoEncontrado) {
        BtnFechar->setEnabled(true);
        BtnImportar->setEnabled(membro_.importarAposFaltaArquivo);
    }
}

QString& TFoImportaOperadora::pastaLembrada() {
    static QString pasta;
    return pasta;
}

TFoImportaOperadora::TFoImportaOperadora(QWidget* dono)
    : TelaArquivoUnico(dono, "FoImportaOperadora", "Importação Cadastro de Operadoras",
                       "Diretório (Pasta onde se encontra o arquivo Operadora.txt)", pastaLembrada(),
                       membroOperadora()) {}

QString& TForm33::pastaLembrada() {
    static QString pasta;
    return pasta;
}

TForm33::TForm33(QWidget* dono)
    : TelaArquivoUnico(dono, "Form33", "Importa CID", "Diretório (Pasta dos arquivos MERIDAL)", pastaLembrada(),
                       membroCid()) {}

QString& TFoImportaAlta::pastaLembrada() {
    static QString pasta;
    return pasta;
}

TFoImportaAlta::TFoImportaAlta(QWidget* dono)
    : TelaArquivoUnico(dono, "FoImportaAlta", "Importação Motivo da Alta",
                       "Diretório (Pasta onde se encontra o arquivo de Alta.txt)", pastaLembrada(), membroAlta()) {}

}  // namespace velt::ui
