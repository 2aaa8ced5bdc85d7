#pragma once
#include <QHBoxLayout>
#include <QPushButton>
#include <QWidget>
#include <functional>

namespace velt::ui {

// The pickers' button row: "Copiar" (BitBtn1) hands the choice back, "Sair" (BitBtn2) closes.
inline QHBoxLayout* BotoesCopiarSair(QWidget* seletor, std::function<void()> copiar) {
    auto* bCopiar = new QPushButton("Copiar", seletor);
    bCopiar->setObjectName("BitBtn1");
    auto* sair = new QPushButton("Sair", seletor);
    sair->setObjectName("BitBtn2");
    QObject::connect(bCopiar, &QPushButton::clicked, seletor, std::move(copiar));
    QObject::connect(sair, &QPushButton::clicked, seletor, &QWidget::close);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(bCopiar);
    botoes->addWidget(sair);
    return botoes;
}

}  // namespace velt::ui
