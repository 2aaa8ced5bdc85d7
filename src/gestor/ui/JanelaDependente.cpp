#include "gestor/ui/JanelaDependente.h"

#include <QEvent>
#include <exception>

#include "app/common/QtDriver.h"

namespace velt::ui {
namespace {

// Enables the owner again as soon as the window closes (before its deferred release).
class ReabilitaDono : public QObject {
public:
    ReabilitaDono(QWidget* dono, QWidget* janela) : QObject(janela), dono_(dono) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Close && dono_) dono_->setEnabled(true);
        return false;
    }
    ~ReabilitaDono() override {
        if (dono_) dono_->setEnabled(true);
    }

private:
    QPointer<QWidget> dono_;
};

}  // namespace

void mostraDesabilitandoDono(QWidget* dono, QWidget* janela) {
    janela->setAttribute(Qt::WA_DeleteOnClose);
    janela->installEventFilter(new ReabilitaDono(dono, janela));
    if (dono) {
        dono->setEnabled(false);
        janela->setEnabled(true);  // a window may stay enabled while its owner is not
        janela->adjustSize();
        QRect r = janela->frameGeometry();
        r.moveCenter(dono->frameGeometry().center());
        janela->move(r.topLeft());
    }
    janela->show();
}

void executaProtegido(QWidget* pai, const std::function<void()>& acao) {
    try {
        acao();
    } catch (const std::exception& e) {
        mostraCaixa(pai, Caixa{"VELT02", QString::fromUtf8(e.what()), Driver::Icone::Erro, false});
    }
}

}  // namespace velt::ui
