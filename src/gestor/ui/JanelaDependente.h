#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>

namespace velt::ui {

// Shows `janela` as a window of its own, centred on `dono`, with `dono` disabled until `janela`
// closes; `janela` is released when it closes. `janela` must be a child of `dono` created with
// the Qt::Window flag: it stays enabled while its owner is not.
void mostraDesabilitandoDono(QWidget* dono, QWidget* janela);

// Runs a button's work; a failure (the database's own text) is shown in the standard error box.
void executaProtegido(QWidget* pai, const std::function<void()>& acao);

}  // namespace velt::ui
