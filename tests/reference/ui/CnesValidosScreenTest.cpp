#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "TelaReferenciaApoio.h"
#include "fixtures/GeradorCadastro.h"
#include "reference/ui/DialogosReferencia.h"
#include "reference/ui/ImportaCnesValidosScreen.h"
#include "support/ui/CaixasCapturadas.h"

using namespace velt;
using test::clica;
using test::filho;

class CnesValidosScreenTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui::defineEscolhePasta({}); }
    void competenciaInvalidaELimpaEFocada();
    void importaACompetenciaDigitada();
};

void CnesValidosScreenTest::competenciaInvalidaELimpaEFocada() {
    test::Ambiente amb;
    test::CaixasCapturadas caixas;
    QVERIFY(amb.janela->acao("mnuImpCnesValidos")->isEnabled());
    auto* tela = amb.abre<ui::TFrmImportacaoCNESValidos>("mnuImpCnesValidos");
    QVERIFY(tela);
    QCOMPARE(tela->windowTitle(), QString::fromUtf8("Importação dos CNES Válidos"));
    QCOMPARE(filho<QPushButton*>(tela, "BitBtn5")->text(), QString("Importar"));
    QCOMPARE(filho<QPushButton*>(tela, "BitBtn6")->text(), QString("Sair"));
    auto* cmpt = filho<QLineEdit*>(tela, "MaskEdit3");
    QTest::keyClicks(cmpt, "132012");
    QCOMPARE(cmpt->text(), QString("13/2012"));
    clica(tela, "BitBtn5");
    QCOMPARE(caixas.caixas.size(), std::size_t(1));
    QCOMPARE(caixas.caixas[0].titulo, QString("ERRO"));
    QCOMPARE(caixas.caixas[0].texto, QString::fromUtf8("INFORME UMA COMPETÊNCIA VÁLIDA!"));
    QCOMPARE(cmpt->text(), QString("/"));
    QVERIFY(filho<QPushButton*>(tela, "BitBtn5")->isEnabled());
    QVERIFY(filho<QPushButton*>(tela, "BitBtn6")->isEnabled());
}

void CnesValidosScreenTest::importaACompetenciaDigitada() {
    test::Ambiente amb;
    amb.banco.db().execute("insert into tb_gestor values ('SECRETARIA', '1', '35', '000000', '/tmp')");
    test::TempDir pasta;
    fixtures::escreveCnesVal(pasta / "CNESVAL.txt",
                             {{"1000001", "355030", "202012"}, {"1000002", "410690", "202012"}});
    QString titulo;
    ui::defineEscolhePasta([&](QWidget*, const QString& t) {
        titulo = t;
        return QString::fromStdString(pasta.path().string());
    });
    test::CaixasCapturadas caixas;
    auto* tela = amb.abre<ui::TFrmImportacaoCNESValidos>("mnuImpCnesValidos");
    clica(tela, "SpeedButton3");
    QCOMPARE(titulo, QString("Pasta para ler o Arquivo"));
    QCOMPARE(filho<QLineEdit*>(tela, "ed_Arquivo")->text(), QString::fromStdString(pasta.path().string()));
    QTest::keyClicks(filho<QLineEdit*>(tela, "MaskEdit3"), "122020");
    clica(tela, "BitBtn5");
    QCOMPARE(caixas.textos(), QStringList{QString::fromUtf8("CONCLUÍDO COM SUCESSO!")});
    QCOMPARE(caixas.caixas[0].titulo, QString("SUCESSO"));
    auto* barra = filho<QProgressBar*>(tela, "Progresso");
    QCOMPARE(barra->maximum(), 2);
    QCOMPARE(barra->value(), 2);
    QCOMPARE(amb.banco.conta("tb_cnes"), 1LL);

    // Another competência: nothing to take, the list stays and the bar empties.
    filho<QLineEdit*>(tela, "MaskEdit3")->clear();
    QTest::keyClicks(filho<QLineEdit*>(tela, "MaskEdit3"), "112020");
    clica(tela, "BitBtn5");
    QCOMPARE(caixas.textos().last(),
             QString::fromUtf8("ARQUIVO NÃO IMPORTADO! VERIFIQUE A COMPETÊNCIA/PASTA INFORMADA"));
    QCOMPARE(barra->value(), 0);
    QCOMPARE(amb.banco.conta("tb_cnes"), 1LL);
    QVERIFY(filho<QPushButton*>(tela, "BitBtn5")->isEnabled());
}

QTEST_MAIN(CnesValidosScreenTest)
#include "CnesValidosScreenTest.moc"
