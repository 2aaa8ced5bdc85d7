#include <QFileSystemModel>
#include <QListWidget>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "TelaReferenciaApoio.h"
#include "fixtures/GeradorCadastro.h"
#include "reference/ui/ImportaCnesAdesaoScreen.h"
#include "support/ui/CaixasCapturadas.h"

using namespace velt;
using test::filho;

class CnesAdesaoScreenTest : public QObject {
    Q_OBJECT
private slots:
    void unidadesPastasEArquivos();
};

// The drive list, the folder tree and the text files of the chosen folder; only
// TERMOSADESAOCNES.txt (any case) is imported.
void CnesAdesaoScreenTest::unidadesPastasEArquivos() {
    test::Ambiente amb;
    QVERIFY(amb.janela->acao("mnuImpCnesAdesao")->isEnabled());
    test::TempDir pasta;
    fixtures::escreveAdesao(pasta / "termosadesaocnes.txt", {{"1000001", "0914", "202001", "202112"}});
    fixtures::escreveAdesao(pasta / "outro.TXT", {{"1000002", "0915", "202001", "202112"}});
    test::escreveArquivo(pasta / "planilha.csv", "x\r\n");
    test::CaixasCapturadas caixas;

    ui::TfrmCnesAdesao tela(amb.janela.get());
    tela.show();
    auto* unidades = filho<QListWidget*>(&tela, "ListBox1");
    QVERIFY(unidades->count() >= 1);
    QCOMPARE(unidades->item(0)->text(), QString("/"));

    auto* arvore = filho<QTreeView*>(&tela, "DirectoryListBox1");
    auto* modelo = qobject_cast<QFileSystemModel*>(arvore->model());
    QVERIFY(modelo);
    arvore->setCurrentIndex(modelo->index(QString::fromStdString(pasta.path().string())));
    auto* arquivos = filho<QListWidget*>(&tela, "FileListBox1");
    QStringList nomes;
    for (int i = 0; i < arquivos->count(); ++i) nomes << arquivos->item(i)->text();
    QCOMPARE(nomes, (QStringList{"outro.TXT", "termosadesaocnes.txt"}));

    auto* importa = filho<QToolButton*>(&tela, "iMPORTA");
    QCOMPARE(importa->toolTip(), QString::fromUtf8("Confirma Importação"));
    QCOMPARE(filho<QToolButton*>(&tela, "SpeedButton1")->toolTip(), QString("Fechar"));
    importa->click();  // nothing chosen
    arquivos->setCurrentRow(0);
    importa->click();  // another file
    QCOMPARE(caixas.textos(),
             (QStringList{QString::fromUtf8("Arquivo não encontrado TERMOSADESAOCNES.txt"),
                          QString::fromUtf8("Arquivo não encontrado TERMOSADESAOCNES.txt")}));
    QCOMPARE(amb.banco.conta("tb_proj_saude"), 0LL);

    arquivos->setCurrentRow(1);
    importa->click();
    QCOMPARE(caixas.textos().last(), QString::fromUtf8("Importação de CNES adesão concluído com sucesso!"));
    QCOMPARE(amb.banco.valor("select nu_cnes || co_regra from tb_proj_saude"), std::string("10000010914"));

    // A drive that cannot be opened is reported and the tree stays where it was.
    unidades->addItem("/unidade-que-nao-existe");
    unidades->setCurrentRow(unidades->count() - 1);
    QTest::mouseClick(unidades->viewport(), Qt::LeftButton, {},
                      unidades->visualItemRect(unidades->item(unidades->count() - 1)).center());
    QCOMPARE(caixas.textos().last(), QString::fromUtf8("Não é possível abrir o driver selecionado."));
    QCOMPARE(tela.pastaAtual(), QString::fromStdString(pasta.path().string()));
}

QTEST_MAIN(CnesAdesaoScreenTest)
#include "CnesAdesaoScreenTest.moc"
