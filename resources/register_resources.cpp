#include "platform/ui/data_exchange.h"
#include "platform/ui/resource_registry.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"

void RegisterResources() {
  resources::RegisterTemplates();
  resources::RegisterArtwork();
  ui::RegisterString(IDS_ABOUTBOX, "&About Orvane Tessel Tool.");
  // The framework's prompts: the program's table is Simplified Chinese; other
  // languages get the English texts.
  ui::RegisterString(IDP_PARSE_UINT, "zh", "请输入一个正整数。");
  ui::RegisterString(IDP_PARSE_UINT, "en", "Please enter a positive integer.");
  ui::RegisterString(IDP_PARSE_INT_RANGE, "zh", "请输入一个在 %1 和 %2 之间的整数。");
  ui::RegisterString(IDP_PARSE_INT_RANGE, "en", "Please enter an integer between %1 and %2.");
}
