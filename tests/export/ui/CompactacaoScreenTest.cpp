#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/common/Contexto.h"
#include "common/DataHora.h"
#include "data/DataModule.h"
#include "export/ui/CompactacaoScreen.h"
#include "export/ui/GerarExcelScreen.h"
#include "export/ui/Telas.h"
#include "fixtures/GeradorArmazenado.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"
#include "support/ui/CaixasCapturadas.h"
#include "support/ui/Componentes.h"

using namespace velt;
namespace fs = std::filesystem;

using velt::test::filho;
using velt::test::MenuDeTeste;

class CompactacaoScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> banco_;
    std::unique_ptr<test::TempDir> pasta_, trab_;
    std::unique_ptr<TDM> dm_;
    std::unique_ptr<MenuDeTeste> menu_;

    fs::path sus() const { return trab_->path() / "VELT02/201104/SUS"; }

private slots:
    void initTestCase() {
        defineRelogio([] { return DataHora{2011, 5, 10, 14, 3, 9}; });
        banco_ = std::make_unique<test::TestDatabase>();
        pasta_ = std::make_unique<test::TempDir>();
        trab_ = std::make_unique<test::TempDir>();
        {
            test::GeradorArmazenado g(banco_->db());
            g.gestor("2", "31", "310620", trab_->path().string());
            g.atendimento({}, {});
            g.consolidado({});
            g.controle("2000040", "201104", "2");
        }
        banco_->escreveVeltIni(pasta_->path());
        banco_->db().detach();
        dm_ = std::make_unique<TDM>(pasta_->path());
        test::ScriptedDriver inicio;
        QVERIFY(dm_->DataModuleCreate(inicio));
        ui::defineDataModule(dm_.get());
        menu_ = std::make_unique<MenuDeTeste>();
        ui::registraTelasExportacao(*menu_);
        menu_->principal.show();
    }
    void cleanupTestCase() {
        menu_.reset();  // waits for the backups still running
        ui::defineDataModule(nullptr);
        defineRelogio({});
    }

    void menuAbreATelaComAJanelaPrincipalDesabilitada() {
        QVERIFY(menu_->acoes.count("mnuCompactacao"));
        QVERIFY(menu_->acoes.count("mnuRelExcel"));
        menu_->acoes["mnuCompactacao"]();
        auto* t = menu_->principal.findChild<ui::TForm3*>();
        QVERIFY(t);
        QCOMPARE(t->windowTitle(), QString::fromUtf8("Compactação"));
        QVERIFY(!menu_->principal.isEnabled());
        QVERIFY(t->isEnabled());
        QCOMPARE(filho<QLineEdit*>(t, "MaskEdit1")->displayText(), QString("__/____"));
        QVERIFY(filho<QCheckBox*>(t, "ChkExecel")->text().startsWith(
            QString::fromUtf8("Selecione para gerar planilha excel com todos os registros")));
        QPointer<ui::TForm3> p(t);
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn2"), Qt::LeftButton);
        QTRY_VERIFY(!p);
        QVERIFY(menu_->principal.isEnabled());
    }

    void executarCompactaComPlanilhaELimpaATela() {
        test::CaixasCapturadas caixas;
        auto* t = new ui::TForm3(&menu_->principal);
        t->setAttribute(Qt::WA_DeleteOnClose);
        t->show();
        auto* edit = filho<QLineEdit*>(t, "MaskEdit1");
        edit->setFocus();
        edit->setCursorPosition(0);
        QTest::keyClicks(edit, "042011");
        filho<QCheckBox*>(t, "ChkExecel")->setChecked(true);
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);

        QStringList esperado{"Integracao efetuada com sucesso", QString::fromUtf8("Compactação concluída"),
                             QString::fromUtf8("Planilha Excel gerada com sucesso no mesmo diretório da compactação")};
        QCOMPARE(caixas.textos().mid(0, 3), esperado);
        QVERIFY(caixas.textos().value(3).startsWith("Foi gerado um Backup da base no local e nome abaixo \n"));
        QVERIFY(fs::exists(sus() / "310620201104.VLT"));
        QVERIFY(fs::exists(sus() / "310620201104.ZIP"));
        QVERIFY(fs::exists(sus() / "310620201104.xlsx"));
        QCOMPARE(edit->text(), QString("/"));
        QVERIFY(!filho<QCheckBox*>(t, "ChkExecel")->isChecked());
        QVERIFY(filho<QLabel*>(t, "StatusBar1")->text().isEmpty());
        QVERIFY(filho<QPushButton*>(t, "BitBtn1")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(fs::exists(trab_->path() / "Backups/VELT02_05102011_140309.gbk"), 60000);

        // Again: both overwrite questions, titled "Atenção"; No to the archive stops the run.
        caixas.caixas.clear();
        caixas.respostas = {true, false};
        QTest::keyClicks(edit, "042011");
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(caixas.caixas.size(), size_t(3));
        QVERIFY(caixas.caixas[0].pergunta);
        QCOMPARE(caixas.caixas[0].titulo, QString::fromUtf8("Atenção"));
        QCOMPARE(caixas.caixas[0].texto,
                 QString::fromUtf8("Sobrepõe arquivo existente: ") + QString::fromStdString((sus() / "310620201104.VLT").string()) + "?");
        QCOMPARE(caixas.caixas[1].texto, QString("Integracao efetuada com sucesso"));
        QVERIFY(caixas.caixas[2].pergunta);
        QCOMPARE(edit->text(), QString("04/2011"));  // a stopped run leaves the competência typed
        t->close();
    }

    void competenciaInvalida() {
        test::CaixasCapturadas caixas;
        auto* t = new ui::TForm3(&menu_->principal);
        t->setAttribute(Qt::WA_DeleteOnClose);
        t->show();
        auto* edit = filho<QLineEdit*>(t, "MaskEdit1");
        QTest::keyClicks(edit, "132011");
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(caixas.textos().value(0), QString::fromUtf8("Competência Inválida.\nInforme uma competência válida."));
        QCOMPARE(edit->text(), QString("/"));
        t->close();
    }

    void gerarExcelDoArquivo() {
        test::CaixasCapturadas caixas;
        menu_->acoes["mnuRelExcel"]();
        auto* t = menu_->principal.findChild<ui::TFrmGerarExcel*>();
        QVERIFY(t);
        QVERIFY(t->isModal());
        QCOMPARE(t->windowTitle(), QString("Gerar Excel a partir do Arquivo .VLT"));
        QTest::mouseClick(filho<QPushButton*>(t, "Button1"), Qt::LeftButton);
        QCOMPARE(caixas.textos(), QStringList{"Indique onde esta o seu Arquivo de .VLT"});
        auto* fe = filho<QLineEdit*>(t, "FeRestaurar");
        QTRY_VERIFY(fe->hasFocus());
        fe->setText(QString::fromStdString((sus() / "310620201104.VLT").string()));
        QTest::mouseClick(filho<QPushButton*>(t, "Button1"), Qt::LeftButton);
        QCOMPARE(caixas.textos().value(1), QString::fromUtf8("Planilha gerada com sucesso no mesmo diretório do arquivo .VLT"));
        QVERIFY(fs::exists(sus() / "310620201104.xlsx"));
        QPointer<ui::TFrmGerarExcel> p(t);
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn2"), Qt::LeftButton);
        QTRY_VERIFY(!p);
    }
};

QTEST_MAIN(CompactacaoScreenTest)
#include "CompactacaoScreenTest.moc"
