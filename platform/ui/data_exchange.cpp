#include "platform/ui/data_exchange.h"

#include <cctype>
#include <limits>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/resource_registry.h"

void CDataExchange::Fail(int controlId, std::string prompt) {
  if (Failed()) return;
  m_failedControl = controlId;
  m_failedPrompt = std::move(prompt);
}

bool ParseUnsignedDecimal(const std::string& text, std::uint32_t* value) {
  std::size_t at = 0;
  const auto blank = [&](std::size_t i) { return std::isspace(static_cast<unsigned char>(text[i])) != 0; };
  while (at < text.size() && blank(at)) ++at;
  const std::size_t digitsStart = at;
  std::uint64_t number = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    number = number * 10 + static_cast<unsigned>(text[at] - '0');
    if (number > std::numeric_limits<std::uint32_t>::max()) return false;
    ++at;
  }
  if (at == digitsStart) return false;
  while (at < text.size() && blank(at)) ++at;
  if (at != text.size()) return false;
  *value = static_cast<std::uint32_t>(number);
  return true;
}

std::string FormatMessageText(const std::string& text, std::initializer_list<std::string> arguments) {
  const std::vector<std::string> args(arguments);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const std::size_t index = static_cast<std::size_t>(text[i + 1] - '1');
      if (index < args.size()) {
        out += args[index];
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
  if (pDX->Failed()) return;
  if (pDX->m_bSaveAndValidate) value = pDX->m_pDlgWnd->GetDlgItemText(id);
  else pDX->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value, UIntRange range) {
  if (pDX->Failed()) return;
  if (!pDX->m_bSaveAndValidate) {
    pDX->m_pDlgWnd->SetDlgItemText(id, std::to_string(value));
    return;
  }
  std::uint32_t number = 0;
  if (!ParseUnsignedDecimal(pDX->m_pDlgWnd->GetDlgItemText(id), &number)) {
    pDX->Fail(id, ui::LoadString(IDP_PARSE_UINT));
    return;
  }
  if (number < range.low || number > range.high) {
    pDX->Fail(id, FormatMessageText(ui::LoadString(IDP_PARSE_INT_RANGE),
                                    {std::to_string(range.low), std::to_string(range.high)}));
    return;
  }
  value = number;
}
