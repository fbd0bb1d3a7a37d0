#pragma once

namespace resources {
void RegisterTemplates();
void RegisterArtwork();
}  // namespace resources
