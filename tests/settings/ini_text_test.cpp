#include "settings/ini_text.h"

#include <gtest/gtest.h>

namespace {

// Test names from the cases' descriptions.
struct CaseName {
  std::string operator()(const auto& info) const {
    std::string name = info.param.name;
    for (char& ch : name) {
      if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
  }
};

struct ReadCase {
  const char* name;
  const char* text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

class IniTextRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniTextRead, FindsValue) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(FindIniValue(c.text, c.section, c.key), c.expected);
}

const ReadCase kReadCases[] = {
    {"plain", "[Config]\nfreq=11362\n", "Config", "freq", "11362"},
    {"names ignore case", "[CONFIG]\nFreq=1\n", "config", "FREQ", "1"},
    {"blanks around names and value", "  [ Config ]  \n  freq  =  11362  \n", "Config", "freq",
     "11362"},
    {"inner blanks kept", "[Config]\nname=a  b\n", "Config", "name", "a  b"},
    {"double quotes dropped", "[Config]\nv=\" x \"\n", "Config", "v", " x "},
    {"single quotes dropped", "[Config]\nv='x'\n", "Config", "v", "x"},
    {"mismatched quotes kept", "[Config]\nv=\"x'\n", "Config", "v", "\"x'"},
    {"bare name reads empty", "[Config]\nv\n", "Config", "v", ""},
    {"value holds '='", "[Config]\nv=a=b\n", "Config", "v", "a=b"},
    {"first duplicate key wins", "[Config]\nv=1\nv=2\n", "Config", "v", "1"},
    {"first duplicate section wins", "[Config]\nv=1\n[Config]\nv=2\nw=3\n", "Config", "v", "1"},
    {"later duplicate section not searched", "[Config]\nv=1\n[config]\nw=3\n", "Config", "w",
     std::nullopt},
    {"semicolon line is a key", "[Config]\n;v=1\n", "Config", ";v", "1"},
    {"semicolon does not hide the key", "[Config]\n;c\nv=1\n", "Config", "v", "1"},
    {"crlf reads as lf", "[Config]\r\nfreq=11362\r\nsymbol=22000\r\n", "Config", "freq",
     "11362"},
    {"no final line break", "[Config]\nfreq=11362", "Config", "freq", "11362"},
    {"key before any section", "v=1\n[Config]\n", "Config", "v", std::nullopt},
    {"missing section", "[A]\nv=1\n", "Config", "v", std::nullopt},
    {"empty text", "", "Config", "v", std::nullopt},
    {"header text after bracket", "[Config] tail\nv=1\n", "Config", "v", "1"},
    {"unclosed bracket is a key line", "[Config]\n[v=1\n", "Config", "[v", "1"},
    {"byte-order mark before first header", "\xEF\xBB\xBF[SATTYPE]\r\n1=0192\r\n", "SATTYPE", "1",
     "0192"},
    {"byte-order mark later is text", "[A]\n\xEF\xBB\xBF[B]\nv=1\n", "B", "v", std::nullopt},
    {"lone cr ends lines", "[Config]\rfreq=11362\rsymbol=22000\r", "Config", "symbol", "22000"},
    {"lone cr value has no cr", "[Config]\rfreq=11362\r", "Config", "freq", "11362"},
    {"mixed endings", "[A]\r\nv=1\r[Config]\nx=2\r\ny=3\rz=4", "Config", "z", "4"},
    {"cr lf cr is two breaks", "[Config]\r\n\rv=1\n", "Config", "v", "1"},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniTextRead, testing::ValuesIn(kReadCases),
                         CaseName());

struct WriteCase {
  const char* name;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

class IniTextWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(IniTextWrite, ChangesOnlyItsLine) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(WithIniValue(c.before, c.section, c.key, c.value), c.after);
}

const WriteCase kWriteCases[] = {
    {"creates section in empty text", "", "Config", "freq", "11362", "[Config]\nfreq=11362\n"},
    {"replaces value in place", "[Config]\nfreq=1\nsymbol=2\n", "Config", "freq", "11362",
     "[Config]\nfreq=11362\nsymbol=2\n"},
    {"keeps spelling and blanks of the key", "[Config]\n  FREQ =  1  \n", "config", "freq", "9",
     "[Config]\n  FREQ =  9\n"},
    {"keeps crlf of replaced line", "[Config]\r\nfreq=1\r\n", "Config", "freq", "2",
     "[Config]\r\nfreq=2\r\n"},
    {"bare name gains a value", "[Config]\nfreq\nx=1\n", "Config", "freq", "2",
     "[Config]\nfreq=2\nx=1\n"},
    {"replaces first duplicate only", "[Config]\nv=1\nv=2\n", "Config", "v", "3",
     "[Config]\nv=3\nv=2\n"},
    {"appends after last key not blank lines", "[Config]\na=1\n\n\n[Other]\nb=2\n", "Config",
     "new", "x", "[Config]\na=1\nnew=x\n\n\n[Other]\nb=2\n"},
    {"appends right after a keyless header", "[Config]\n\n[Other]\n", "Config", "k", "v",
     "[Config]\nk=v\n\n[Other]\n"},
    {"appends into first of duplicate sections", "[Config]\na=1\n[Config]\nb=2\n", "Config", "c",
     "3", "[Config]\na=1\nc=3\n[Config]\nb=2\n"},
    {"new key in crlf file uses crlf", "[Config]\r\na=1\r\n", "Config", "b", "2",
     "[Config]\r\na=1\r\nb=2\r\n"},
    {"new key after unterminated last line", "[Config]\na=1", "Config", "b", "2",
     "[Config]\na=1\nb=2"},
    {"new section after unterminated text", "[A]\na=1", "Config", "b", "2",
     "[A]\na=1\n[Config]\nb=2\n"},
    {"new section in crlf file", "[A]\r\na=1\r\n", "Config", "b", "2",
     "[A]\r\na=1\r\n[Config]\r\nb=2\r\n"},
    {"byte-order mark kept, section found", "\xEF\xBB\xBF[Config]\r\nfreq=1\r\n", "Config", "freq",
     "2", "\xEF\xBB\xBF[Config]\r\nfreq=2\r\n"},
    {"byte-order mark, new key into its section", "\xEF\xBB\xBF[Config]\nfreq=1\n", "Config", "symbol",
     "2", "\xEF\xBB\xBF[Config]\nfreq=1\nsymbol=2\n"},
    {"lone byte-order mark gets the section right after it", "\xEF\xBB\xBF", "Config", "v", "1",
     "\xEF\xBB\xBF[Config]\nv=1\n"},
    {"new key in cr file uses cr", "[Config]\ra=1\r[X]\r", "Config", "b", "2",
     "[Config]\ra=1\rb=2\r[X]\r"},
    {"new section after cr-terminated text", "[A]\ra=1\r", "Config", "b", "2", "[A]\ra=1\r[Config]\rb=2\r"},
    {"replaces value in a lone-cr line", "[Config]\ra=1\rb=2\r", "Config", "a", "9", "[Config]\ra=9\rb=2\r"},
    {"mixed endings: first break decides new lines", "[A]\r\nv=1\n[Config]\rx=1", "Config", "y", "2",
     "[A]\r\nv=1\n[Config]\rx=1\r\ny=2"},
    {"other bytes untouched", "junk\n[Config]\n;note\nv=1\n\n[X]\nv=1\n", "X", "v", "2",
     "junk\n[Config]\n;note\nv=1\n\n[X]\nv=2\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniTextWrite, testing::ValuesIn(kWriteCases),
                         CaseName());

TEST(IniText, WrittenValueReadsBack) {
  std::string text;
  for (const char* key : {"polarity", "diseqc", "freq"}) {
    text = WithIniValue(text, "Config", key, std::string(key) + "-value");
  }
  EXPECT_EQ(text, "[Config]\npolarity=polarity-value\ndiseqc=diseqc-value\nfreq=freq-value\n");
  EXPECT_EQ(FindIniValue(text, "Config", "diseqc"), "diseqc-value");
}

TEST(IniText, RefusesEntriesThatWouldBreakLines) {
  EXPECT_TRUE(IsStorableIniEntry("Config", "freq", "11362 MHz"));
  EXPECT_FALSE(IsStorableIniEntry("Config", "freq", "1\n[Other]"));
  EXPECT_FALSE(IsStorableIniEntry("Config", "freq", "1\r"));
  EXPECT_FALSE(IsStorableIniEntry("Config", "a=b", "1"));
  EXPECT_FALSE(IsStorableIniEntry("Config", "  ", "1"));
  EXPECT_FALSE(IsStorableIniEntry("Config", "[x]", "1"));
  EXPECT_FALSE(IsStorableIniEntry("Con]fig", "freq", "1"));
  EXPECT_FALSE(IsStorableIniEntry("Con\nfig", "freq", "1"));
}

}  // namespace
