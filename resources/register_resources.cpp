#include "platform/ui/resource_registry.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"

void RegisterResources() {
  resources::RegisterTemplates();
  resources::RegisterArtwork();
  ui::RegisterString(IDS_ABOUTBOX, "&About Orvane Tessel Tool.");
}
