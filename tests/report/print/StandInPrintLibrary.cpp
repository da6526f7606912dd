// A stand-in for the report printing library, built whole, without "print_report" and without
// "has_active_processes". It copies the report to QM_STANDIN_COPY, then is busy QM_STANDIN_BUSY times, and
// logs each call to QM_STANDIN_LOG: "print OPTION FOLDER-MODE PATH", then "busy file" or "busy no file".
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::string g_report;
int g_busy = 0;

void Log(const std::string& line) {
    if (const char* log = std::getenv("QM_STANDIN_LOG")) std::ofstream(log, std::ios::app) << line << '\n';
}

bool Stat(const std::string& path, struct stat& st) {
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}
} // namespace

#ifndef STANDIN_NO_PRINT
STANDIN_EXPORT int32_t print_report(const char* file, int32_t option) {
    g_report = file;
    struct stat st {};
    const bool folder = Stat(g_report.substr(0, g_report.rfind('/')), st);
    char mode[8] = "-";
    if (folder) std::snprintf(mode, sizeof mode, "%o", st.st_mode & 0777);
    Log("print " + std::to_string(option) + " " + mode + " " + g_report);
    if (const char* copy = std::getenv("QM_STANDIN_COPY"))
        std::ofstream(copy, std::ios::binary) << std::ifstream(file, std::ios::binary).rdbuf();
    g_busy = std::atoi(std::getenv("QM_STANDIN_BUSY") ? std::getenv("QM_STANDIN_BUSY") : "0");
    return 7;
}
#endif

#ifndef STANDIN_NO_POLL
STANDIN_EXPORT int32_t has_active_processes() {
    struct stat st {};
    Log(Stat(g_report, st) ? "busy file" : "busy no file");
    return g_busy > 0 ? g_busy-- : 0;
}
#endif
