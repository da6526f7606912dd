#include "report/ReportFiles.h"

#include "markup/NoxPigger.h"

#include <sys/stat.h>

std::string HexEncode(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(bytes.size() * 2, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[2 * i] = kDigits[b >> 4];
        out[2 * i + 1] = kDigits[b & 15];
    }
    return out;
}

void WriteTextFile(const std::string& fileName, const std::string& text) {
    struct stat existing {};
    if (::stat(fileName.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        !(existing.st_mode & S_IWUSR))
        ::chmod(fileName.c_str(), (existing.st_mode & 07777) | S_IWUSR);
    WriteFileAtomically(fileName, text);
}
