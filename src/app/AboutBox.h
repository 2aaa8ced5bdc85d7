#pragma once
#include <QDialog>
#include <QLabel>
#include <QPointer>

namespace velt::ui {

// The About box: product, version and the program's long title; the main window is disabled
// while it is open.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* principal);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void done(int r) override;

private:
    QPointer<QWidget> principal_;
    QLabel* versao_;
};

}  // namespace velt::ui
