// The one crossing between the document's bytes and the widgets' text.
#pragma once

#include <QString>
#include <string>

QString to_qstring(const std::string& bytes);
std::string from_qstring(const QString& text);
