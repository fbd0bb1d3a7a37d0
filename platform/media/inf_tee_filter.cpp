#include "platform/media/inf_tee_filter.h"

#include <string>

#include "platform/media/inf_tee_input_pin.h"
#include "platform/media/media_classes.h"
#include "platform/media/pass_through_output_pin.h"

CInfTeeFilter::CInfTeeFilter() : CBaseFilter(nullptr, &m_lock, CLSID_InfTee) {
  m_input = std::make_unique<CInfTeeInputPin>(this, &m_lock);
  CAutoLock lock(m_lock);
  AddOutputLocked();
}

CInfTeeFilter::~CInfTeeFilter() {
  m_outputs.clear();
  m_input.reset();
}

int CInfTeeFilter::GetPinCount() {
  CAutoLock lock(m_lock);
  return 1 + static_cast<int>(m_outputs.size());
}

CBasePin* CInfTeeFilter::GetPin(int n) {
  CAutoLock lock(m_lock);
  if (n == 0) return m_input.get();
  if (n < 1 || n > static_cast<int>(m_outputs.size())) return nullptr;
  return m_outputs[n - 1].get();
}

HRESULT CInfTeeFilter::Pause() {
  CAutoLock lock(m_lock);
  if (IsStopped()) {
    m_delivery.clear();
    for (const auto& output : m_outputs)
      if (output->IsConnected()) m_delivery.push_back(output.get());
  }
  return CBaseFilter::Pause();
}

void CInfTeeFilter::DeliverToOutputs(IMediaSample* sample) {
  for (CPassThroughOutputPin* output : m_delivery) output->Deliver(sample);
}

void CInfTeeFilter::DeliverEndOfStream() {
  for (CPassThroughOutputPin* output : m_delivery) output->DeliverEndOfStream();
}

void CInfTeeFilter::DeliverBeginFlush() {
  for (CPassThroughOutputPin* output : m_delivery) output->DeliverBeginFlush();
}

void CInfTeeFilter::DeliverEndFlush() {
  for (CPassThroughOutputPin* output : m_delivery) output->DeliverEndFlush();
}

void CInfTeeFilter::UpstreamAllocatorChanged() {
  std::vector<CPassThroughOutputPin*> outputs;
  {
    CAutoLock lock(m_lock);
    for (const auto& output : m_outputs) outputs.push_back(output.get());
  }
  for (CPassThroughOutputPin* output : outputs) output->UpstreamAllocatorChanged();
}

void CInfTeeFilter::OnOutputConnected() {
  CAutoLock lock(m_lock);
  for (const auto& output : m_outputs)
    if (!output->IsConnected()) return;
  AddOutputLocked();
}

void CInfTeeFilter::AddOutputLocked() {
  const std::wstring name = L"Output" + std::to_wstring(m_outputs.size() + 1);
  m_outputs.push_back(std::make_unique<CPassThroughOutputPin>(this, &m_lock, name.c_str(), m_input.get(),
                                                             [this] { OnOutputConnected(); }));
  IncrementPinVersion();
}
