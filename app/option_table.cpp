#include "app/option_table.h"

namespace {

constexpr std::size_t kHelpColumn = 21;

std::string Spelling(const OptionDecl& option) {
  switch (option.form) {
    case OptionDecl::Form::Flag: return option.name;
    case OptionDecl::Form::Value: return option.name + " " + option.valueName;
    case OptionDecl::Form::AttachedValue: return option.name + "[=" + option.valueName + "]";
  }
  return option.name;
}

}  // namespace

OptionTake TakeOption(const OptionGroup& group, const std::vector<std::string>& args, std::size_t* i,
                      std::string* error, const OptionDecl** taken) {
  const std::string& arg = args[*i];
  for (const OptionDecl& option : group) {
    std::optional<std::string> value;
    const bool attached = arg.starts_with(option.name + "=");
    switch (option.form) {
      case OptionDecl::Form::Flag:
        if (arg == option.name || (!option.alias.empty() && arg == option.alias)) value = std::string();
        break;
      case OptionDecl::Form::Value:
        if (arg == option.name) value = *i + 1 < args.size() ? args[++*i] : std::string();
        else if (attached) value = arg.substr(option.name.size() + 1);
        break;
      case OptionDecl::Form::AttachedValue:
        if (arg == option.name) value = std::string();
        else if (attached) value = arg.substr(option.name.size() + 1);
        // "--simulate=" names no file: refused rather than read as none.
        if (attached && value->empty()) {
          *error = option.name + "= needs a " + option.valueName;
          return OptionTake::Bad;
        }
        break;
    }
    if (!value) continue;
    if (taken) *taken = &option;
    if (const std::optional<std::string> refused = option.take(*value)) {
      *error = *refused;
      return OptionTake::Bad;
    }
    return OptionTake::Taken;
  }
  return OptionTake::NotOne;
}

std::string OptionsHelp(const OptionGroup& group) {
  std::string text;
  for (const OptionDecl& option : group) {
    std::string line = "  " + Spelling(option);
    line += line.size() + 1 < kHelpColumn ? std::string(kHelpColumn - line.size(), ' ') : "\n" + std::string(kHelpColumn, ' ');
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = option.help.find('\n', start);
      line += option.help.substr(start, end == std::string::npos ? std::string::npos : end - start) + "\n";
      if (end == std::string::npos) break;
      line += std::string(kHelpColumn, ' ');
      start = end + 1;
    }
    text += line;
  }
  return text;
}

std::string OptionsSynopsis(const OptionGroup& group) {
  std::string text;
  for (const OptionDecl& option : group) {
    if (!text.empty()) text += " ";
    text += option.required ? Spelling(option) : "[" + Spelling(option) + "]";
  }
  return text;
}
