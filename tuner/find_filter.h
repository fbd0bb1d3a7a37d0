// Looks a device filter up by device category and the beginning of its
// friendly name. UI thread only; keeps nothing between calls.
#pragma once

#include <string>

#include "platform/com/com_ptr.h"
#include "platform/media/media_interfaces.h"

// Fixed names of the card's filters.
inline constexpr wchar_t kTunerFriendlyName[] = L"Orvane RX40 DVBS/S2 Tuner";
inline constexpr wchar_t kCaptureFriendlyName[] = L"Orvane RX40 BDA Digital Capture DVBS";

// With a name: the first bindable device whose friendly name begins with it
// (case-sensitive). Without one (nullptr): the first bindable device. A
// device whose property bag cannot be opened ends the search with none.
ComPtr<IBaseFilter> FindFilter(REFGUID category, const wchar_t* name);
