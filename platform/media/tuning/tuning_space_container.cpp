#include "platform/media/tuning/tuning_space_container.h"

#include "platform/com/runtime.h"
#include "platform/media/tuning/dvbs_locator.h"
#include "platform/media/tuning/dvbs_network_provider.h"
#include "platform/media/tuning/dvbs_tuning_space.h"
#include "platform/media/tuning/tuning_space_store.h"

namespace tuning {
namespace {

class TuningSpaceEnumerator final : public ComObject<TuningSpaceEnumerator, IEnumTuningSpaces> {
 public:
  explicit TuningSpaceEnumerator(std::vector<ComPtr<ITuningSpace>> spaces) : m_spaces(std::move(spaces)) {}

  HRESULT Next(ULONG count, ITuningSpace** spaces, ULONG* fetched) override {
    if (!spaces) return E_POINTER;
    ULONG done = 0;
    while (done < count && m_position < m_spaces.size()) spaces[done++] = ComPtr(m_spaces[m_position++]).Detach();
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    const std::size_t left = m_spaces.size() - m_position;
    m_position += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    m_position = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumTuningSpaces** clone) override {
    if (!clone) return E_POINTER;
    auto copy = MakeComObject<TuningSpaceEnumerator>(m_spaces);
    copy->m_position = m_position;
    *clone = copy.Detach();
    return S_OK;
  }

 private:
  std::vector<ComPtr<ITuningSpace>> m_spaces;
  std::size_t m_position = 0;
};

template <typename T>
ClassFactory FactoryOf() {
  return [](REFIID riid, void** ppv) { return MakeComObject<T>()->QueryInterface(riid, ppv); };
}

}  // namespace

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
  *spaces = MakeComObject<TuningSpaceEnumerator>(m_spaces).Detach();
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
  RegisterClassFactory(CLSID_SystemTuningSpaces, FactoryOf<TuningSpaceContainer>());
  RegisterClassFactory(CLSID_DVBSTuningSpace, FactoryOf<DvbsTuningSpace>());
  RegisterClassFactory(CLSID_DVBSLocator, FactoryOf<DvbsLocator>());
  RegisterClassFactory(DVB_SATELLITE_TV_NETWORK_TYPE, CreateDvbsNetworkProvider);
}

}  // namespace tuning
