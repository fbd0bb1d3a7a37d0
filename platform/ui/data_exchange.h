// Dialog data exchange: values move between a dialog's members and its
// controls in DoDataExchange, one field after another. Saving (controls to
// members) checks each field; the first field that fails ends the exchange:
// the members saved before it keep their new values, the failing member and
// those after it keep their old ones, so a value that fails its check never
// reaches the member.
//
// The prompts are the framework's strings of the program's string table
// (IDP_PARSE_UINT, IDP_PARSE_INT_RANGE with %1 and %2 for the bounds).
// UI thread only.
#pragma once

#include <cstdint>
#include <string>

class CDialog;

// The framework's standard prompts, by their string table ids.
constexpr int IDP_PARSE_INT_RANGE = 61714;
constexpr int IDP_PARSE_UINT = 61719;

class CDataExchange {
 public:
  // What a failed check does: a box with the prompt, after which the field
  // takes the focus with its text selected (Box); or nothing but recording
  // the failure for the caller (Quiet).
  enum class Prompting { Box, Quiet };

  CDataExchange(CDialog* dialog, bool saveAndValidate, Prompting prompting = Prompting::Box)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate), m_prompting(prompting) {}

  CDialog* const m_pDlgWnd;
  const bool m_bSaveAndValidate;

  Prompting GetPrompting() const { return m_prompting; }
  bool Failed() const { return m_failedControl != 0; }
  // The control of the first failed check and its prompt.
  int FailedControl() const { return m_failedControl; }
  const std::string& FailedPrompt() const { return m_failedPrompt; }
  // Records a failed check; later ones are ignored (the exchange has ended).
  void Fail(int controlId, std::string prompt);

 private:
  const Prompting m_prompting;
  int m_failedControl = 0;
  std::string m_failedPrompt;
};

struct UIntRange {
  std::uint32_t low;
  std::uint32_t high;
};

// Text of control id <-> value.
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// Text of control id <-> an unsigned decimal number within range. Saving
// fails with IDP_PARSE_UINT for text that is not an unsigned decimal number
// (blanks around it are allowed) and with IDP_PARSE_INT_RANGE for a number
// outside the range; value changes only when both checks pass.
void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value, UIntRange range);

// The number an unsigned decimal text holds (leading and trailing blanks
// allowed), or false when it holds none or one past 32 bits.
bool ParseUnsignedDecimal(const std::string& text, std::uint32_t* value);
// A string table text with %1, %2, ... replaced by the arguments.
std::string FormatMessageText(const std::string& text, std::initializer_list<std::string> arguments);
