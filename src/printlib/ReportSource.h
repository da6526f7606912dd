// A report file read into its parts: the body, the page footer, the font table and the pictures.
#pragma once

#include "markup/NoxPigger.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ReportSource {
public:
    ReportSource();
    ~ReportSource();
    ReportSource(const ReportSource&) = delete;
    ReportSource& operator=(const ReportSource&) = delete;

    // Both answer 0 or a negative print result. After a syntax error whatever was read before it stays
    // drawable; a file too large, not a report, or without a body leaves nothing to draw.
    int32_t LoadFile(const QString& fileName);
    int32_t LoadText(const std::string& text);

    bool Drawable() const { return body_ != nullptr; }
    const TNoxPigger* Body() const { return body_; }
    const TNoxPigger* Footer() const { return footer_; }
    // The FONT element of a font key (compared without regard to case), or none.
    const TNoxPigger* FindFont(const std::string& key) const;
    // The picture of an IMAGEDATA element, decoded on first use; a null image when it is missing or
    // broken (noted once as a problem).
    QImage Picture(const std::string& name);

    // What was unknown or malformed. Messages are kept up to a limit; the count goes on.
    void Note(const std::string& message);
    int ProblemCount() const { return problemCount_; }
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    void Reset();
    int32_t Parse(const std::string& text);
    void Index();

    std::unique_ptr<TNoxPigger> root_;
    const TNoxPigger* body_ = nullptr;
    const TNoxPigger* footer_ = nullptr;
    std::map<std::string, const TNoxPigger*> fonts_;  // by upper-case key, first one wins
    std::map<std::string, const TNoxPigger*> images_; // by upper-case name, first one wins
    std::map<std::string, QImage> decoded_;
    std::vector<std::string> problems_;
    int problemCount_ = 0;
};
