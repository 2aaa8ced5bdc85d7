#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/common/QtDriver.h"
#include "app/AboutBox.h"
#include "app/Telas.h"
#include "common/DataHora.h"
#include "data/DataModule.h"

namespace velt::ui {

struct TForm1::Entrada {
    const char* menu;     // objectName of the sub-menu it belongs to; nullptr for the menu bar
    const char* nome;     // objectName of the entry
    const char* legenda;  // caption with its accelerator
    const char* dica;     // status-bar hint
    bool guardada;
};

namespace {

struct Submenu {
    const char* nome;
    const char* legenda;
    const char* dica;
};

constexpr Submenu kSubmenus[] = {
    {"mnuImportacao", "&Importação", ""},
    {"mnuRelatorios", "&Relatórios", "RELATÓRIOS"},
    {"mnuConsultas", "Co&nsultas", "CONSULTA"},
    {"mnuConsRemessas", "&Remessas Recebidas", ""},
    {"mnuManutencao", "&Manutenção", "MANUTENÇÃO"},
};

// The menu bar from left to right: sub-menus and the entries that run at once.
constexpr const char* kBarra[] = {"mnuImportacao", "mnuCompactacao", "mnuRelatorios", "mnuConsultas",
                                  "mnuGestor",     "mnuManutencao",  "mnuSobre",      "mnuSair"};

}  // namespace

static const TForm1::Entrada* entradas(std::size_t& n);

TForm1::TForm1(TDM* dm, QWidget* parent) : QMainWindow(parent), dm_(dm) {
    setObjectName("Form1");
    setWindowTitle("VELT02 - Veltaria - ");
    montaMenu();
    montaBarra();
    montaStatus();
    connect(&relogio_, &QTimer::timeout, this, &TForm1::atualizaRelogio);
    relogio_.start(1000);
    atualizaRelogio();
    // The remembered state comes from the data module; empty (no connection) hides the bar.
    barra_->setVisible(dm_ && dm_->barraLembrada() == "True");
    carregaCores(QCoreApplication::applicationDirPath());
    registraTelas(*this);
}

void TForm1::montaMenu() {
    std::size_t n = 0;
    const Entrada* es = entradas(n);
    auto addEntrada = [&](QWidget* onde, const Entrada& e) {
        auto* a = new QAction(QString::fromUtf8(e.legenda), this);
        onde->addAction(a);
        a->setObjectName(e.nome);
        a->setStatusTip(QString::fromUtf8(e.dica));
        a->setEnabled(false);
        acoes_[e.nome] = a;
        guardadas_[e.nome] = e.guardada;
        const QString nome = e.nome;
        connect(a, &QAction::triggered, this, [this, nome] { executa(nome); });
    };
    // Fills a sub-menu with its entries and nested sub-menus, in the table's order.
    std::function<void(QMenu*, const QString&)> preenche = [&](QMenu* menu, const QString& nomeMenu) {
        for (const auto& s : kSubmenus)
            if (nomeMenu == "mnuConsultas" && QString(s.nome) == "mnuConsRemessas") {
                QMenu* sub = menu->addMenu(QString::fromUtf8(s.legenda));
                sub->setObjectName(s.nome);
                sub->menuAction()->setStatusTip(QString::fromUtf8(s.dica));
                preenche(sub, s.nome);
            }
        for (std::size_t i = 0; i < n; ++i)
            if (es[i].menu && nomeMenu == es[i].menu) addEntrada(menu, es[i]);
    };
    for (const char* item : kBarra) {
        const Submenu* sub = nullptr;
        for (const auto& s : kSubmenus)
            if (QString(s.nome) == item) sub = &s;
        if (sub) {
            QMenu* m = menuBar()->addMenu(QString::fromUtf8(sub->legenda));
            m->setObjectName(sub->nome);
            m->menuAction()->setStatusTip(QString::fromUtf8(sub->dica));
            preenche(m, sub->nome);
            continue;
        }
        for (std::size_t i = 0; i < n; ++i)
            if (QString(es[i].nome) == item) addEntrada(menuBar(), es[i]);
    }

    // Entries this window runs itself.
    defineAcao("mnuManBarra", [this] { alternaBarra(); });
    defineAcao("mnuSobre", [this] {
        auto* box = new TAboutBox(this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    });
    defineAcao("mnuSair", [this] { close(); });
}

void TForm1::montaBarra() {
    struct Botao {
        const char* nome;
        const char* dica;
        const char* executa;  // menu entry run, nullptr for none
    };
    static constexpr Botao kBotoes[] = {
        {"btnImportaEstabelecimento", "Importa Estabelecimento", "mnuImpEstabelecimento"},
        {"btnImportaRegional", "Importa Regional", "mnuImpRegional"},
        {"btnImportaProcedimentos", "Importa Procedimentos", "mnuImpProcedimentos"},
        {"btnImportaCnes", "Importa CNES", "mnuImpCnesLocal"},
        {"btnImportaCid", "Importa CID", "mnuImpCid"},
        {"btnImportaOperadoras", "Importa Operadoras", "mnuImpOperadoras"},
        {"btnCompactacao", "Compactação", "mnuCompactacao"},
        {"btnRelatoriosErros", "Relatórios de Erros", "mnuRelErros"},
        {"btnRelatorioAgravo", "Relatório de Notificação de Agravo", "mnuRelAgravo"},
        {"btnRelatorioInternacao", "Relatório de Internação", nullptr},
        {"btnRelatorioVels", "Relatório de VELS - Por Prontuário", nullptr},
        {"btnBackup", "Backup", "mnuManBackup"},
        {"btnRestauracao", "Restauração do Backup", "mnuManRestore"},
    };
    barra_ = addToolBar("Barra de Ferramentas");
    barra_->setObjectName("ToolBar1");
    barra_->setMovable(false);
    barra_->setStyleSheet("QToolBar { background: white; }");
    for (const auto& b : kBotoes) {
        QAction* a = barra_->addAction(QString::fromUtf8(b.dica));
        a->setObjectName(b.nome);
        a->setToolTip(QString::fromUtf8(b.dica));
        a->setStatusTip(QString::fromUtf8(b.dica));
        if (b.executa) {
            QAction* menu = acoes_.value(b.executa);
            a->setEnabled(menu && menu->isEnabled());
            botoes_[b.executa].append(a);
            const QString alvo = b.executa;
            connect(a, &QAction::triggered, this, [this, alvo] { executa(alvo); });
        }
        // the two report buttons have no action
    }
}

void TForm1::montaStatus() {
    static constexpr int kLarguras[] = {70, 680, 70, 58, 100};
    for (int i = 0; i < 5; ++i) {
        paineis_[i] = new QLabel(this);
        paineis_[i]->setObjectName(QString("Panel%1").arg(i + 1));
        paineis_[i]->setMinimumWidth(kLarguras[i]);  // room to grow where the font is wider
        paineis_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(paineis_[i]);
    }
    statusBar()->setObjectName("StatusBar1");
    paineis_[0]->setText("Mensagem");
    paineis_[4]->setText(QString::fromUtf8("Atualização Em 22/04/2016"));
}

void TForm1::atualizaRelogio() {
    DataHora agora = velt::agora();
    paineis_[1]->setText(dica_);
    paineis_[2]->setText(QString::fromStdString(agora.ddmmyyyy()));
    paineis_[3]->setText(QString::fromStdString(agora.hhnnss()));
}

bool TForm1::event(QEvent* e) {
    // The hint of the entry under the mouse goes to panel 2 at the next tick, not over the panels.
    if (e->type() == QEvent::StatusTip) {
        dica_ = static_cast<QStatusTipEvent*>(e)->tip();
        return true;
    }
    return QMainWindow::event(e);
}

void TForm1::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!windowTitle().endsWith(kVersao)) setWindowTitle(windowTitle() + kVersao);
}

void TForm1::carregaCores(const QString& pastaPrograma) {
    cores_ = LeCores(std::filesystem::path(pastaPrograma.toStdString()) / "VELCores.txt");
}

void TForm1::alternaBarra() {
    bool visivel = !barra_->isVisible();
    barra_->setVisible(visivel);
    if (dm_) dm_->lembraBarra(visivel);
    else GravaBarra(std::filesystem::current_path(), visivel);
}

void TForm1::defineAcao(const QString& nome, std::function<void()> acao) {
    QAction* a = acoes_.value(nome);
    if (!a) return;
    handlers_[nome] = std::move(acao);
    a->setEnabled(true);
    for (QAction* b : botoes_.value(nome)) b->setEnabled(true);
}

void TForm1::executa(const QString& nome) {
    auto it = handlers_.find(nome);
    if (it == handlers_.end()) return;
    if (guardadas_.value(nome) && !passaGuarda(this)) return;
    try {
        (*it)();
    } catch (const std::exception& e) {
        mostraCaixa(this, Caixa{"VELT02", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
    }
}

// ---------------------------------------------------------------- the menu

static const TForm1::Entrada kEntradas[] = {
    {"mnuImportacao", "mnuImpEstabelecimento", "&Estabelecimento", "IMPORTAÇÃO - Remessas de Estabelecimento", true},
    {"mnuImportacao", "mnuImpRegional", "&Regional", "", true},
    {"mnuImportacao", "mnuImpProcedimentos", "&Procedimentos", "IMPORTAÇÃO - Tabela de Procedimentos", true},
    {"mnuImportacao", "mnuImpCnesLocal", "&CNES Local", "IMPORTAÇÃO - Cadastro de Estabelecimentos - CNES", true},
    {"mnuImportacao", "mnuImpCnesValidos", "CNES &Válidos", "", true},
    {"mnuImportacao", "mnuImpCnesAdesao", "CNES A&desão", "", true},
    {"mnuImportacao", "mnuImpCid", "C&ID", "IMPORTAÇÃO - Tabela de CID10", true},
    {"mnuImportacao", "mnuImpOperadoras", "&Operadoras", "IMPORTAÇÃO - Cadastro de Operadoras", true},
    {"mnuImportacao", "mnuImpAlta", "&Alta", "", true},
    {"mnuImportacao", "mnuImpMunicipios", "&Municípios", "", false},
    {nullptr, "mnuCompactacao", "&Compactação", "Compactação", true},
    {"mnuRelatorios", "mnuRelErros", "&Erros", "RELATÓRIOS - Erros", true},
    {"mnuRelatorios", "mnuRelAgravo", "&Notificação de Agravo", "RELATÓRIOS - Notificação de Agravo", true},
    {"mnuRelatorios", "mnuRelFonteRemuAlta", "Total de Atendimentos Por Fonte de Remuneração x Alta", "", false},
    {"mnuRelatorios", "mnuRelTotalRegistros", "Total de registros por CNES", "", false},
    {"mnuRelatorios", "mnuRelTotalAtendimentos", "Total de Atendimentos por CNES", "", true},
    {"mnuRelatorios", "mnuRelPacienteDia", "Paciente-Dia", "", false},
    {"mnuRelatorios", "mnuRelAtendFonte", "Atendimentos por Fonte Remuneração", "", true},
    {"mnuRelatorios", "mnuRelDbf", "Gerar Arquivo Dbf", "", false},
    {"mnuRelatorios", "mnuRelExcel", "Gerar Arquivo Excel a partir do .VLT", "", false},
    {"mnuConsRemessas", "mnuConsRemTodas", "&Todas", "CONSULTA - Remessas Recebidas - Todas", true},
    {"mnuConsRemessas", "mnuConsRemImportadas", "&Importadas", "CONSULTA - Remessas Recebidas - Importadas", true},
    {"mnuConsRemessas", "mnuConsRemEstatistica", "E&statistica", "", false},
    {"mnuConsultas", "mnuConsMovFonte", "&Movimento por Fonte de Remuneração",
     "CONSULTA - Movimento por Fonte de Remuneração", false},
    {"mnuConsultas", "mnuConsNaoEnviaram", "&Estabelecimentos que não enviaram a VELT",
     "CONSULTA - Estabelecimentos que não enviaram a VEL", true},
    {"mnuConsultas", "mnuConsProcedimentos", "Procedimentos", "", false},
    {"mnuConsultas", "mnuConsCid", "CID", "", false},
    {"mnuConsultas", "mnuConsOperadoras", "Operadoras", "", false},
    {"mnuConsultas", "mnuConsCnesValidos", "CNES Válidos", "", false},
    {"mnuConsultas", "mnuConsCnesLocal", "CNES Local", "", false},
    {"mnuConsultas", "mnuConsCnesAdesao", "CNES Adesão", "", true},
    {"mnuConsultas", "mnuConsMunicipios", "Municípios", "Cadastro de Municípios", false},
    {nullptr, "mnuGestor", "&Gestor", "GESTOR", false},
    {"mnuManutencao", "mnuManBackup", "&Backup do Banco", "MANUTENÇÃO - Backup do Banco de Dados", false},
    {"mnuManutencao", "mnuManRestore", "&Restore do Banco", "MANUTENÇÃO - Restoração do Banco de Dados", false},
    {"mnuManutencao", "mnuManBarra", "Barra de  &Ferramentas", "", false},
    {"mnuManutencao", "mnuManRemoveRemessa", "Remo&ve Remessa", "", true},
    {"mnuManutencao", "mnuManInsereCnes", "&Insere CNES ", "", true},
    {nullptr, "mnuSobre", "&Sobre", "Sobre o Sistema", false},
    {nullptr, "mnuSair", "Sai&r", "Encerra o Aplicativo", false},
};

static const TForm1::Entrada* entradas(std::size_t& n) {
    n = std::size(kEntradas);
    return kEntradas;
}

}  // namespace velt::ui
