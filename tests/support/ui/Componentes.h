#pragma once
// What the screen tests share: finding a screen's components by name, clicking them, and a main
// menu that records the entries a module hooks so a test can run them.
#include <QAbstractButton>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <map>

#include "app/common/Contexto.h"

namespace velt::test {

template <class T>
T filho(QObject* pai, const char* nome) {
    T w = pai->findChild<T>(nome);
    if (!w) qFatal("widget ausente: %s", nome);
    return w;
}

inline void clica(QObject* pai, const char* nome) {
    QTest::mouseClick(filho<QAbstractButton*>(pai, nome), Qt::LeftButton);
}

class MenuDeTeste : public ui::MenuPrincipal {
public:
    QWidget principal;
    std::map<QString, std::function<void()>> acoes;
    void defineAcao(const QString& nome, std::function<void()> acao) override { acoes[nome] = std::move(acao); }
    QWidget* janela() override { return &principal; }
    unsigned corFormulario() const override { return 0; }
    unsigned corPainel() const override { return 0; }
    unsigned corGrade() const override { return 0; }
};

}  // namespace velt::test
