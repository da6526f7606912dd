#include "printlib/ReportSource.h"

#include "printlib/PrintResult.h"
#include "printlib/ReportLimits.h"
#include "report/TZippedBitmap.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

namespace {

struct TooLarge {};

// Counts elements and depth while the parser creates them, so that a huge or deeply nested file is
// refused before it has been built. Children come from the general heap (this class is larger than the
// plain element), so nothing stays behind in the element pool once a report is freed.
class CountedElement final : public TNoxPigger {
public:
    CountedElement(TNoxPigger* parent, int* count, int depth)
        : TNoxPigger(parent), count_(count), depth_(depth) {}

    TNoxPigger* CreateChildFor(const std::string&) override {
        if (++*count_ > ReportLimits::kMaxElements || depth_ >= ReportLimits::kMaxDepth) throw TooLarge{};
        return new CountedElement(this, count_, depth_ + 1);
    }

private:
    int* count_;
    int depth_;
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Two digits a byte; white space between digits is passed over, anything else spoils the data.
bool DecodeHex(const std::string& hex, QByteArray& bytes) {
    bytes.clear();
    bytes.reserve(static_cast<qsizetype>(hex.size() / 2));
    int high = -1;
    for (char c : hex) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        const int v = HexValue(c);
        if (v < 0) return false;
        if (high < 0) {
            high = v;
        } else {
            bytes.append(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    return high < 0;
}

} // namespace

ReportSource::ReportSource() = default;
ReportSource::~ReportSource() = default;

void ReportSource::Reset() {
    root_.reset();
    body_ = nullptr;
    footer_ = nullptr;
    fonts_.clear();
    images_.clear();
    decoded_.clear();
    problems_.clear();
    problemCount_ = 0;
}

int32_t ReportSource::LoadFile(const QString& fileName) {
    Reset();
    const QFileInfo info(fileName);
    // A device or a pipe could be endless: only plain files are read.
    if (fileName.isEmpty() || !info.isFile()) return PrintResult::kCannotRead;
    if (info.size() > ReportLimits::kMaxFileBytes) return PrintResult::kTooLarge;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return PrintResult::kCannotRead;
    const QByteArray bytes = file.read(ReportLimits::kMaxFileBytes + 1);
    if (bytes.size() > ReportLimits::kMaxFileBytes) return PrintResult::kTooLarge;
    if (bytes.isEmpty()) return PrintResult::kCannotRead;
    // The line breaks are read as the data files' are.
    return Parse(NormalizeLineBreaks(bytes.toStdString()));
}

int32_t ReportSource::LoadText(const std::string& text) {
    Reset();
    if (text.size() > static_cast<size_t>(ReportLimits::kMaxFileBytes)) return PrintResult::kTooLarge;
    if (text.empty()) return PrintResult::kCannotRead;
    return Parse(NormalizeLineBreaks(text));
}

int32_t ReportSource::Parse(const std::string& text) {
    int count = 0;
    root_ = std::make_unique<CountedElement>(nullptr, &count, 0);
    int32_t result = PrintResult::kDone;
    try {
        root_->SetText(text);
    } catch (const TooLarge&) {
        root_.reset();
        return PrintResult::kTooLarge;
    } catch (const ENoxPiggerError& e) {
        Note(std::string(e.what()) + " at position " + std::to_string(e.Position));
        result = PrintResult::kNotAReport;
    }
    if (root_->TagName() != "REPORT") {
        root_.reset();
        return PrintResult::kNotAReport;
    }
    Index();
    if (!body_) {
        Note("The report has no BODY");
        return PrintResult::kNotAReport;
    }
    return result;
}

void ReportSource::Index() {
    const TNoxPigger* head = nullptr;
    const TNoxPigger* images = nullptr;
    for (const TNoxPigger* part : root_->Children()) {
        const std::string& tag = part->TagName();
        const TNoxPigger** slot = tag == "BODY"     ? &body_
                                  : tag == "HEAD"   ? &head
                                  : tag == "IMAGES" ? &images
                                                    : nullptr;
        if (!slot)
            Note("Unknown element " + tag + " in REPORT");
        else if (*slot)
            Note("A second " + tag + " is ignored");
        else
            *slot = part;
    }
    if (head) {
        for (const TNoxPigger* e : head->Children()) {
            if (e->TagName() == "FONT") {
                fonts_.emplace(AsciiUpper(e->GetAttr("NAME")), e);
            } else if (e->TagName() == "PAGEFOOTER") {
                if (footer_)
                    Note("A second PAGEFOOTER is ignored");
                else
                    footer_ = e;
            } else {
                Note("Unknown element " + e->TagName() + " in HEAD");
            }
        }
    }
    if (images) {
        for (const TNoxPigger* e : images->Children()) {
            if (e->TagName() == "IMAGEDATA")
                images_.emplace(AsciiUpper(e->GetAttr("NAME")), e);
            else
                Note("Unknown element " + e->TagName() + " in IMAGES");
        }
    }
}

const TNoxPigger* ReportSource::FindFont(const std::string& key) const {
    const auto it = fonts_.find(AsciiUpper(key));
    return it == fonts_.end() ? nullptr : it->second;
}

QImage ReportSource::Picture(const std::string& name) {
    const std::string key = AsciiUpper(name);
    if (const auto done = decoded_.find(key); done != decoded_.end()) return done->second;
    QImage& image = decoded_[key];
    const auto it = images_.find(key);
    if (it == images_.end()) {
        Note("No picture named " + name);
        return image;
    }
    QByteArray stream;
    if (!DecodeHex(it->second->Text, stream)) {
        Note("The picture " + name + " is not hexadecimal data");
        return image;
    }
    QString error;
    image = TZippedBitmap::Decode(stream, &error);
    if (image.isNull()) {
        Note("The picture " + name + " cannot be read: " + error.toStdString());
    } else if (static_cast<int64_t>(image.width()) * image.height() > ReportLimits::kMaxImagePixels) {
        Note("The picture " + name + " is too large");
        image = QImage();
    }
    return image;
}

void ReportSource::Note(const std::string& message) {
    ++problemCount_;
    if (static_cast<int>(problems_.size()) < ReportLimits::kMaxProblemMessages) problems_.push_back(message);
}
