// Command-line options declared once: how each is written, what its value
// is called, what it does, and how its value is taken. Both programs parse
// their options from these declarations and make their usage texts from
// them, so a parser and its help cannot drift apart. No Qt.
//
// Values are read strictly (strict_numbers.h): whole decimal numbers only
// ("0x10" and "010" are not numbers here), decimals in the C form whatever
// the locale, NaN and infinities refused.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct OptionDecl {
  enum class Form {
    Flag,           // --json
    Value,          // --lnb-low MHZ or --lnb-low=MHZ
    AttachedValue,  // --simulate or --simulate=FILE: a value only after '='
  };
  std::string name;       // "--lnb-low"
  std::string valueName;  // "MHZ"; empty for a flag
  std::string help;       // one or more lines, '\n' between them
  Form form = Form::Flag;
  // Takes the value (empty for a flag, or an attached value not given);
  // returns the refusal, naming the option, or none.
  std::function<std::optional<std::string>(const std::string& value)> take;
  std::string alias;  // another spelling of a flag ("-h"), or empty
  bool required = false;  // the command cannot go without it (the parser checks)
};
using OptionGroup = std::vector<OptionDecl>;

enum class OptionTake { NotOne, Taken, Bad };

// Takes args[*i] when it is one of the group's options; an option whose
// value is the next argument moves *i on to it. The option taken, when
// taken is given.
OptionTake TakeOption(const OptionGroup& group, const std::vector<std::string>& args, std::size_t* i,
                      std::string* error, const OptionDecl** taken = nullptr);

// "  --lnb-low MHZ      the LNB's low oscillator ..." one option a line, the
// help from column 21 (further lines of it indented the same).
std::string OptionsHelp(const OptionGroup& group);
// "[--lnb-low MHZ] [--json]" for a synopsis.
std::string OptionsSynopsis(const OptionGroup& group);
