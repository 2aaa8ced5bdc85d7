#include "app/common/QtDriver.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include "app/common/Texto.h"

namespace velt::ui {
namespace {

Interceptador& interceptador() {
    static Interceptador f;
    return f;
}

}  // namespace

void defineInterceptador(Interceptador f) { interceptador() = std::move(f); }

bool mostraCaixa(QWidget* pai, const Caixa& caixa) {
    if (interceptador()) return interceptador()(caixa);
    QMessageBox box(pai);
    box.setWindowTitle(caixa.titulo.isEmpty() ? QStringLiteral("VELT02") : caixa.titulo);
    box.setText(caixa.texto);
    switch (caixa.icone) {
        case Driver::Icone::Informacao: box.setIcon(QMessageBox::Information); break;
        case Driver::Icone::Aviso: box.setIcon(QMessageBox::Warning); break;
        case Driver::Icone::Erro: box.setIcon(QMessageBox::Critical); break;
        case Driver::Icone::Pergunta: box.setIcon(QMessageBox::Question); break;
        case Driver::Icone::Nenhum: break;
    }
    if (!caixa.pergunta) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return true;
    }
    QPushButton* sim = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton* nao = box.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    box.setDefaultButton(nao);
    box.exec();
    return box.clickedButton() == sim;
}

QtDriver::QtDriver(QWidget* pai, QProgressBar* barra, QLabel* statusLinha)
    : pai_(pai), barra_(barra), status_(statusLinha) {}

void QtDriver::mensagem(std::string_view titulo, std::string_view texto, Icone icone) {
    mostraCaixa(pai_, Caixa{deUtf8(titulo), deUtf8(texto), icone, false});
}

bool QtDriver::pergunta(std::string_view titulo, std::string_view texto) {
    return mostraCaixa(pai_, Caixa{deUtf8(titulo), deUtf8(texto), Icone::Pergunta, true});
}

void QtDriver::progresso(std::int64_t posicao, std::int64_t maximo) {
    if (!barra_) return;
    barra_->setMaximum(int(maximo));
    barra_->setValue(int(posicao));
}

void QtDriver::status(std::string_view linha) {
    if (status_) status_->setText(deUtf8(linha));
}

void QtDriver::processaEventos() { QApplication::processEvents(); }

}  // namespace velt::ui
