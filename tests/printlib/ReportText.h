// Builds report texts line by line as the print dialogs write them: a title band, item bands with the
// check-box picture, description bands with one nested band per line, the footer and the font table.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <string>
#include <vector>

namespace ReportText {

inline const char* const kTicked = "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A10"
                                   "1A86CFF5F06867D40BCA716886D191876"
                                   "02F166590686E5BD0C0CEB8F02E59F02F157883A1006E901E905006C4C1ABA";
inline const char* const kEmptyBox =
    "5A424D78DA73F2AD6380003B20D60062012866044210706040002624F6FFFFFF819881A101A86CFF5"
    "FD230480F482F00FECC1EA3";

inline std::string Title(const std::string& text) {
    return "<band arrange=\"vertical\" left=\"0\">\r\n<LABEL TEXT=\"" + text +
           "\" ALIGNMENT=\"LEFT\"  LEFT=\"1.85\" TOP=\"2.12\" HEIGHT=\"5.82\"  FONT=\"Arial14B\"  "
           "COLOR=\"#000080\"/>\r\n</band>\r\n";
}

inline std::string Item(const std::string& text, bool done) {
    return std::string("<band arrange=\"vertical\" left=\"0\">\r\n<IMAGE NAME=\"") +
           (done ? "__CHECKED" : "__UNCHECKED") + "\" LEFT=\"1.85\" TOP=\"0.00\"/><LABEL TEXT=\"" + text +
           "\" LEFT=\"6.61\" TOP=\"0.00\" HEIGHT=\"4.50\" WIDTH=\"180.44\"  FONT=\"Arial10\"  "
           "BGCOLOR=\"#FFFFFF\" "
           "COLOR=\"#000000\"/>\r\n</band>\r\n";
}

inline std::string Description(const std::vector<std::string>& lines) {
    std::string s =
        "<band arrange=\"vertical\" left=\"0\">\r\n<LABEL TEXT=\"Description:\" ALIGNMENT=\"LEFT\"  "
        "LEFT=\"7.41\" TOP=\"0.26\" HEIGHT=\"3.44\"  FONT=\"Arial10I\"  COLOR=\"#800000\"/>\r\n";
    for (const std::string& line : lines)
        s += "<band left=\"0\">\r\n<LABEL VALIGN=\"BOTTOM\" LEFT=\"7.41\" TOP=\"3.97\" HEIGHT=\"5.82\"  "
             "FONT=\"Arial10\"  BGCOLOR=\"#FFFFFF\" COLOR=\"#000000\" TEXT=\"" +
             line + "  \"/>\r\n</band>\r\n";
    return s + "</band>\r\n";
}

// The whole report around a body; fonts and pictures as the dialogs' templates have them.
inline std::string Report(const std::string& body, const std::string& extraFonts = "") {
    return "<REPORT>\r\n<BODY>\r\n" + body +
           "</BODY>\r\n<HEAD>\r\n<PAGEFOOTER>\r\n<label text=\"Page [[PAGE]] of [[PAGES]]\" align=\"center\" "
           "valign=\"top\"/>\r\n</PAGEFOOTER>\r\n"
           "\r\n\t<FONT NAME=\"Arial14B\" SIZE=\"14\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" BOLD=\"YES\"/>"
           "\r\n\t<FONT NAME=\"Arial10\" SIZE=\"10\" FACE=\"Arial\" CHARSET=\"RUSSIAN\"/>"
           "\r\n\t<FONT NAME=\"Arial10I\" SIZE=\"10\" FACE=\"Arial\" CHARSET=\"RUSSIAN\" ITALIC=\"YES\"/>" +
           extraFonts + "</HEAD>\r\n<IMAGES>\r\n<IMAGEDATA NAME=\"__CHECKED\">" + kTicked +
           "</IMAGEDATA><IMAGEDATA NAME=\"__UNCHECKED\">" + kEmptyBox +
           "</IMAGEDATA></IMAGES>\r\n</REPORT>\r\n";
}

inline QString Write(const QDir& dir, const QString& name, const std::string& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

} // namespace ReportText
