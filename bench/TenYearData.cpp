#include "TenYearData.h"

#include "todo/rules/DayKeys.h"
#include "todo/rules/TodoRules.h"

#include <QLocale>

#include <array>
#include <cstdint>

namespace bench {

namespace {

// splitmix64: tiny, and unlike the standard distributions its output is fixed across libraries.
class Random {
public:
    explicit Random(unsigned long long seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N> const T& pick(const std::array<T, N>& from) {
        return from[static_cast<size_t>(below(static_cast<int>(N)))];
    }

private:
    uint64_t state_;
};

constexpr std::array<const char*, 32> kWords = {
    "call",    "buy",    "milk",     "bread",   "dentist", "meeting", "report",  "send",
    "invoice", "book",   "tickets",  "pick up", "kids",    "school",  "car",     "service",
    "tax",     "return", "birthday", "present", "review",  "draft",   "email",   "plan",
    "garden",  "water",  "plants",   "pay",     "rent",    "gym",     "library", "bank"};

// Non-ASCII UTF-8, in some of the texts.
constexpr std::array<const char*, 10> kForeignWords = {"Café",   "Müller", "Grüße", "naïve",  "résumé",
                                                       "Ørsted", "日本語", "€ 20",  "Zürich", "Łódź"};

// Texts that only survive a save and load because they are escaped.
constexpr std::array<const char*, 6> kEscaped = {"Pay 50% of the \"Big Box\" invoice",
                                                 "Check if a < b > c",
                                                 "Reply to \"Re: <urgent>\"",
                                                 "Discount 20%",
                                                 "Quote: \"ok\"",
                                                 "<draft> 100% done"};

constexpr std::array<const char*, 8> kDescriptionLines = {"Bring the folder with last year's papers.",
                                                          "Ask about the new opening hours.",
                                                          "Room 4.12, second floor",
                                                          "Don't forget the charger!",
                                                          "Notes from the call: budget +10%, deadline moved.",
                                                          "Straße 7, 3. OG — ring twice",
                                                          "Follow up if no answer by Friday.",
                                                          "Code: \"A<7>\" (case-sensitive)"};

std::string caption(Random& rnd) {
    if (rnd.chance(6)) return rnd.pick(kEscaped);
    std::string text = rnd.pick(kWords);
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    const int words = 1 + rnd.below(6);
    for (int i = 0; i < words; ++i) {
        text += ' ';
        text += rnd.chance(3) ? rnd.pick(kForeignWords) : rnd.pick(kWords);
    }
    return text;
}

std::string description(Random& rnd) {
    std::string text;
    const int lines = 1 + rnd.below(4);
    for (int i = 0; i < lines; ++i) {
        if (i) text += "\r\n";
        text += rnd.pick(kDescriptionLines);
    }
    return text;
}

// Renders keys under en_US for as long as it lives, then gives the caller's default back.
class PinnedLocale {
public:
    PinnedLocale() : saved_(QLocale()) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~PinnedLocale() { QLocale::setDefault(saved_); }
    PinnedLocale(const PinnedLocale&) = delete;
    PinnedLocale& operator=(const PinnedLocale&) = delete;

private:
    QLocale saved_;
};

} // namespace

std::vector<std::string> ten_year_day_keys(const TenYearShape& shape) {
    PinnedLocale pin;
    std::vector<std::string> keys;
    keys.reserve(static_cast<size_t>(shape.days));
    for (int d = 0; d < shape.days; ++d)
        keys.push_back(render_day_key(shape.firstDay.addDays(d)));
    return keys;
}

void build_ten_year_document(TNoxPigger& root, const TenYearShape& shape) {
    root.Clear();
    root.SetTagName(todo::kRootTag);
    Random rnd(shape.seed);
    for (const std::string& key : ten_year_day_keys(shape)) {
        // Keys are unique, so appending is what find_or_create_day would do, without its search.
        TNoxPigger* day = root.AddChild(todo::kDayTag);
        day->SetAttr(todo::kDateAttr, key);
        for (int i = 0; i < shape.itemsPerDay; ++i) {
            TNoxPigger* item = day->AddChild(todo::kItemTag);
            todo::store_item(*item, caption(rnd), rnd.below(3) == 0, rnd.below(todo::kPictureCount));
            if (rnd.chance(25)) todo::set_item_time(*item, 6 + rnd.below(16), 5 * rnd.below(12));
            // An item that was ever selected has DSC and REM; some of them got a description.
            if (rnd.chance(40)) {
                TNoxPigger* dsc = todo::description_of(*item);
                todo::remarks_of(*item);
                if (rnd.chance(50)) dsc->Text = description(rnd);
            }
            if (rnd.chance(2))
                item->AddChild(todo::kFileTag)
                    ->SetAttr(todo::kFileNameAttr,
                              "/home/anna/Documents/scan-" + std::to_string(rnd.below(1000)) + ".pdf");
        }
    }
}

std::string ten_year_data_file(const TenYearShape& shape) {
    TNoxPigger root;
    build_ten_year_document(root, shape);
    return root.GetText();
}

} // namespace bench
