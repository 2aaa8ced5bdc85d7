#pragma once
#include <deque>
#include <vector>

#include <QStringList>

#include "app/common/QtDriver.h"

namespace velt::test {

// While alive, message boxes are not shown: they are recorded, and questions are answered
// from the script (then with the default answer).
class CaixasCapturadas {
public:
    CaixasCapturadas();
    ~CaixasCapturadas();
    std::vector<ui::Caixa> caixas;
    std::deque<bool> respostas;
    bool respostaPadrao = false;
    QStringList textos() const;
};

}  // namespace velt::test
