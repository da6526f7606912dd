// The command line of quillmarch-tool: a command, its operands (files, an item's text) and options,
// each option known with the commands it belongs to.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tool {

struct CommandLine {
    std::optional<std::string> command;
    std::vector<std::string> operands;
    // Options that take a value ("-o", "--date", ...), by name.
    std::map<std::string, std::string> values;
    // Options without one ("--undone", ...).
    std::set<std::string> flags;

    bool has(const std::string& option) const { return values.count(option) || flags.count(option); }
    std::optional<std::string> value(const std::string& option) const;

    // Reads the arguments after the program name. "--" ends the options; "--name=value" is the same as
    // "--name value". Returns a message when they cannot be read (an unknown option, a missing value, an
    // option given twice).
    static std::optional<std::string> Parse(const std::vector<std::string>& args, CommandLine& out);

    // A message for the first option given that the command does not take, if any.
    std::optional<std::string> ForeignOption() const;
};

} // namespace tool
