#include "positioner/missing_lists.h"

#include "positioner/city_list.h"
#include "positioner/satellite_list.h"

std::optional<MissingListsNote> NoteMissingLists(ListsFound found, const std::string& programFolder,
                                                 const std::string& shippedFolder) {
  if (found.cities && found.satellites) return std::nullopt;
  const std::string missing = !found.cities && !found.satellites ? "No city list or satellite files"
                              : !found.cities                    ? "No city list"
                                                                 : "No satellite files";
  std::string where = programFolder;
  if (!shippedFolder.empty() && shippedFolder != programFolder) where += " or " + shippedFolder;
  return MissingListsNote{missing + ": type the values",
                          missing + " (" + kCityListFileName + ", " + kTransponderFolderName + "/) in " + where};
}
