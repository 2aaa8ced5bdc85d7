#include "reports/render/RelatorioBandas.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <stdexcept>

namespace velt::render {

Banda& Banda::texto(double x, double y, double largura, double alt, const QString& t, double pontos,
                    bool negrito, Qt::Alignment al) {
    textos.push_back(Texto{QRectF(x, y, largura, alt), t, pontos, negrito, al});
    return *this;
}

Banda& Banda::linha(double x1, double y1, double x2, double y2) {
    linhas.emplace_back(x1, y1, x2, y2);
    return *this;
}

double RelatorioBandas::alturaUtil() const {
    QSizeF folha = tamanho.size(QPageSize::Millimeter);
    double altura = orientacao == QPageLayout::Portrait ? folha.height() : folha.width();
    return altura - 2 * margem;
}

std::vector<std::vector<const Banda*>> RelatorioBandas::paginacao() const {
    double livre = alturaUtil() - cabecalhoPagina.altura - cabecalhoColunas.altura - rodapePagina.altura;
    std::vector<std::vector<const Banda*>> paginas(1);
    double usado = 0;
    for (const auto& c : corpo_) {
        if (usado + c.banda.altura > livre && !paginas.back().empty()) {
            paginas.emplace_back();
            usado = 0;
        }
        paginas.back().push_back(&c.banda);
        usado += c.banda.altura;
    }
    return paginas;
}

int RelatorioBandas::paginas() const {
    return int(paginacao().size());
}

namespace {

// Millimetres to device units of the painter's device.
struct Escala {
    double porMm;
    QRectF r(const QRectF& mm, double x0, double y0) const {
        return QRectF((x0 + mm.x()) * porMm, (y0 + mm.y()) * porMm, mm.width() * porMm, mm.height() * porMm);
    }
};

void desenhaBanda(QPainter& p, const Escala& e, const Banda& b, double x0, double y0, int pagina, int total) {
    for (const auto& l : b.linhas)
        p.drawLine(QLineF((x0 + l.x1()) * e.porMm, (y0 + l.y1()) * e.porMm, (x0 + l.x2()) * e.porMm,
                          (y0 + l.y2()) * e.porMm));
    for (const auto& t : b.textos) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(t.pontos);
        f.setBold(t.negrito);
        p.setFont(f);
        QString s = t.texto;
        s.replace(QStringLiteral("{pagina}"), QString::number(pagina));
        s.replace(QStringLiteral("{paginas}"), QString::number(total));
        p.drawText(e.r(t.area, x0, y0), int(t.alinhamento) | Qt::TextSingleLine, s);
    }
}

}  // namespace

void RelatorioBandas::desenha(QPainter& p, QPagedPaintDevice& dispositivo) const {
    // The device's own resolution: a millimetre is resolution / 25.4 units.
    Escala e{dispositivo.logicalDpiY() / 25.4};
    auto pags = paginacao();
    const double x0 = 0, topo = 0;  // the page layout's margins already offset the painter
    const double rodapeY = alturaUtil() - rodapePagina.altura;
    for (std::size_t i = 0; i < pags.size(); ++i) {
        if (i > 0) dispositivo.newPage();
        int n = int(i) + 1, total = int(pags.size());
        double y = topo;
        desenhaBanda(p, e, cabecalhoPagina, x0, y, n, total);
        y += cabecalhoPagina.altura;
        desenhaBanda(p, e, cabecalhoColunas, x0, y, n, total);
        y += cabecalhoColunas.altura;
        for (const Banda* b : pags[i]) {
            desenhaBanda(p, e, *b, x0, y, n, total);
            y += b->altura;
        }
        desenhaBanda(p, e, rodapePagina, x0, rodapeY, n, total);
    }
}

void RelatorioBandas::salvaPdf(const QString& arquivo) const {
    {
        QFile teste(arquivo);
        if (!teste.open(QIODevice::WriteOnly))
            throw std::runtime_error("Não foi possível criar o arquivo " + arquivo.toStdString() + ": " +
                                     teste.errorString().toStdString());
    }
    QPdfWriter pdf(arquivo);
    pdf.setTitle(titulo);
    pdf.setCreator(QStringLiteral("VELT02"));
    pdf.setResolution(300);
    pdf.setPageLayout(
        QPageLayout(tamanho, orientacao, QMarginsF(margem, margem, margem, margem), QPageLayout::Millimeter));
    QPainter p;
    if (!p.begin(&pdf))
        throw std::runtime_error("Não foi possível gravar o arquivo " + arquivo.toStdString());
    desenha(p, pdf);
    p.end();
}

void RelatorioBandas::imprime(QPrinter& impressora) const {
    impressora.setDocName(titulo);
    impressora.setPageLayout(
        QPageLayout(tamanho, orientacao, QMarginsF(margem, margem, margem, margem), QPageLayout::Millimeter));
    QPainter p;
    if (!p.begin(&impressora)) return;
    desenha(p, impressora);
    p.end();
}

void RelatorioBandas::visualiza(QWidget* pai) const {
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageLayout(
        QPageLayout(tamanho, orientacao, QMarginsF(margem, margem, margem, margem), QPageLayout::Millimeter));
    QPrintPreviewDialog dlg(&impressora, pai);
    dlg.setObjectName(QStringLiteral("VisualizacaoRelatorio"));
    dlg.setWindowTitle(titulo);
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                     [this](QPrinter* pr) { imprime(*pr); });
    dlg.exec();
}

}  // namespace velt::render
