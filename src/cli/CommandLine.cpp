#include "cli/CommandLine.h"

#include "cli/ToolIo.h"

#include <array>

namespace tool {

namespace {

struct KnownOption {
    const char* name;
    // What the value is, for "option X needs ..."; none for a flag.
    const char* value;
    // The commands that take it; the rest of the array stays empty.
    std::array<const char*, 4> commands;
};

constexpr std::array<KnownOption, 13> kOptions = {{
    {"-o", "a file name", {"format", "export"}},
    {"--date", "a date", {"list", "add"}},
    {"--from", "a date", {"list"}},
    {"--to", "a date", {"list"}},
    {"--undone", nullptr, {"list"}},
    {"--independent", nullptr, {"list", "add"}},
    {"--time", "a time", {"add"}},
    {"--picture", "a number", {"add"}},
    {"--settings", "a file name", {"add"}},
    {"--backup", nullptr, {"add"}},
    {"--no-backup", nullptr, {"add"}},
    {"--format", "ics or csv", {"export"}},
    {"--locale", "a locale name", {"format", "list", "add", "export"}},
}};

const KnownOption* find_option(const std::string& name) {
    for (const KnownOption& o : kOptions)
        if (name == o.name) return &o;
    return nullptr;
}

bool belongs_to(const KnownOption& option, const std::string& command) {
    for (const char* c : option.commands)
        if (c && command == c) return true;
    return false;
}

// "format", "format and export", "format, list and add".
std::string command_names(const KnownOption& option) {
    std::vector<std::string> names;
    for (const char* c : option.commands)
        if (c) names.emplace_back(c);
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

} // namespace

std::optional<std::string> CommandLine::value(const std::string& option) const {
    const auto it = values.find(option);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> CommandLine::Parse(const std::vector<std::string>& args, CommandLine& out) {
    bool optionsDone = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsDone || a.size() < 2 || a[0] != '-') {
            if (!out.command)
                out.command = a;
            else
                out.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsDone = true;
            continue;
        }
        const size_t eq = a.rfind("--", 0) == 0 ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, eq);
        const KnownOption* option = find_option(name);
        if (!option) return "unknown option '" + printable(a) + "'";
        if (out.has(name)) return "option " + name + " given twice";
        if (!option->value) {
            if (eq != std::string::npos) return "option " + name + " takes no value";
            out.flags.insert(name);
            continue;
        }
        if (eq != std::string::npos) {
            out.values[name] = a.substr(eq + 1);
        } else {
            if (i + 1 == args.size()) return "option " + name + " needs " + option->value;
            out.values[name] = args[++i];
        }
    }
    return std::nullopt;
}

std::optional<std::string> CommandLine::ForeignOption() const {
    std::vector<std::string> given;
    for (const auto& [name, v] : values)
        given.push_back(name);
    given.insert(given.end(), flags.begin(), flags.end());
    for (const std::string& name : given) {
        const KnownOption* option = find_option(name);
        if (option && !belongs_to(*option, command.value_or(""))) {
            return "option " + name + " belongs to " + command_names(*option);
        }
    }
    return std::nullopt;
}

} // namespace tool
