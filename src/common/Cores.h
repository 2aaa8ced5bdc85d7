#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace velt {

// Screen colours as 0x00BBGGRR.
struct Cores {
    std::uint32_t formulario = 0xC0C0C0;  // clSilver
    std::uint32_t painel = 0xC0C0C0;      // clSilver
    std::uint32_t grade = 0xFFFFFF;       // clWhite
};

// A colour by name (clSilver, clSkyBlue, ...), decimal, or hexadecimal with a leading "$".
std::optional<std::uint32_t> LeCor(std::string texto);

// Reads "VELCores.txt" (three lines: form, panel, grid); absent file or unreadable lines keep the
// defaults.
Cores LeCores(const std::filesystem::path& arquivo);

}  // namespace velt
