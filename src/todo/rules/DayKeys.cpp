#include "todo/rules/DayKeys.h"

#include "todo/rules/TodoRules.h"

#include <QLocale>
#include <QStringList>
#include <map>
#include <set>
#include <vector>

namespace {

struct KeyFormat {
    QString format;    // for QDate::toString
    QString separator; // between the three fields
    QString order;     // "dmy", "mdy", "ymd", ...
};

// Splits a short date format into three numeric fields with one separator, or fails.
std::optional<KeyFormat> numeric_shape(const QString& fmt) {
    KeyFormat k;
    QString fields[3];
    QString seps[2];
    int field = 0;
    int i = 0;
    while (i < fmt.size()) {
        const QChar c = fmt[i];
        if (c == u'd' || c == u'M' || c == u'y') {
            int j = i;
            while (j < fmt.size() && fmt[j] == c)
                ++j;
            const int n = j - i;
            if (field >= 3) return std::nullopt;
            if (c == u'y') {
                if (n != 2 && n != 4) return std::nullopt;
                fields[field] = QStringLiteral("yyyy");
            } else {
                if (n > 2) // day or month names
                    return std::nullopt;
                fields[field] = QString(n, c);
            }
            k.order += c.toLower();
            ++field;
            i = j;
        } else if (c.isLetter() || c == u'\'' || c.isDigit()) {
            return std::nullopt;
        } else {
            if (field == 0 || field >= 3) return std::nullopt;
            seps[field - 1] += c;
            ++i;
        }
    }
    if (field != 3 || seps[0].isEmpty() || seps[0] != seps[1]) return std::nullopt;
    if (!k.order.contains(u'd') || !k.order.contains(u'm') || !k.order.contains(u'y')) return std::nullopt;
    k.separator = seps[0];
    k.format = fields[0] + k.separator + fields[1] + k.separator + fields[2];
    return k;
}

KeyFormat current_format() {
    const QString fmt = QLocale().dateFormat(QLocale::ShortFormat);
    if (auto k = numeric_shape(fmt)) return *k;
    return KeyFormat{QStringLiteral("yyyy-MM-dd"), QStringLiteral("-"), QStringLiteral("ymd")};
}

bool all_digits(const QString& s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return !s.isEmpty();
}

} // namespace

QString day_key_format() {
    return current_format().format;
}

namespace {
std::string render(const QDate& date, const KeyFormat& k) {
    // Digits only, so the result is plain ASCII whatever the locale's digits are.
    return date.toString(k.format).toStdString();
}

std::optional<QDate> parse(const std::string& key, const KeyFormat& k) {
    const QStringList parts = QString::fromStdString(key).split(k.separator);
    if (parts.size() != 3) return std::nullopt;
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString& part = parts[i];
        if (!all_digits(part)) return std::nullopt;
        const QChar field = k.order[i];
        if (field == u'y') {
            if (part.size() != 4) return std::nullopt;
            year = part.toInt();
        } else {
            if (part.size() > 2) return std::nullopt;
            (field == u'd' ? day : month) = part.toInt();
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid()) return std::nullopt;
    return date;
}
} // namespace

std::string render_day_key(const QDate& date) {
    return render(date, current_format());
}

std::optional<QDate> parse_day_key(const std::string& key) {
    return parse(key, current_format());
}

std::optional<std::string> render_day_key(const QDate& date, const QString& format) {
    const std::optional<KeyFormat> k = numeric_shape(format);
    if (!k) return std::nullopt;
    return render(date, *k);
}

std::optional<QDate> parse_day_key(const std::string& key, const QString& format) {
    const std::optional<KeyFormat> k = numeric_shape(format);
    if (!k) return std::nullopt;
    return parse(key, *k);
}

int rekey_days(TNoxPigger& root, const QString& from, const QString& to) {
    const std::optional<KeyFormat> before = numeric_shape(from);
    const std::optional<KeyFormat> after = numeric_shape(to);
    if (!before || !after || before->format == after->format) return 0;
    int changed = 0;
    std::set<std::string> rekeyed;
    for (TNoxPigger* day = root.FindChild(todo::kDayTag); day; day = root.FindNextSibling(day)) {
        const std::optional<QDate> date = parse(day->GetAttr(todo::kDateAttr), *before);
        if (!date) continue;
        const std::string key = render(*date, *after);
        if (key != day->GetAttr(todo::kDateAttr)) {
            day->SetAttr(todo::kDateAttr, key);
            ++changed;
        }
        rekeyed.insert(key);
    }
    // Merge into the first day of each key a re-keyed day now shares; other duplicates stay as they were.
    std::map<std::string, TNoxPigger*> first;
    std::vector<TNoxPigger*> merged;
    for (TNoxPigger* day = root.FindChild(todo::kDayTag); day; day = root.FindNextSibling(day)) {
        const std::string key = day->GetAttr(todo::kDateAttr);
        if (!rekeyed.count(key)) continue;
        auto [it, isFirst] = first.emplace(key, day);
        if (isFirst) continue;
        while (day->ChildCount() > 0)
            day->Child(0)->SetParent(it->second);
        merged.push_back(day);
    }
    for (TNoxPigger* day : merged)
        delete day;
    return changed;
}

int adopt_key_format(TNoxPigger& root) {
    const std::string recorded = root.GetAttr(todo::kDateFormatAttr);
    return recorded.empty() ? 0 : rekey_days(root, QString::fromStdString(recorded), day_key_format());
}

void record_key_format(TNoxPigger& root) {
    root.SetAttr(todo::kDateFormatAttr, day_key_format().toStdString());
}
