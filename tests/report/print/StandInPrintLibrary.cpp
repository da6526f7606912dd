// A stand-in for the report printing library, built three ways: whole, without "print_report" and
// without "has_active_processes". It copies the report it is given to QM_STANDIN_COPY, then says it is
// busy QM_STANDIN_BUSY times, and notes every call in QM_STANDIN_LOG.
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

#ifndef STANDIN_NO_PRINT
// "print OPTION MODE" with the octal mode of the report's folder, whose path is logged on its own line.
void NoteReport(const char* file, int32_t option) {
    g_report = file;
    const std::string folder = g_report.substr(0, g_report.rfind('/'));
    struct stat st {};
    char mode[8] = "-";
    if (::stat(folder.c_str(), &st) == 0) std::snprintf(mode, sizeof mode, "%o", st.st_mode & 0777);
    Log("print " + std::to_string(option) + " " + mode);
    Log("file " + g_report);
    if (const char* copy = std::getenv("QM_STANDIN_COPY"))
        std::ofstream(copy, std::ios::binary) << std::ifstream(file, std::ios::binary).rdbuf();
    const char* busy = std::getenv("QM_STANDIN_BUSY");
    g_busy = busy ? std::atoi(busy) : 0;
}
#endif

} // namespace

#ifndef STANDIN_NO_PRINT
STANDIN_EXPORT int32_t print_report(const char* file, int32_t option) {
    NoteReport(file, option);
    return 7;
}
#endif

#ifndef STANDIN_NO_POLL
STANDIN_EXPORT int32_t has_active_processes() {
    struct stat st {};
    Log(std::string("busy ") +
        (!g_report.empty() && ::stat(g_report.c_str(), &st) == 0 ? "file" : "no file"));
    return g_busy > 0 ? g_busy-- : 0;
}
#endif
