#pragma once
#include <QFont>
#include <QLineF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace velt::render {

// A text placed in a band; positions and sizes in millimetres from the band's top-left corner.
// In the bands that stand on every page, "{pagina}" and "{paginas}" become the page numbers.
struct Texto {
    QRectF area;
    QString texto;
    double pontos = 9;
    bool negrito = false;
    Qt::Alignment alinhamento = Qt::AlignLeft | Qt::AlignVCenter;
};

// A horizontal strip of the page: texts and lines (millimetres, relative to the band).
struct Banda {
    double altura = 0;  // millimetres
    std::vector<Texto> textos;
    std::vector<QLineF> linhas;

    Banda& texto(double x, double y, double largura, double altura, const QString& t, double pontos = 9,
                 bool negrito = false, Qt::Alignment al = Qt::AlignLeft | Qt::AlignVCenter);
    Banda& linha(double x1, double y1, double x2, double y2);
};

// A banded report: the page header, the column header and the page footer stand on every page;
// the body is the detail bands and the group footers in print order (a report adds a group
// footer band where its group changes), laid out page after page.
class RelatorioBandas {
public:
    QString titulo;  // document title of the PDF and of the preview window
    QPageSize tamanho{QPageSize::A4};
    QPageLayout::Orientation orientacao = QPageLayout::Portrait;
    double margem = 10;  // millimetres on every side

    Banda cabecalhoPagina;
    Banda cabecalhoColunas;
    Banda rodapePagina;

    void detalhe(Banda b) { corpo_.push_back({std::move(b), false}); }
    void rodapeGrupo(Banda b) { corpo_.push_back({std::move(b), true}); }

    int paginas() const;
    // Draws every page on a paged device whose painter is already active.
    void desenha(QPainter& p, QPagedPaintDevice& dispositivo) const;

    // Writes the PDF file (fonts embedded); throws std::runtime_error when it cannot be written.
    void salvaPdf(const QString& arquivo) const;
    void imprime(QPrinter& impressora) const;
    // The preview window, modal; printing from it goes to the chosen printer.
    void visualiza(QWidget* pai) const;

private:
    struct Corpo {
        Banda banda;
        bool grupo;
    };
    std::vector<Corpo> corpo_;
    double alturaUtil() const;
    std::vector<std::vector<const Banda*>> paginacao() const;
};

}  // namespace velt::render
