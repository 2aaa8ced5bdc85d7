#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "TelaReferenciaApoio.h"
#include "fixtures/GeradorCadastro.h"
#include "reference/ui/DialogosReferencia.h"
#include "reference/ui/ImportaFcesScreen.h"
#include "support/ui/CaixasCapturadas.h"

using namespace velt;
using test::clica;
using test::filho;

namespace {

std::vector<fixtures::UnidadeFces> unidades() {
    fixtures::UnidadeFces privada, filantropica;
    privada.unidadeId = "1";
    privada.cnes = "1000001";
    privada.atendimentos = {{"01", "02"}};
    privada.leitos = {fixtures::Leito{"81"}};
    filantropica.unidadeId = "2";
    filantropica.cnes = "1000002";
    filantropica.natureza = "3069";
    filantropica.atendimentos = {{"01", "01"}};
    return {privada, filantropica};
}

QRadioButton* item(QWidget* tela, const QString& texto) {
    for (auto* r : filho<QGroupBox*>(tela, "RadioGroup1")->findChildren<QRadioButton*>())
        if (r->text() == texto) return r;
    qFatal("item ausente");
}

bool ligado(QWidget* tela, const char* nome) {
    return filho<QPushButton*>(tela, nome)->isEnabled();
}

}  // namespace

class FcesScreenTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui::defineEscolhePasta({}); }
    void arquivosAusentesDevolvemOsDoisBotoes();
    void importaComFiltroObrigatorio();
    void paradaDeixaOsDoisBotoesDesligados();
};

void FcesScreenTest::arquivosAusentesDevolvemOsDoisBotoes() {
    test::Ambiente amb;
    test::TempDir pasta;
    QString titulo;
    ui::defineEscolhePasta([&](QWidget*, const QString& t) {
        titulo = t;
        return QString::fromStdString(pasta.path().string());
    });
    test::CaixasCapturadas caixas;
    QVERIFY(amb.janela->acao("mnuImpCnesLocal")->isEnabled());
    auto* tela = amb.abre<ui::TFoImportaFces>("mnuImpCnesLocal");
    QVERIFY(tela && !tela->isModal());
    QCOMPARE(tela->windowTitle(), QString::fromUtf8("Importação Cadastro de Estabelecimentos"));
    QCOMPARE(filho<QLabel*>(tela, "Label6")->text(), QString::fromUtf8("Diretório"));
    QCOMPARE(filho<QGroupBox*>(tela, "RadioGroup1")->title(), QString::fromUtf8("[ Filtro de Importação ]"));
    QVERIFY(item(tela, "Todos os estabelecimentos")->isChecked());

    clica(tela, "SpeedButton3");
    QCOMPARE(titulo, QString("Pasta para ler os Arquivos"));
    QCOMPARE(filho<QLineEdit*>(tela, "ed_Arquivo")->text(), QString::fromStdString(pasta.path().string()));
    clica(tela, "BtnImportar");
    QCOMPARE(caixas.caixas.size(), std::size_t(1));
    QCOMPARE(caixas.caixas[0].titulo, QString::fromUtf8("ATENÇÃO"));
    QCOMPARE(caixas.caixas[0].texto,
             QString::fromUtf8("ARQUIVOS(lfces002.txt, lfces004.txt e lfces006.txt) NÃO ENCONTRADOS!"));
    QVERIFY(ligado(tela, "BtnImportar"));
    QVERIFY(ligado(tela, "BtnFechar"));
}

void FcesScreenTest::importaComFiltroObrigatorio() {
    test::Ambiente amb;
    test::TempDir pasta;
    fixtures::escreveLfces(pasta.path(), unidades());
    ui::defineEscolhePasta(
        [&](QWidget*, const QString&) { return QString::fromStdString(pasta.path().string()); });
    test::CaixasCapturadas caixas;
    auto* tela = amb.abre<ui::TFoImportaFces>("mnuImpCnesLocal");
    clica(tela, "SpeedButton3");
    item(tela, QString::fromUtf8("Estabelecimentos com apresentação obrigatória"))->click();
    clica(tela, "BtnImportar");
    QVERIFY2(caixas.caixas.empty(), qPrintable(caixas.textos().join(" / ")));
    QCOMPARE(filho<QPlainTextEdit*>(tela, "Msg_memo")->toPlainText(),
             QString::fromUtf8(
                 "Carregando LFCES002......OK!\nCarregando LFCES004......OK!\nCarregando LFCES006......OK!\n"
                 "\n\nFIM DA IMPORTAÇÃO!"));
    // "Importar" stays off until the window is opened again.
    QVERIFY(!ligado(tela, "BtnImportar"));
    QVERIFY(ligado(tela, "BtnFechar"));
    QCOMPARE(amb.banco.conta("tb_estabelecimento"), 2LL);
    QCOMPARE(amb.banco.conta("tb_estabelecimento", "co_cnes = '1000001' and st_leito = '1'"), 1LL);
}

void FcesScreenTest::paradaDeixaOsDoisBotoesDesligados() {
    test::Ambiente amb;
    test::TempDir pasta;
    auto u = unidades();
    u[0].leitos.push_back(fixtures::Leito{"81"});
    fixtures::escreveLfces(pasta.path(), u);
    ui::defineEscolhePasta(
        [&](QWidget*, const QString&) { return QString::fromStdString(pasta.path().string()); });
    test::CaixasCapturadas caixas;
    auto* tela = amb.abre<ui::TFoImportaFces>("mnuImpCnesLocal");
    clica(tela, "SpeedButton3");
    clica(tela, "BtnImportar");
    QCOMPARE(caixas.textos(), QStringList{"ERRO AO IMPORTAR O ARQUIVO LFCES002!"});
    QCOMPARE(filho<QPlainTextEdit*>(tela, "Msg_memo")->toPlainText(),
             QString("Carregando LFCES002......ERRO!\n"));
    QVERIFY(!ligado(tela, "BtnImportar"));
    QVERIFY(!ligado(tela, "BtnFechar"));
    QPointer<QWidget> fechada(tela);
    tela->close();  // the close box still closes it
    QTRY_VERIFY(fechada.isNull());
}

QTEST_MAIN(FcesScreenTest)
#include "FcesScreenTest.moc"
