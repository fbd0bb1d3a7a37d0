// A DVB tune request: the tuning space it was made from, a locator, and the
// DVB service triplet. A plain value object; not thread-safe.
#pragma once

#include "platform/com/com_object.h"
#include "platform/com/property_access.h"
#include "platform/media/bda_interfaces.h"

namespace tuning {

class DvbTuneRequest final : public ComObject<DvbTuneRequest, IDVBTuneRequest> {
 public:
  explicit DvbTuneRequest(ITuningSpace* space) : m_space(space) {}

  HRESULT get_TuningSpace(ITuningSpace** space) override;
  HRESULT get_Locator(ILocator** locator) override;
  HRESULT put_Locator(ILocator* locator) override;
  HRESULT Clone(ITuneRequest** clone) override;
  HRESULT get_ONID(LONG* v) override { return GetProperty(m_onid, v); }
  HRESULT put_ONID(LONG v) override { return PutProperty(m_onid, v); }
  HRESULT get_TSID(LONG* v) override { return GetProperty(m_tsid, v); }
  HRESULT put_TSID(LONG v) override { return PutProperty(m_tsid, v); }
  HRESULT get_SID(LONG* v) override { return GetProperty(m_sid, v); }
  HRESULT put_SID(LONG v) override { return PutProperty(m_sid, v); }

 private:
  ComPtr<ITuningSpace> m_space;
  ComPtr<ILocator> m_locator;
  LONG m_onid = -1, m_tsid = -1, m_sid = -1;
};

}  // namespace tuning
