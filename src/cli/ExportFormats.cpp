#include "cli/ExportFormats.h"

#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

#include <QCryptographicHash>

#include <cstdio>
#include <unordered_map>

#ifndef QM_VERSION
#define QM_VERSION "unknown"
#endif

namespace tool {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
// RFC 5545: content lines longer than this many octets are folded.
constexpr size_t kLineOctets = 75;

std::string description_of(const TNoxPigger& item) {
    const TNoxPigger* dsc = item.FindChild(todo::kDescriptionTag);
    return dsc ? dsc->Text.str() : std::string();
}

std::string compact_date(const QDate& date) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", date.year(), date.month(), date.day());
    return buf;
}

// CR LF, lone CR and lone LF all become CR LF.
std::string crlf_lines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

void append_csv_field(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

std::string valid_utf8(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // The shortest form only: no overlong forms, no surrogates, nothing above U+10FFFF.
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        }
        bool valid = length > 0 && i + length <= in.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto b = static_cast<unsigned char>(in[i + k]);
            valid = k == 1 ? b >= low && b <= high : b >= 0x80 && b <= 0xBF;
        }
        if (valid) {
            out.append(in.substr(i, length));
            i += length;
        } else {
            out += kReplacement;
            ++i;
        }
    }
    return out;
}

std::string ics_text_value(std::string_view bytes) {
    const std::string text = valid_utf8(bytes);
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case ';':
            out += "\\;";
            break;
        case ',':
            out += "\\,";
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            [[fallthrough]];
        case '\n':
            out += "\\n";
            break;
        default:
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
                out += kReplacement;
            else
                out += c;
        }
    }
    return out;
}

void append_ics_line(std::string& out, std::string_view line) {
    size_t limit = kLineOctets;
    while (line.size() > limit) {
        size_t cut = limit;
        // Never inside a UTF-8 sequence: back up to the byte that starts one.
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.substr(0, cut);
        out += "\r\n ";
        line.remove_prefix(cut);
        // The leading space of a continuation line counts.
        limit = kLineOctets - 1;
    }
    out += line;
    out += "\r\n";
}

std::string day_identity(const ListedItem& item) {
    switch (item.kind) {
    case ListedItem::Day::Dated:
        return iso_date(item.date);
    case ListedItem::Day::Independent:
        return kDateIndependentKey;
    case ListedItem::Day::Unknown:
        break;
    }
    return item.Key();
}

std::string item_uid(const std::string& day, const std::string& text, int occurrence) {
    std::string seed = day;
    // NUL never stands in a loaded text, so no two items give the same seed.
    seed += '\0';
    seed += text;
    seed += '\0';
    seed += std::to_string(occurrence);
    const QByteArray digest =
        QCryptographicHash::hash(QByteArrayView(seed.data(), static_cast<qsizetype>(seed.size())),
                                 QCryptographicHash::Sha1)
            .toHex();
    return digest.toStdString() + "@quillmarch";
}

std::string icalendar_text(const std::vector<ListedItem>& items, const QDateTime& stamp) {
    std::string out;
    out.reserve(items.size() * 256 + 256);
    append_ics_line(out, "BEGIN:VCALENDAR");
    append_ics_line(out, "VERSION:2.0");
    append_ics_line(out, "PRODID:-//Quillmarch//quillmarch-tool " QM_VERSION "//EN");
    append_ics_line(out, "CALSCALE:GREGORIAN");
    const std::string dtstamp =
        "DTSTAMP:" + stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toStdString();
    std::unordered_map<std::string, int> seen;
    seen.reserve(items.size());
    for (const ListedItem& listed : items) {
        const TNoxPigger& item = *listed.item;
        const std::string day = day_identity(listed);
        const std::string text = todo::item_text(item);
        std::string seenKey = day;
        seenKey += '\0';
        seenKey += text;
        const int occurrence = ++seen[seenKey];

        append_ics_line(out, "BEGIN:VTODO");
        append_ics_line(out, "UID:" + item_uid(day, text, occurrence));
        append_ics_line(out, dtstamp);
        append_ics_line(out, "SUMMARY:" + ics_text_value(text));
        const std::string description = description_of(item);
        if (!description.empty()) append_ics_line(out, "DESCRIPTION:" + ics_text_value(description));
        if (listed.kind == ListedItem::Day::Dated) {
            // A timed item is due at that time of its day, wherever the calendar is: a floating time.
            if (const std::optional<ItemTime> time = item_time(item)) {
                char clock[16];
                std::snprintf(clock, sizeof clock, "T%02d%02d00", time->hour, time->minute);
                append_ics_line(out, "DUE:" + compact_date(listed.date) + clock);
            } else {
                append_ics_line(out, "DUE;VALUE=DATE:" + compact_date(listed.date));
            }
        }
        append_ics_line(out, is_done(item) ? "STATUS:COMPLETED" : "STATUS:NEEDS-ACTION");
        append_ics_line(out, "END:VTODO");
    }
    append_ics_line(out, "END:VCALENDAR");
    return out;
}

std::string csv_text(const std::vector<ListedItem>& items) {
    std::string out = "date,time,done,picture,text,description\r\n";
    out.reserve(items.size() * 128 + out.size());
    for (const ListedItem& listed : items) {
        const TNoxPigger& item = *listed.item;
        append_csv_field(out, listed.kind == ListedItem::Day::Independent ? std::string()
                                                                          : valid_utf8(day_identity(listed)));
        out += ',';
        if (const std::optional<ItemTime> time = item_time(item)) out += time_text(*time);
        out += ',';
        if (is_done(item)) out += 'x';
        out += ',';
        out += std::to_string(todo::picture_index(item));
        out += ',';
        append_csv_field(out, valid_utf8(todo::item_text(item)));
        out += ',';
        append_csv_field(out, crlf_lines(valid_utf8(description_of(item))));
        out += "\r\n";
    }
    return out;
}

} // namespace tool
