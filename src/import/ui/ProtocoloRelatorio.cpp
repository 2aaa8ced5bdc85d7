#include "import/ui/ProtocoloRelatorio.h"

#include "app/common/Texto.h"

namespace velt::ui {

render::RelatorioBandas MontaProtocolo(const DadosProtocolo& d) {
    render::RelatorioBandas r;
    r.titulo = deUtf8(kTituloProtocolo);
    const double largura = 190;

    r.cabecalhoPagina.altura = 28;
    r.cabecalhoPagina.texto(0, 0, largura, 7, deUtf8(kCabecalhoProtocolo), 10, true)
        .texto(0, 8, largura, 9, deUtf8(kTituloProtocolo), 14, true, Qt::AlignHCenter | Qt::AlignVCenter)
        .linha(0, 20, largura, 20);

    // Each caption beside its value; the long captions of the totals take most of the line.
    for (const auto& l : LinhasProtocolo(d)) {
        render::Banda b;
        b.altura = 8;
        double col = l.legenda.size() > 20 ? 150 : 40;
        b.texto(0, 0, col, 7, deUtf8(l.legenda), 9, true)
            .texto(col + 2, 0, largura - col - 2, 7, deUtf8(l.valor), 9);
        r.detalhe(std::move(b));
    }
    render::Banda versao;
    versao.altura = 10;
    versao.texto(0, 2, largura, 7, deUtf8(kVersaoProtocolo), 8, false, Qt::AlignRight | Qt::AlignVCenter);
    r.detalhe(std::move(versao));

    r.rodapePagina.altura = 24;
    r.rodapePagina.linha(0, 0, largura, 0)
        .texto(0, 6, 120, 7, deUtf8(kAssinaturaProtocolo), 10)
        .texto(125, 6, 65, 7, deUtf8(kDataAssinaturaProtocolo), 10);
    return r;
}

void EmissorProtocoloQt::salvaPdf(const DadosProtocolo& dados, const std::filesystem::path& arquivo) {
    MontaProtocolo(dados).salvaPdf(QString::fromStdString(arquivo.string()));
}

void EmissorProtocoloQt::visualiza(const DadosProtocolo& dados) {
    if (!visualizar_) return;
    MontaProtocolo(dados).visualiza(pai_);
}

}  // namespace velt::ui
