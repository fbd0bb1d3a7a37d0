#include "platform/media/tuning/tuning_space_container.h"

#include "platform/com/runtime.h"
#include "platform/com/vector_enumerator.h"
#include "platform/media/tuning/dvbs_locator.h"
#include "platform/media/tuning/dvbs_network_provider.h"
#include "platform/media/tuning/dvbs_tuning_space.h"
#include "platform/media/tuning/tuning_space_store.h"

namespace tuning {
TuningSpaceContainer::TuningSpaceContainer() {
  for (auto& values : LoadTuningSpaces(TuningSpaceStorePath()))
    m_spaces.push_back(MakeComObject<DvbsTuningSpace>(std::move(values)));
}

HRESULT TuningSpaceContainer::get_Count(LONG* count) {
  if (!count) return E_POINTER;
  *count = static_cast<LONG>(m_spaces.size());
  return S_OK;
}

HRESULT TuningSpaceContainer::get_EnumTuningSpaces(IEnumTuningSpaces** spaces) {
  if (!spaces) return E_POINTER;
  *spaces = MakeComObject<VectorEnumerator<IEnumTuningSpaces, ITuningSpace>>(m_spaces).Detach();
  return S_OK;
}

HRESULT TuningSpaceContainer::Add(ITuningSpace* space, LONG* newIndex) {
  if (!space) return E_POINTER;
  ComPtr<IDVBSTuningSpace> dvbs = ComPtr<ITuningSpace>(space).As<IDVBSTuningSpace>();
  if (!dvbs) return E_INVALIDARG;
  const DvbsTuningSpaceValues values = static_cast<DvbsTuningSpace*>(dvbs.Get())->Values();
  std::vector<DvbsTuningSpaceValues> stored;
  for (const auto& existing : m_spaces) {
    const auto& v = static_cast<DvbsTuningSpace*>(existing.As<IDVBSTuningSpace>().Get())->Values();
    if (v.uniqueName == values.uniqueName) return E_INVALIDARG;
    stored.push_back(v);
  }
  stored.push_back(values);
  if (const int error = SaveTuningSpaces(TuningSpaceStorePath(), stored); error != 0) return HResultFromErrno(error);
  m_spaces.push_back(MakeComObject<DvbsTuningSpace>(values));
  if (newIndex) *newIndex = static_cast<LONG>(m_spaces.size() - 1);
  return S_OK;
}

void RegisterTuningClasses() {
  RegisterClassFactory(CLSID_SystemTuningSpaces, CreateComObject<TuningSpaceContainer>);
  RegisterClassFactory(CLSID_DVBSTuningSpace, CreateComObject<DvbsTuningSpace>);
  RegisterClassFactory(CLSID_DVBSLocator, CreateComObject<DvbsLocator>);
  RegisterClassFactory(DVB_SATELLITE_TV_NETWORK_TYPE, CreateDvbsNetworkProvider);
}

}  // namespace tuning
