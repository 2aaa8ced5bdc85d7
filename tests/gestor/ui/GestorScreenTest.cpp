#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "app/MainWindow.h"
#include "app/common/Contexto.h"
#include "common/Cp1252.h"
#include "data/DataModule.h"
#include "gestor/Gestor.h"
#include "gestor/ui/GestorScreen.h"
#include "gestor/ui/SeletorDiretorio.h"
#include "gestor/ui/SeletorMunicipio.h"
#include "gestor/ui/SeletorUF.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"
#include "support/ui/Componentes.h"
#include "support/ui/CaixasCapturadas.h"

using namespace velt;

using velt::test::clica;
using velt::test::filho;

namespace {

const QString kGuarda =
    QString::fromUtf8("Cadastrar ou corrigir dados do gestor (opção \"Gestor\" no Menu Principal).");

void insereMunicipios(test::TestDatabase& banco) {
    for (const char* sql : {
             "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('530010', "
             "'BRASILIA', 'DF')",
             "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('355030', 'SAO "
             "PAULO', 'SP')",
             "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('354780', "
             "'SANTO ANDRE', 'SP')",
             "insert into TB_MUNICIPIO (CO_MUNICIPIO, DS_MUNICIPIO, CO_SIGLA_ESTADO) values ('110020', "
             "'PORTO VELHO', 'RO')",
         })
        banco.db().execute(sql);
}

// Types as a person would; characters outside ASCII one by one.
void digita(QWidget* w, const QString& texto) {
    for (QChar c : texto) {
        if (c.unicode() < 128)
            QTest::keyClicks(w, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}


// The picker window of a given type open under the manager screen.
template <class T>
T* janelaAberta(QWidget* tela) {
    for (T* j : tela->findChildren<T*>())
        if (j->isVisible()) return j;
    return nullptr;
}

}  // namespace

class GestorScreenTest : public QObject {
    Q_OBJECT
private slots:
    void primeiroUsoCriaARegistroEmMaiusculas();
    void gestorEstadualGravaMunicipio000000();
    void siglaDaUFRejeitada();
    void municipioDeOutraUF();
    void seletorDeUF();
    void seletorDeMunicipioBuscaONomeMaisProximo();
    void seletorDeDiretorio();
    void guardaLiberaOsComandosDepoisDoCadastro();
};

void GestorScreenTest::primeiroUsoCriaARegistroEmMaiusculas() {
    test::TestDatabase banco;
    insereMunicipios(banco);
    test::TempDir trabalho;
    QWidget principal;
    principal.show();
    test::CaixasCapturadas caixas;

    auto* tela = ui::TForm7::abre(banco.db(), &principal);
    QPointer<QWidget> vigia(tela);
    QCOMPARE(tela->windowTitle(), QString("Gestor"));
    QVERIFY(!principal.isEnabled());
    QVERIFY(tela->isEnabled());
    QVERIFY(tela->isVisible());
    for (const char* e : {"Edit1", "Edit2", "Edit3", "Edit4"})
        QCOMPARE(filho<QLineEdit*>(tela, e)->text(), QString());
    QVERIFY(!filho<QCheckBox*>(tela, "CheckBox1")->isChecked());
    QVERIFY(filho<QLineEdit*>(tela, "Edit3")->isEnabled());
    QVERIFY(filho<QLineEdit*>(tela, "Edit4")->isReadOnly());
    QCOMPARE(tela->focusWidget(), filho<QWidget*>(tela, "Edit1"));
    QCOMPARE(filho<QToolButton*>(tela, "SpeedButton1")->toolTip(), QString("Tabela de UF's"));
    QCOMPARE(filho<QToolButton*>(tela, "SpeedButton2")->toolTip(), QString::fromUtf8("Tabela de Municípios"));
    QCOMPARE(filho<QPushButton*>(tela, "BitBtn3")->toolTip(),
             QString::fromUtf8("Localizar Diretório de Trabalho"));
    QCOMPARE(filho<QLabel*>(tela, "Label3")->text(), QString::fromUtf8("Código IBGE do Município"));
    QCOMPARE(filho<QCheckBox*>(tela, "CheckBox1")->text(), QString::fromUtf8("É gestor Estadual"));

    digita(filho<QWidget*>(tela, "Edit1"), QString::fromUtf8("secretaria de saúde do df"));
    digita(filho<QWidget*>(tela, "Edit2"), "53");
    digita(filho<QWidget*>(tela, "Edit3"), "530010");
    // The work directory comes from the folder picker only.
    clica(tela, "BitBtn3");
    auto* pastas = janelaAberta<ui::TForm12>(tela);
    QVERIFY(pastas);
    QVERIFY(!tela->isEnabled());
    auto* arvore = filho<QTreeView*>(pastas, "DirectoryListBox1");
    auto* modelo = qobject_cast<QFileSystemModel*>(arvore->model());
    arvore->setCurrentIndex(modelo->index(QString::fromStdString(trabalho.path().string())));
    clica(pastas, "BitBtn1");
    QVERIFY(tela->isEnabled());
    QCOMPARE(filho<QLineEdit*>(tela, "Edit4")->text(), QString::fromStdString(trabalho.path().string()));

    clica(tela, "BitBtn1");
    QVERIFY(caixas.caixas.empty());
    QVERIFY(!tela->isVisible());
    QVERIFY(principal.isEnabled());
    auto g = LeGestor(banco.db());
    QVERIFY(g.has_value());
    QCOMPARE(QString::fromStdString(cp1252::toUtf8(g->identificacao)),
             QString::fromUtf8("SECRETARIA DE SAÚDE DO DF"));
    QCOMPARE(QString::fromStdString(g->uf), QString("53"));
    QCOMPARE(QString::fromStdString(g->codmunic), QString("530010"));
    QCOMPARE(QString::fromStdString(g->estadual), QString("2"));
    QCOMPARE(QString::fromStdString(g->dirtrab), QString::fromStdString(trabalho.path().string()));
    QTRY_VERIFY(vigia.isNull());  // released after closing
}

void GestorScreenTest::gestorEstadualGravaMunicipio000000() {
    test::TestDatabase banco;
    insereMunicipios(banco);
    QWidget principal;
    test::CaixasCapturadas caixas;
    auto* tela = ui::TForm7::abre(banco.db(), &principal);
    digita(filho<QWidget*>(tela, "Edit1"), "SES");
    digita(filho<QWidget*>(tela, "Edit2"), "11");
    digita(filho<QWidget*>(tela, "Edit3"), "123");
    filho<QLineEdit*>(tela, "Edit4")->setText("/dados/velt");  // as the folder picker leaves it

    auto* caixa = filho<QCheckBox*>(tela, "CheckBox1");
    const QPoint indicador(6, caixa->height() / 2);
    QTest::mouseClick(caixa, Qt::LeftButton, {}, indicador);
    QVERIFY(caixa->isChecked());
    for (const char* w : {"Label3", "Edit3", "SpeedButton2"})
        QVERIFY2(!filho<QWidget*>(tela, w)->isEnabled(), w);
    QTest::mouseClick(caixa, Qt::LeftButton, {}, indicador);
    for (const char* w : {"Label3", "Edit3", "SpeedButton2"})
        QVERIFY2(filho<QWidget*>(tela, w)->isEnabled(), w);
    QTest::mouseClick(caixa, Qt::LeftButton, {}, indicador);

    clica(tela, "BitBtn1");
    QVERIFY(caixas.caixas.empty());
    auto g = LeGestor(banco.db());
    QVERIFY(g.has_value());
    QCOMPARE(QString::fromStdString(g->estadual), QString("1"));
    QCOMPARE(QString::fromStdString(g->codmunic), QString("000000"));

    // Opened again: the stored state manager, municipality disabled.
    auto* outra = ui::TForm7::abre(banco.db(), &principal);
    QVERIFY(filho<QCheckBox*>(outra, "CheckBox1")->isChecked());
    QVERIFY(!filho<QWidget*>(outra, "Edit3")->isEnabled());
    QVERIFY(!filho<QWidget*>(outra, "SpeedButton2")->isEnabled());
    QCOMPARE(filho<QLineEdit*>(outra, "Edit3")->text(), QString("000000"));
    QCOMPARE(filho<QLineEdit*>(outra, "Edit1")->text(), QString("SES"));
    clica(outra, "BitBtn2");  // Sair: nothing written, main window back
    QVERIFY(principal.isEnabled());
}

void GestorScreenTest::siglaDaUFRejeitada() {
    test::TestDatabase banco;
    insereMunicipios(banco);
    QWidget principal;
    test::CaixasCapturadas caixas;
    auto* tela = ui::TForm7::abre(banco.db(), &principal);
    digita(filho<QWidget*>(tela, "Edit1"), "SMS BRASILIA");
    digita(filho<QWidget*>(tela, "Edit2"), "DF");
    digita(filho<QWidget*>(tela, "Edit3"), "530010");
    filho<QLineEdit*>(tela, "Edit4")->setText("/dados");
    clica(tela, "BitBtn1");
    QCOMPARE(caixas.textos(), QStringList{QString::fromUtf8("UF inválida.")});
    QVERIFY(tela->isVisible());
    QVERIFY(!principal.isEnabled());
    QCOMPARE(filho<QLineEdit*>(tela, "Edit2")->text(), QString("DF"));
    QCOMPARE(banco.conta("TB_GESTOR"), 0LL);

    // The state's IBGE code is what passes.
    filho<QLineEdit*>(tela, "Edit2")->clear();
    digita(filho<QWidget*>(tela, "Edit2"), "53");
    clica(tela, "BitBtn1");
    QCOMPARE(caixas.caixas.size(), std::size_t(1));
    QCOMPARE(banco.conta("TB_GESTOR"), 1LL);
}

void GestorScreenTest::municipioDeOutraUF() {
    test::TestDatabase banco;
    insereMunicipios(banco);
    QWidget principal;
    test::CaixasCapturadas caixas;
    auto* tela = ui::TForm7::abre(banco.db(), &principal);
    digita(filho<QWidget*>(tela, "Edit1"), "SMS");
    digita(filho<QWidget*>(tela, "Edit2"), "53");
    digita(filho<QWidget*>(tela, "Edit3"), "355030");
    filho<QLineEdit*>(tela, "Edit4")->setText("/dados");
    clica(tela, "BitBtn1");
    QCOMPARE(caixas.textos(),
             QStringList{QString::fromUtf8("O código do município informado não pertence a UF")});
    QVERIFY(tela->isVisible());
    QCOMPARE(banco.conta("TB_GESTOR"), 0LL);

    filho<QLineEdit*>(tela, "Edit3")->setText("000000");
    clica(tela, "BitBtn1");
    QCOMPARE(caixas.textos().last(), QString::fromUtf8("Código IBGE do município inválido."));
    filho<QLineEdit*>(tela, "Edit4")->clear();
    filho<QLineEdit*>(tela, "Edit3")->setText("530010");
    clica(tela, "BitBtn1");
    QCOMPARE(caixas.textos().last(), QString::fromUtf8("O diretório de trabalho deve ser informado."));
    filho<QLineEdit*>(tela, "Edit1")->setText("12345");
    clica(tela, "BitBtn1");
    QCOMPARE(caixas.textos().last(), QString::fromUtf8("Identificação do gestor não informada."));
    QCOMPARE(banco.conta("TB_GESTOR"), 0LL);
    tela->close();
    QVERIFY(principal.isEnabled());
}

void GestorScreenTest::seletorDeUF() {
    test::TestDatabase banco;
    QWidget principal;
    auto* tela = ui::TForm7::abre(banco.db(), &principal);
    clica(tela, "SpeedButton1");
    auto* uf = janelaAberta<ui::TForm11>(tela);
    QVERIFY(uf);
    QCOMPARE(uf->windowTitle(), QString("Tabela de UF's"));
    QVERIFY(!tela->isEnabled());
    QVERIFY(uf->isEnabled());
    auto* grade = filho<QTableWidget*>(uf, "DBGrid1");
    QCOMPARE(grade->rowCount(), 27);
    QCOMPARE(grade->horizontalHeaderItem(0)->text(), QString("ESTADO"));
    QCOMPARE(grade->horizontalHeaderItem(1)->text(), QString("SIGLA DA UF"));
    QCOMPARE(grade->horizontalHeaderItem(2)->text(), QString::fromUtf8("CÓDIGO IBGE"));
    QCOMPARE(grade->item(0, 0)->text(), QString("ACRE"));
    int df = -1;
    for (int i = 0; i < 27; ++i)
        if (grade->item(i, 1)->text() == "DF") df = i;
    QVERIFY(df >= 0);
    grade->setCurrentCell(df, 0);
    clica(uf, "BitBtn1");
    QCOMPARE(filho<QLineEdit*>(tela, "Edit2")->text(), QString("53"));
    QVERIFY(tela->isEnabled());

    // "Sair" copies nothing; a double click copies like "Copiar".
    clica(tela, "SpeedButton1");
    uf = janelaAberta<ui::TForm11>(tela);
    QVERIFY(uf);
    filho<QTableWidget*>(uf, "DBGrid1")->setCurrentCell(0, 0);
    clica(uf, "BitBtn2");
    QCOMPARE(filho<QLineEdit*>(tela, "Edit2")->text(), QString("53"));
    QVERIFY(tela->isEnabled());
    clica(tela, "SpeedButton1");
    uf = janelaAberta<ui::TForm11>(tela);
    QVERIFY(QTest::qWaitForWindowExposed(uf));
    grade = filho<QTableWidget*>(uf, "DBGrid1");
    QRect r = grade->visualItemRect(grade->item(0, 2));
    QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(grade->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(filho<QLineEdit*>(tela, "Edit2")->text(), QString("12"));
    QVERIFY(!uf->isVisible());
    tela->close();
}

void GestorScreenTest::seletorDeMunicipioBuscaONomeMaisProximo() {
    test::TestDatabase banco;
    insereMunicipios(banco);
    QWidget principal;
    auto* tela = ui::TForm7::abre(banco.db(), &principal);
    clica(tela, "SpeedButton2");
    auto* m = janelaAberta<ui::TForm10>(tela);
    QVERIFY(m);
    QCOMPARE(m->windowTitle(), QString::fromUtf8("Tabela de Municípios"));
    QCOMPARE(filho<QLabel*>(m, "Label1")->text(),
             QString::fromUtf8("Digite as primeiras letras do nome que você está procurando"));
    QVERIFY(!tela->isEnabled());
    auto* grade = filho<QTableView*>(m, "DBGrid1");
    auto* busca = filho<QLineEdit*>(m, "Edit1");
    QCOMPARE(busca->text(), QString());
    QCOMPARE(m->focusWidget(), static_cast<QWidget*>(busca));
    QCOMPARE(grade->model()->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("Código IBGE"));
    QCOMPARE(grade->model()->headerData(1, Qt::Horizontal).toString(), QString("Nome"));
    auto atual = [&] { return grade->model()->index(grade->currentIndex().row(), 1).data().toString(); };
    QCOMPARE(atual(), QString("BRASILIA"));  // first by name

    digita(busca, "sa");
    QCOMPARE(busca->text(), QString("SA"));  // the edit takes upper case
    QCOMPARE(atual(), QString("SANTO ANDRE"));
    digita(busca, "o");
    QCOMPARE(atual(), QString("SAO PAULO"));
    busca->clear();
    digita(busca, "PORTO Z");  // no such name: the next one in order
    QCOMPARE(atual(), QString("SANTO ANDRE"));
    busca->clear();
    digita(busca, "ZZ");  // past every name: the last one
    QCOMPARE(atual(), QString("SAO PAULO"));

    clica(m, "BitBtn1");
    QCOMPARE(filho<QLineEdit*>(tela, "Edit3")->text(), QString("355030"));
    QVERIFY(tela->isEnabled());
    tela->close();
}

void GestorScreenTest::seletorDeDiretorio() {
    test::TempDir pasta;
    std::filesystem::create_directories(pasta / "VELT" / "trabalho");
    QString raiz = QString::fromStdString(pasta.path().string());
    QString inexistente = raiz + "/unidade-desligada";
    QWidget dono;
    test::CaixasCapturadas caixas;
    auto* sel = new ui::TForm12(&dono, {}, QStringList{raiz, inexistente});
    QString copiado;
    QObject::connect(sel, &ui::TForm12::copiado, [&](const QString& p) { copiado = p; });
    sel->show();
    QCOMPARE(sel->windowTitle(), QString::fromUtf8("Diretório de Trabalho"));
    auto* drives = filho<QComboBox*>(sel, "DriveComboBox1");
    QCOMPARE(drives->currentText(), raiz);
    QCOMPARE(sel->unidadeLembrada(), raiz);

    drives->setCurrentIndex(1);  // a drive that cannot be read
    QCOMPARE(caixas.textos(), QStringList{"Erro de Acesso ao Drive Escolhido"});
    QCOMPARE(drives->currentText(), raiz);

    auto* arvore = filho<QTreeView*>(sel, "DirectoryListBox1");
    auto* modelo = qobject_cast<QFileSystemModel*>(arvore->model());
    QCOMPARE(modelo->filePath(arvore->rootIndex()), raiz);
    QString destino = raiz + "/VELT/trabalho";
    arvore->setCurrentIndex(modelo->index(destino));
    QCOMPARE(filho<QLineEdit*>(sel, "Edit1")->text(), destino);
    QVERIFY(filho<QLineEdit*>(sel, "Edit1")->isReadOnly());
    clica(sel, "BitBtn1");
    QCOMPARE(copiado, destino);

    // Opening on the current work directory shows it at once, on its drive.
    auto* outro = new ui::TForm12(&dono, destino, QStringList{inexistente, raiz});
    QCOMPARE(filho<QComboBox*>(outro, "DriveComboBox1")->currentText(), raiz);
    QCOMPARE(filho<QLineEdit*>(outro, "Edit1")->text(), destino);
    delete outro;
}

void GestorScreenTest::guardaLiberaOsComandosDepoisDoCadastro() {
    test::TestDatabase banco;
    insereMunicipios(banco);
    test::TempDir pastaPrograma;
    banco.escreveVeltIni(pastaPrograma.path());
    TDM dm(pastaPrograma.path());
    test::ScriptedDriver inicio;
    QVERIFY(dm.DataModuleCreate(inicio));
    ui::defineDataModule(&dm);
    test::CaixasCapturadas caixas;
    {
        ui::TForm1 janela(&dm);
        int abertos = 0;
        // A guarded command standing for all of them (the guard runs before any handler).
        janela.defineAcao("mnuCompactacao", [&] { ++abertos; });
        QVERIFY(janela.acao("mnuGestor")->isEnabled());

        janela.acao("mnuCompactacao")->trigger();
        QCOMPARE(abertos, 0);
        QCOMPARE(caixas.textos(), QStringList{kGuarda});

        janela.acao("mnuGestor")->trigger();
        auto* tela = janela.findChild<ui::TForm7*>();
        QVERIFY(tela);
        QVERIFY(!janela.isEnabled());
        digita(filho<QWidget*>(tela, "Edit1"), "sms");
        digita(filho<QWidget*>(tela, "Edit2"), "53");
        digita(filho<QWidget*>(tela, "Edit3"), "530010");
        filho<QLineEdit*>(tela, "Edit4")->setText(QString::fromStdString(pastaPrograma.path().string()));
        clica(tela, "BitBtn1");
        QVERIFY(janela.isEnabled());
        QCOMPARE(caixas.caixas.size(), std::size_t(1));

        janela.acao("mnuCompactacao")->trigger();
        QCOMPARE(abertos, 1);
        QCOMPARE(caixas.caixas.size(), std::size_t(1));

        // The record spoiled behind the screen's back closes the commands again.
        dm.db().execute("update TB_GESTOR set DIRTRAB = ''");
        janela.acao("mnuCompactacao")->trigger();
        QCOMPARE(abertos, 1);
        QCOMPARE(caixas.textos().last(), kGuarda);
    }
    ui::defineGuarda({});
    ui::defineDataModule(nullptr);
}

QTEST_MAIN(GestorScreenTest)
#include "GestorScreenTest.moc"
