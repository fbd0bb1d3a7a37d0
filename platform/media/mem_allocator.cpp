#include "platform/media/mem_allocator.h"

#include <algorithm>
#include <new>

#include "platform/media/media_sample.h"
#include "platform/media/media_status.h"

CMemAllocator::CMemAllocator() = default;

CMemAllocator::~CMemAllocator() = default;  // no sample can be out: each holds a reference

HRESULT CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) {
  if (!request || !actual) return E_POINTER;
  if (request->cBuffers < 1 || request->cbBuffer < 1 || request->cbPrefix < 0) return E_INVALIDARG;
  const LONG align = request->cbAlign == 0 ? 1 : request->cbAlign;
  if (align < 0 || (align & (align - 1)) != 0) return VFW_E_BADALIGN;

  std::lock_guard lock(m_mutex);
  if (m_bCommitted) return VFW_E_ALREADY_COMMITTED;
  if (m_samples.size() != m_free.size()) return VFW_E_BUFFERS_OUTSTANDING;
  // Each buffer (with its prefix) starts on an alignment boundary.
  const long long stride = (static_cast<long long>(request->cbBuffer) + request->cbPrefix + align - 1) / align * align;
  if (stride > kMaxPoolBytes) return E_OUTOFMEMORY;
  const LONG buffers = static_cast<LONG>(std::min<long long>(request->cBuffers, kMaxPoolBytes / stride));

  FreePoolLocked();
  m_props = ALLOCATOR_PROPERTIES{buffers, request->cbBuffer, align, request->cbPrefix};
  m_bPropsSet = true;
  *actual = m_props;
  return S_OK;
}

HRESULT CMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* props) {
  if (!props) return E_POINTER;
  std::lock_guard lock(m_mutex);
  *props = m_props;
  return S_OK;
}

HRESULT CMemAllocator::Commit() {
  std::lock_guard lock(m_mutex);
  if (!m_bPropsSet) return VFW_E_SIZENOTSET;
  if (m_bCommitted) return S_OK;
  if (m_samples.empty()) {
    const LONG align = m_props.cbAlign;
    const long long stride = (static_cast<long long>(m_props.cbBuffer) + m_props.cbPrefix + align - 1) / align * align;
    const std::size_t bytes = static_cast<std::size_t>(stride * m_props.cBuffers + align);
    m_pool.reset(new (std::nothrow) BYTE[bytes]);
    if (!m_pool) return E_OUTOFMEMORY;
    const auto base = reinterpret_cast<std::uintptr_t>(m_pool.get());
    const std::uintptr_t first = (base + align - 1) / align * align;
    for (LONG i = 0; i < m_props.cBuffers; ++i) {
      BYTE* buffer = reinterpret_cast<BYTE*>(first + static_cast<std::uintptr_t>(stride * i)) + m_props.cbPrefix;
      m_samples.push_back(std::make_unique<CMediaSample>(this, buffer, m_props.cbBuffer));
      m_free.push_back(m_samples.back().get());
    }
  }
  m_bCommitted = true;
  return S_OK;
}

HRESULT CMemAllocator::Decommit() {
  {
    std::lock_guard lock(m_mutex);
    if (!m_bCommitted) return S_OK;
    m_bCommitted = false;
    if (m_free.size() == m_samples.size()) FreePoolLocked();  // else when the last one returns
  }
  m_freed.notify_all();
  return S_OK;
}

HRESULT CMemAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME*, REFERENCE_TIME*, DWORD) {
  if (!sample) return E_POINTER;
  *sample = nullptr;
  CMediaSample* got;
  {
    std::unique_lock lock(m_mutex);
    m_freed.wait(lock, [this] { return !m_bCommitted || !m_free.empty(); });
    if (!m_bCommitted) return VFW_E_NOT_COMMITTED;
    got = m_free.back();
    m_free.pop_back();
  }
  got->HandOut(ComPtr<IMemAllocator>(this));
  *sample = got;
  return S_OK;
}

HRESULT CMemAllocator::ReleaseBuffer(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  std::lock_guard lock(m_mutex);
  for (const auto& own : m_samples)
    if (own.get() == sample) return own->IsOut() ? E_INVALIDARG : S_OK;
  return E_INVALIDARG;
}

void CMemAllocator::ReturnSample(CMediaSample* sample) {
  {
    std::lock_guard lock(m_mutex);
    m_free.push_back(sample);
    if (!m_bCommitted && m_free.size() == m_samples.size()) FreePoolLocked();
  }
  m_freed.notify_one();
}

int CMemAllocator::OutstandingSamples() {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_samples.size() - m_free.size());
}

long CMemAllocator::PoolBytes() {
  std::lock_guard lock(m_mutex);
  return m_pool ? static_cast<long>(m_props.cBuffers) * m_props.cbBuffer : 0;
}

void CMemAllocator::FreePoolLocked() {
  m_free.clear();
  m_samples.clear();
  m_pool.reset();
}
