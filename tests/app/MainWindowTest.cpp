#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QtTest>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "common/DataHora.h"
#include "data/DataModule.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

using namespace velt;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void menuCaptionsInOrder();
    void entriesWithoutScreenAreDisabled();
    void toolBarFollowsBarraAndToggles();
    void toolBarHiddenWhenStartUpFailed();
    void statusBarPanelsAndClock();
    void captionAndAboutBox();
};

static QStringList legendas(const QList<QAction*>& acoes) {
    QStringList out;
    for (QAction* a : acoes)
        if (!a->isSeparator()) out << a->text();
    return out;
}

void MainWindowTest::menuCaptionsInOrder() {
    ui::TForm1 w(nullptr);
    QCOMPARE(legendas(w.menuBar()->actions()),
             QStringList({"&Importação", "&Compactação", "&Relatórios", "Co&nsultas", "&Gestor", "&Manutenção",
                          "&Sobre", "Sai&r"}));
    auto* imp = w.findChild<QMenu*>("mnuImportacao");
    QVERIFY(imp);
    QCOMPARE(legendas(imp->actions()),
             QStringList({"&Estabelecimento", "&Regional", "&Procedimentos", "&CNES Local", "CNES &Válidos",
                          "CNES A&desão", "C&ID", "&Operadoras", "&Alta", "&Municípios"}));
    auto* cons = w.findChild<QMenu*>("mnuConsultas");
    QVERIFY(cons);
    QCOMPARE(cons->actions().first()->text(), QString("&Remessas Recebidas"));
    QCOMPARE(legendas(w.findChild<QMenu*>("mnuConsRemessas")->actions()),
             QStringList({"&Todas", "&Importadas", "E&statistica"}));
    QCOMPARE(legendas(w.findChild<QMenu*>("mnuManutencao")->actions()),
             QStringList({"&Backup do Banco", "&Restore do Banco", "Barra de  &Ferramentas", "Remo&ve Remessa",
                          "&Insere CNES "}));
    QCOMPARE(w.acao("mnuImpEstabelecimento")->statusTip(), QString("IMPORTAÇÃO - Remessas de Estabelecimento"));
    QCOMPARE(w.acao("mnuConsNaoEnviaram")->statusTip(), QString("CONSULTA - Estabelecimentos que não enviaram a VEL"));
    QCOMPARE(w.acao("mnuSair")->statusTip(), QString("Encerra o Aplicativo"));
    QCOMPARE(w.findChild<QMenu*>("mnuRelatorios")->menuAction()->statusTip(), QString("RELATÓRIOS"));

    QStringList dicas;
    for (QAction* a : w.barra()->actions()) dicas << a->toolTip();
    QCOMPARE(dicas, QStringList({"Importa Estabelecimento", "Importa Regional", "Importa Procedimentos", "Importa CNES",
                                 "Importa CID", "Importa Operadoras", "Compactação", "Relatórios de Erros",
                                 "Relatório de Notificação de Agravo", "Relatório de Internação",
                                 "Relatório de VELS - Por Prontuário", "Backup", "Restauração do Backup"}));
}

void MainWindowTest::entriesWithoutScreenAreDisabled() {
    ui::TForm1 w(nullptr);
    ui::defineGuarda({});  // the window installs the manager check; this test sets its own below
    // The window's own entries work; an entry becomes live only when its screen hooks it.
    QVERIFY(w.acao("mnuSobre")->isEnabled());
    QVERIFY(w.acao("mnuSair")->isEnabled());
    QVERIFY(w.acao("mnuManBarra")->isEnabled());
    QVERIFY(!w.acao("mnuImpRegional")->isEnabled());  // no screen for it yet

    int chamadas = 0;
    w.defineAcao("mnuImpRegional", [&] { ++chamadas; });
    QVERIFY(w.acao("mnuImpRegional")->isEnabled());
    QVERIFY(w.findChild<QAction*>("btnImportaRegional")->isEnabled());
    w.findChild<QAction*>("btnImportaRegional")->trigger();  // the button runs the menu entry's handler
    w.acao("mnuImpRegional")->trigger();
    QCOMPARE(chamadas, 2);

    // A guarded entry runs only when the manager check lets it through.
    bool libera = false;
    ui::defineGuarda([&](QWidget*) { return libera; });
    w.acao("mnuImpRegional")->trigger();
    QCOMPARE(chamadas, 2);
    libera = true;
    w.acao("mnuImpRegional")->trigger();
    QCOMPARE(chamadas, 3);
    ui::defineGuarda({});
}

void MainWindowTest::toolBarFollowsBarraAndToggles() {
    test::TestDatabase t;
    test::TempDir dir;
    t.escreveVeltIni(dir.path());
    test::escreveArquivo(dir / "BARRA.Txt", "False\r\n");
    test::ScriptedDriver driver;
    TDM dm(dir.path());
    QVERIFY(dm.DataModuleCreate(driver));
    ui::TForm1 w(&dm);
    w.show();
    QVERIFY(!w.barra()->isVisible());
    w.acao("mnuManBarra")->trigger();
    QVERIFY(w.barra()->isVisible());
    QCOMPARE(QString::fromStdString(test::leArquivo(dir / "BARRA.Txt")), QString("True\r\n"));
    w.acao("mnuManBarra")->trigger();
    QVERIFY(!w.barra()->isVisible());
    QCOMPARE(QString::fromStdString(test::leArquivo(dir / "BARRA.Txt")), QString("False\r\n"));
}

void MainWindowTest::toolBarHiddenWhenStartUpFailed() {
    test::TempDir dir;  // no velt.ini
    test::ScriptedDriver driver;
    TDM dm(dir.path());
    QVERIFY(!dm.DataModuleCreate(driver));
    ui::TForm1 w(&dm);
    w.show();
    QVERIFY(w.isVisible());
    QVERIFY(!w.barra()->isVisible());
}

void MainWindowTest::statusBarPanelsAndClock() {
    defineRelogio([] { return DataHora{2026, 3, 9, 8, 7, 6, 0}; });
    ui::TForm1 w(nullptr);
    QCOMPARE(w.painel(0)->text(), QString("Mensagem"));
    QCOMPARE(w.painel(4)->text(), QString("Atualização Em 22/04/2016"));
    QCOMPARE(w.painel(1)->minimumWidth(), 680);
    QStatusTipEvent dica("GESTOR");
    QApplication::sendEvent(&w, &dica);
    w.atualizaRelogio();
    QCOMPARE(w.painel(1)->text(), QString("GESTOR"));
    QCOMPARE(w.painel(2)->text(), QString("09/03/2026"));
    QCOMPARE(w.painel(3)->text(), QString("08:07:06"));
    defineRelogio({});
}

void MainWindowTest::captionAndAboutBox() {
    ui::TForm1 w(nullptr);
    w.show();
    QCOMPARE(w.windowTitle(), QString("VELT02 - Veltaria - 1.0.5.0"));
    w.acao("mnuSobre")->trigger();
    ui::TAboutBox* box = nullptr;
    for (QWidget* tw : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<ui::TAboutBox*>(tw)) box = b;
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QString("Sobre"));
    QCOMPARE(box->findChild<QLabel*>("Version")->text(), QString("1.0.5.0"));
    QVERIFY(!w.isEnabled());
    box->accept();
    QVERIFY(w.isEnabled());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
