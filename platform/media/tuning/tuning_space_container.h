// The system's container of registered tuning spaces. Each container object
// reads the store when made; Add writes the store at once, so the next
// start finds what was added. Not thread-safe (UI thread only).
#pragma once

#include <vector>

#include "platform/com/com_object.h"
#include "platform/media/bda_interfaces.h"

namespace tuning {

class TuningSpaceContainer final : public ComObject<TuningSpaceContainer, ITuningSpaceContainer> {
 public:
  TuningSpaceContainer();

  HRESULT get_Count(LONG* count) override;
  HRESULT get_EnumTuningSpaces(IEnumTuningSpaces** spaces) override;
  // Keeps a copy of the space's values; E_INVALIDARG for a space of a kind
  // the store does not hold, or one whose unique name is taken.
  HRESULT Add(ITuningSpace* space, LONG* newIndex) override;

 private:
  std::vector<ComPtr<ITuningSpace>> m_spaces;
};

void RegisterTuningClasses();

}  // namespace tuning
