#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include "TelaReferenciaApoio.h"
#include "reference/ui/CadastraCnesScreen.h"
#include "support/ui/CaixasCapturadas.h"

using namespace velt;
using test::clica;
using test::filho;

namespace {

// Types a text as a person would, one character at a time (accents included).
void digita(QWidget* w, const QString& texto) {
    for (QChar c : texto) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QRadioButton* item(QWidget* tela, const char* texto) {
    for (auto* r : filho<QGroupBox*>(tela, "RadioGroup1")->findChildren<QRadioButton*>())
        if (r->text() == QString::fromUtf8(texto)) return r;
    qFatal("item ausente: %s", texto);
}

bool visivel(QWidget* tela, const char* nome) {
    return !filho<QWidget*>(tela, nome)->isHidden();
}

struct Tela {
    test::Ambiente amb;
    test::CaixasCapturadas caixas;
    ui::TForm23* tela = nullptr;

    Tela() {
        amb.banco.db().execute("insert into tb_gestor values ('SECRETARIA', '2', '41', '410690', '/tmp')");
        tela = amb.abre<ui::TForm23>("mnuManInsereCnes");
        if (!tela) qFatal("a tela não abriu");
    }
    QLineEdit* edit(const char* nome) { return filho<QLineEdit*>(tela, nome); }
    void consulta(const QString& cnes) {
        edit("Edit1")->clear();
        digita(edit("Edit1"), cnes);
        clica(tela, "SpeedButton2");
    }
    QString ultima() const { return caixas.caixas.empty() ? QString() : caixas.caixas.back().texto; }
    long long conta(const std::string& tabela, const std::string& where) {
        return amb.banco.conta(tabela, where);
    }
    QString valor(const std::string& sql) { return QString::fromLatin1(amb.banco.valor(sql)); }
};

}  // namespace

class CadastraCnesTest : public QObject {
    Q_OBJECT
private slots:
    void abreSoComCnesLeitosConsultarESair();
    void listaComCnesVazio();
    void seisDigitosInsereTambemEmTbCnes();
    void cnesInvalidoENaoPreenchido();
    void alteraComCnpjInvalidoNaoEfetua();
    void excluiDasDuasTabelas();
};

void CadastraCnesTest::abreSoComCnesLeitosConsultarESair() {
    Tela t;
    QCOMPARE(t.tela->windowTitle(), QString("Cadastra  CNES "));
    QVERIFY(!t.tela->isModal());
    for (const char* nome : {"Edit1", "RadioGroup1", "SpeedButton2", "BitBtn3"})
        QVERIFY2(visivel(t.tela, nome), nome);
    for (const char* nome : {"Edit2", "Edit3", "SpeedButton1", "SpeedButton3", "SpeedButton4", "DBNEnv"})
        QVERIFY2(!visivel(t.tela, nome), nome);
    QVERIFY(!item(t.tela, " Sim")->isChecked() && !item(t.tela, " Não")->isChecked());
    QCOMPARE(filho<QPushButton*>(t.tela, "SpeedButton2")->text(), QString("Consultar"));
    auto* grade = filho<QTableWidget*>(t.tela, "DBNEnv");
    QCOMPARE(grade->horizontalHeaderItem(0)->text(), QString("CNES"));
    QCOMPARE(grade->horizontalHeaderItem(1)->text(), QString("RAZAO_SOCIAL"));

    clica(t.tela, "SpeedButton2");  // empty CNES, empty table
    QCOMPARE(t.caixas.textos(), QStringList{"Não existem estabelecimentos cadastrados - importe o CNES"});
    QVERIFY(!visivel(t.tela, "DBNEnv"));

    QPointer<QWidget> fechada(t.tela);
    clica(t.tela, "BitBtn3");
    QTRY_VERIFY(fechada.isNull());
}

void CadastraCnesTest::listaComCnesVazio() {
    Tela t;
    t.amb.banco.db().execute(
        "insert into tb_estabelecimento values ('2000016','11222333000181','CASA','CASA','41','410690','0')");
    t.amb.banco.db().execute(
        "insert into tb_estabelecimento values ('234567','11222333000181','LAR','LAR','41','410690','1')");
    clica(t.tela, "SpeedButton2");
    QVERIFY(t.caixas.caixas.empty());
    auto* grade = filho<QTableWidget*>(t.tela, "DBNEnv");
    QVERIFY(visivel(t.tela, "DBNEnv"));
    QCOMPARE(grade->rowCount(), 2);
    QStringList cnes{grade->item(0, 0)->text(), grade->item(1, 0)->text()};
    cnes.sort();
    QCOMPARE(cnes, (QStringList{"2000016", "234567"}));
    for (const char* nome : {"SpeedButton1", "SpeedButton3", "SpeedButton4"})
        QVERIFY2(!visivel(t.tela, nome), nome);
}

// 234567 is checked as 0234567 but looked up and stored as typed; the new establishment is also a
// valid CNES.
void CadastraCnesTest::seisDigitosInsereTambemEmTbCnes() {
    Tela t;
    t.consulta("234567");
    QCOMPARE(t.caixas.textos(), QStringList{"Este CNES não está cadastrado"});
    for (const char* nome : {"Edit2", "Edit3", "SpeedButton1"}) QVERIFY2(visivel(t.tela, nome), nome);
    for (const char* nome : {"SpeedButton2", "SpeedButton3", "SpeedButton4", "DBNEnv"})
        QVERIFY2(!visivel(t.tela, nome), nome);
    if (t.tela->isActiveWindow()) QVERIFY(t.edit("Edit2")->hasFocus());

    clica(t.tela, "SpeedButton1");  // nothing typed: the CNPJ check comes first
    QCOMPARE(t.ultima(), QString("CNPJ invalido"));
    digita(t.edit("Edit2"), "11222333000181");
    clica(t.tela, "SpeedButton1");
    QCOMPARE(t.ultima(), QString("Todos os campos devem ser informados"));
    QCOMPARE(t.conta("tb_estabelecimento", ""), 0LL);

    digita(t.edit("Edit3"), QString::fromUtf8("hospital são josé"));
    item(t.tela, " Sim")->click();
    clica(t.tela, "SpeedButton1");
    QCOMPARE(t.ultima(), QString("Insert efetuado"));
    QCOMPARE(
        t.valor("select co_cnes || '|' || nu_cnpj || '|' || no_razao_social || '|' || no_fantasia || '|' "
                "|| co_estado_gestor || '|' || co_munic_gestor || '|' || st_leito from tb_estabelecimento"),
        QString::fromUtf8("234567|11222333000181|HOSPITAL SÃO JOSÉ|HOSPITAL SÃO JOSÉ|41|410690|1"));
    QCOMPARE(t.conta("tb_cnes", "co_cnes = '234567'"), 1LL);
    QVERIFY(t.edit("Edit1")->text().isEmpty());
    for (const char* nome : {"Edit2", "Edit3", "SpeedButton1", "SpeedButton3", "SpeedButton4"})
        QVERIFY2(!visivel(t.tela, nome), nome);
    QVERIFY(visivel(t.tela, "SpeedButton2"));

    // Found now: the fields show the stored row.
    t.consulta("234567");
    QCOMPARE(t.edit("Edit2")->text(), QString("11222333000181"));
    QCOMPARE(t.edit("Edit3")->text(), QString::fromUtf8("HOSPITAL SÃO JOSÉ"));
    QVERIFY(item(t.tela, " Sim")->isChecked());
    for (const char* nome : {"Edit2", "Edit3", "SpeedButton3", "SpeedButton4"})
        QVERIFY2(visivel(t.tela, nome), nome);

    // An establishment already valid is not listed twice.
    t.amb.banco.db().execute("insert into tb_cnes values ('2000016')");
    t.consulta("2000016");
    digita(t.edit("Edit2"), "11222333000181");
    digita(t.edit("Edit3"), "casa");
    clica(t.tela, "SpeedButton1");
    QCOMPARE(t.ultima(), QString("Insert efetuado"));
    QCOMPARE(t.conta("tb_cnes", "co_cnes = '2000016'"), 1LL);
    // The bed choice on screen (" Sim" from the look-up before) is what goes in.
    QCOMPARE(t.conta("tb_estabelecimento", "co_cnes = '2000016' and st_leito = '1'"), 1LL);
}

void CadastraCnesTest::cnesInvalidoENaoPreenchido() {
    Tela t;
    t.consulta("123456");  // 0123456 fails its check digit
    QCOMPARE(t.caixas.textos(), QStringList{"CNES INVALIDO"});
    QVERIFY(t.edit("Edit1")->text().isEmpty());
    QVERIFY(!visivel(t.tela, "SpeedButton1"));
    t.consulta("12A4567");
    QCOMPARE(t.ultima(), QString("CNES INVALIDO"));
}

// "Alterar" with an invalid CNPJ shows "CNPJ invalido" and then "Alteração não efetuada".
void CadastraCnesTest::alteraComCnpjInvalidoNaoEfetua() {
    Tela t;
    t.amb.banco.db().execute(
        "insert into tb_estabelecimento values ('2000016','11222333000181','CASA','CASA','41','410690','1')");
    t.consulta("2000016");
    QVERIFY(visivel(t.tela, "SpeedButton3"));
    t.edit("Edit2")->clear();
    digita(t.edit("Edit2"), "11222333000182");
    clica(t.tela, "SpeedButton3");
    QCOMPARE(t.caixas.textos(), (QStringList{"CNPJ invalido", QString::fromUtf8("Alteração não efetuada")}));
    QCOMPARE(t.valor("select nu_cnpj from tb_estabelecimento"), QString("11222333000181"));

    digita(t.edit("Edit2"), "11444777000161");
    t.edit("Edit3")->clear();
    digita(t.edit("Edit3"), "casa nova");
    item(t.tela, " Não")->click();
    clica(t.tela, "SpeedButton3");
    QCOMPARE(t.ultima(), QString::fromUtf8("Alteração efetuada"));
    QCOMPARE(t.valor("select nu_cnpj || '|' || no_razao_social || '|' || st_leito from tb_estabelecimento"),
             QString("11444777000161|CASA NOVA|0"));
    for (const char* nome : {"Edit1", "Edit2", "Edit3"}) QVERIFY2(t.edit(nome)->text().isEmpty(), nome);
    QVERIFY(!item(t.tela, " Sim")->isChecked() && !item(t.tela, " Não")->isChecked());
    for (const char* nome : {"Edit2", "Edit3", "SpeedButton1", "SpeedButton3", "SpeedButton4", "DBNEnv"})
        QVERIFY2(!visivel(t.tela, nome), nome);
    QVERIFY(visivel(t.tela, "SpeedButton2"));
}

void CadastraCnesTest::excluiDasDuasTabelas() {
    Tela t;
    t.amb.banco.db().execute(
        "insert into tb_estabelecimento values ('2000016','11222333000181','CASA','CASA','41','410690','1')");
    t.amb.banco.db().execute("insert into tb_cnes values ('2000016')");
    t.amb.banco.db().execute("insert into tb_cnes values ('1234560')");
    t.consulta("2000016");
    t.edit("Edit1")->clear();
    clica(t.tela, "SpeedButton4");
    QCOMPARE(t.ultima(), QString("CNES tem que estar preenchido"));
    QVERIFY(!visivel(t.tela, "SpeedButton3"));

    digita(t.edit("Edit1"), "2000016");
    clica(t.tela, "SpeedButton4");
    QCOMPARE(t.ultima(), QString("Delete efetuado"));
    QCOMPARE(t.conta("tb_estabelecimento", ""), 0LL);
    QCOMPARE(t.conta("tb_cnes", "co_cnes = '2000016'"), 0LL);
    QCOMPARE(t.conta("tb_cnes", ""), 1LL);
    QVERIFY(t.edit("Edit1")->text().isEmpty());
    for (const char* nome : {"Edit2", "Edit3", "SpeedButton4"}) QVERIFY2(!visivel(t.tela, nome), nome);
}

QTEST_MAIN(CadastraCnesTest)
#include "CadastraCnesTest.moc"
