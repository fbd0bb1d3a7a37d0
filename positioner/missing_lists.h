// What the Motor/Positioner page says when its lists came out empty: one
// short line that fits the page, and a debug line naming where it looked.
#pragma once

#include <optional>
#include <string>

// Whether the page's lists got any entries.
struct ListsFound {
  bool cities = false;
  bool satellites = false;
};

struct MissingListsNote {
  std::string outcome;    // for the page's result line
  std::string debugLine;  // the files and the folders searched
};

// None when both lists have entries. The shipped folder is named too when
// it is known and differs from the program folder.
std::optional<MissingListsNote> NoteMissingLists(ListsFound found, const std::string& programFolder,
                                                 const std::string& shippedFolder);
