#include "common/DataHora.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <stdexcept>

namespace velt {
namespace {

std::mutex relogioMutex;
std::function<DataHora()>& relogioAtual() {
    static std::function<DataHora()> relogio;
    return relogio;
}

DataHora deTempo(std::time_t t, long nanos) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return DataHora{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,          tm.tm_hour,
                    tm.tm_min,         tm.tm_sec,     int(nanos / 100000)};
}

}  // namespace

std::string DataHora::ddmmyyyy() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", dia, mes, ano);
    return buf;
}

std::string DataHora::hhnnss() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hora, minuto, segundo);
    return buf;
}

DataHora agora() {
    {
        std::lock_guard lock(relogioMutex);
        if (relogioAtual()) return relogioAtual()();
    }
    auto now = std::chrono::system_clock::now();
    auto secs = std::chrono::time_point_cast<std::chrono::seconds>(now);
    auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(now - secs).count();
    return deTempo(std::chrono::system_clock::to_time_t(secs), static_cast<long>(nanos));
}

void defineRelogio(std::function<DataHora()> relogio) {
    std::lock_guard lock(relogioMutex);
    relogioAtual() = std::move(relogio);
}

DataHora dataModificacao(const std::string& caminho) {
    struct stat st {};
    if (::stat(caminho.c_str(), &st) != 0) throw std::runtime_error("Arquivo não encontrado: " + caminho);
    return deTempo(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

}  // namespace velt
