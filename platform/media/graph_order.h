// The order in which the graph manager changes its filters' states. A
// filter is upstream of another when one of its output pins is connected to
// one of the other's input pins. Filters that are not connected keep their
// place in the list; a cycle (never built by this system) leaves the
// filters on it in list order.
#pragma once

#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/media/media_interfaces.h"

// Sources first, then every filter after all filters upstream of it.
std::vector<ComPtr<IBaseFilter>> SortUpstreamFirst(const std::vector<ComPtr<IBaseFilter>>& filters);
