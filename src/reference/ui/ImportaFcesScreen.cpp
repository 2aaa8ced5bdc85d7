#include "reference/ui/ImportaFcesScreen.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/common/Contexto.h"
#include "reference/ImportaFces.h"

namespace velt::ui {

QString& TFoImportaFces::pastaLembrada() {
    static QString pasta;
    return pasta;
}

TFoImportaFces::TFoImportaFces(QWidget* dono)
    : TelaCargaReferencia(dono, "FoImportaFces", "Importação Cadastro de Estabelecimentos", "Diretório",
                          pastaLembrada()) {
    auto* RadioGroup1 = new QGroupBox("[ Filtro de Importação ]", this);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* todos = new QRadioButton("Todos os estabelecimentos", RadioGroup1);
    auto* obrigatorios = new QRadioButton("Estabelecimentos com apresentação obrigatória", RadioGroup1);
    auto* v = new QVBoxLayout(RadioGroup1);
    v->addWidget(todos);
    v->addWidget(obrigatorios);
    filtro_ = new QButtonGroup(this);
    filtro_->addButton(todos, 0);
    filtro_->addButton(obrigatorios, 1);
    todos->setChecked(true);

    // The filter goes above the memo.
    if (auto* g = qobject_cast<QGridLayout*>(layout())) {
        g->removeWidget(Msg_memo);
        auto* coluna = new QVBoxLayout;
        coluna->addWidget(RadioGroup1);
        coluna->addWidget(Msg_memo);
        g->addLayout(coluna, 2, 0, 1, 3);
    }
}

void TFoImportaFces::executa() {
    DriverTela driver(this, Progresso);
    ImportaFces imp(banco(), driver);
    imp.memo().aoMudar = [this](const std::vector<std::string>& l) { mostraMemo(l); };
    auto r = imp.executa(pasta(),
                         filtro_->checkedId() == 1 ? FiltroFces::ApresentacaoObrigatoria : FiltroFces::Todos);
    using Situacao = ResultadoImportaFces::Situacao;
    // Missing files give both buttons back; after a run "Importar" stays off until the window is
    // opened again, and after a stop both stay off (the close box still closes the window).
    if (r.situacao == Situacao::ArquivosAusentes) {
        BtnImportar->setEnabled(true);
        BtnFechar->setEnabled(true);
    } else if (r.situacao == Situacao::Concluida) {
        BtnFechar->setEnabled(true);
    }
}

}  // namespace velt::ui
