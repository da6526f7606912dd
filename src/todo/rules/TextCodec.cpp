#include "todo/rules/TextCodec.h"

// The locale's 8-bit encoding is UTF-8 on Linux. Bytes that are not valid UTF-8 show as replacement
// characters; callers keep the original bytes for any text the user does not edit.
QString to_qstring(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string from_qstring(const QString& text) {
    return text.toStdString();
}
