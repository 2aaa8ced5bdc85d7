#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "common/DataHora.h"

namespace velt {

class Driver;

// The figures of one accepted batch, as the import protocol prints them. Texts are UTF-8.
struct DadosProtocolo {
    DataHora momento;              // "Data:" and "Data/Hora:"
    std::string cnes;              // header CNES
    std::string prestador;         // NO_RAZAO_SOCIAL of the establishment
    std::string gestor;            // IDENTIFICACAO + "  -  UF: " + UF + "  -  Cod Município: " + CODMUNIC
    std::string arquivo;           // batch number
    std::string competencia;       // the competência as typed, MM/YYYY
    long long totalImportado = 0;  // rows inserted
    long long registrosLidos = 0;  // lines read minus 2
    long long ambulatoriais = 0;   // individual ambulatory total
    long long internacoes = 0;     // hospitalisations
    long long consolidados = 0;    // consolidated total
    long long atendimentos = 0;    // attendances total
};

// Where the protocol is drawn: the screens save the PDF and open the preview, the command line
// only saves. The engine stays free of any drawing library.
class EmissorProtocolo {
public:
    virtual ~EmissorProtocolo() = default;
    // Writes the PDF document; throws std::runtime_error with the failure's text.
    virtual void salvaPdf(const DadosProtocolo& dados, const std::filesystem::path& arquivo) = 0;
    // Shows the protocol to the user once it is saved; nothing where there is no screen.
    virtual void visualiza(const DadosProtocolo& dados) {}
};

// DIRTRAB + "/Protocolos" + "/PT" + batch number + "_" + mmddyyyy_hhmmss + ".pdf".
std::filesystem::path NomeArquivoProtocolo(const std::filesystem::path& dirtrab, const std::string& remessa,
                                           const DataHora& momento);

// The lines of the protocol in print order: caption and value (UTF-8). Shared by every
// renderer so no caption is written twice.
struct LinhaProtocolo {
    std::string legenda;
    std::string valor;
};
std::vector<LinhaProtocolo> LinhasProtocolo(const DadosProtocolo& dados);
inline constexpr const char* kTituloProtocolo = "Protocolo de Atendimentos Importados";
inline constexpr const char* kCabecalhoProtocolo = "VELT - Veltaria - ";
inline constexpr const char* kVersaoProtocolo = "1.0.5.0";
inline constexpr const char* kAssinaturaProtocolo = "Assinatura:_________________________________";
inline constexpr const char* kDataAssinaturaProtocolo = "Data: ___/___/______";

// Saves the protocol in the protocol folder (created when missing), shows "O relatório foi salvo
// na pasta " + file name, then hands it to the preview. Returns the file written.
std::filesystem::path EmiteProtocolo(const DadosProtocolo& dados, const std::filesystem::path& dirtrab,
                                     EmissorProtocolo& emissor, Driver& driver);

}  // namespace velt
