#include <QtTest>

#include "fixtures/GeradorReferencia.h"
#include "reference/ui/DialogosReferencia.h"
#include "support/ui/CaixasCapturadas.h"
#include "TelaReferenciaApoio.h"

using namespace velt;

class ImportaMunicipioTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui::defineEscolheArquivo({}); }
    void entradaSemGuardaImportaOArquivoEscolhido();
    void cancelarNaoFazNada();
    void linhaRecusadaMostraSuaMensagem();
};

void ImportaMunicipioTest::entradaSemGuardaImportaOArquivoEscolhido() {
    test::Ambiente amb;
    int guardas = 0;
    // A manager check that always refuses: this entry must not ask it.
    ui::defineGuarda([&](QWidget*) {
        ++guardas;
        return false;
    });
    int dialogos = 0;
    ui::defineEscolheArquivo([&](QWidget*) {
        ++dialogos;
        return QString::fromStdString(test::dadoReferencia("municipios.csv").string());
    });
    test::CaixasCapturadas caixas;
    QVERIFY(amb.janela->acao("mnuImpMunicipios")->isEnabled());
    amb.janela->acao("mnuImpMunicipios")->trigger();
    QCOMPARE(guardas, 0);
    QCOMPARE(dialogos, 1);
    QCOMPARE(caixas.textos(), QStringList{QString::fromUtf8("Fim importação Municípios")});
    QCOMPARE(amb.banco.conta("TB_MUNICIPIO"), 5602LL);
    QCOMPARE(QString::fromStdString(amb.banco.valor("select trim(ds_municipio) from tb_municipio where co_municipio = '110001'")),
             QString("ALTA FLORESTA D'OESTE"));
    ui::defineGuarda({});
}

void ImportaMunicipioTest::cancelarNaoFazNada() {
    test::Ambiente amb;
    amb.banco.db().execute("insert into tb_municipio (co_municipio, ds_municipio) values ('999999', 'ANTIGO')");
    ui::defineEscolheArquivo([](QWidget*) { return QString(); });
    test::CaixasCapturadas caixas;
    amb.janela->acao("mnuImpMunicipios")->trigger();
    QVERIFY(caixas.caixas.empty());
    QCOMPARE(amb.banco.conta("TB_MUNICIPIO"), 1LL);
}

void ImportaMunicipioTest::linhaRecusadaMostraSuaMensagem() {
    test::Ambiente amb;
    amb.banco.db().execute("insert into tb_municipio (co_municipio, ds_municipio) values ('999999', 'ANTIGO')");
    test::TempDir pasta;
    test::escreveArquivo(pasta / "m.csv", test::linhasCrLf({"CO;DS;UF", "110001;A;RO", "110001;B;RO"}));
    ui::defineEscolheArquivo([&](QWidget*) { return QString::fromStdString((pasta / "m.csv").string()); });
    test::CaixasCapturadas caixas;
    amb.janela->acao("mnuImpMunicipios")->trigger();
    QCOMPARE(caixas.textos(),
             QStringList{QString::fromUtf8("Erro na Importação da Tabela de Municípios - Refazer o processo")});
    QCOMPARE(amb.banco.conta("TB_MUNICIPIO"), 1LL);
}

QTEST_MAIN(ImportaMunicipioTest)
#include "ImportaMunicipioTest.moc"
