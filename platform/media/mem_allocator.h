// CMemAllocator: the platform's memory allocator. A fixed pool of equal
// buffers, allocated at Commit and freed after Decommit once every sample is
// back; the pool never grows, so a stream's memory is bounded by
// kMaxPoolBytes whatever the pins ask for (a larger request gets fewer
// buffers, reported in the actual properties).
//
// Threads: any. m_mutex guards every field; GetBuffer waits on m_freed
// while every sample is out and wakes with VFW_E_NOT_COMMITTED on Decommit.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/com/com_object.h"
#include "platform/media/media_interfaces.h"

class CMediaSample;

class CMemAllocator final : public ComObject<CMemAllocator, IMemAllocator> {
 public:
  static constexpr LONG kMaxPoolBytes = 8 * 1024 * 1024;

  CMemAllocator();
  ~CMemAllocator() override;

  HRESULT SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
  HRESULT GetProperties(ALLOCATOR_PROPERTIES* props) override;
  HRESULT Commit() override;
  HRESULT Decommit() override;
  HRESULT GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end, DWORD flags) override;
  // Samples return by themselves when released; this only accepts a sample
  // of this pool that is no longer out.
  HRESULT ReleaseBuffer(IMediaSample* sample) override;

  // Called by a sample of this pool when its last reference goes.
  void ReturnSample(CMediaSample* sample);
  // Samples currently out, for tests and diagnostics.
  int OutstandingSamples();
  // Bytes of the pool now allocated.
  long PoolBytes();

 private:
  void FreePoolLocked();

  std::mutex m_mutex;
  std::condition_variable m_freed;
  ALLOCATOR_PROPERTIES m_props{};  // guarded by m_mutex
  bool m_bPropsSet = false;
  bool m_bCommitted = false;
  std::unique_ptr<BYTE[]> m_pool;
  std::vector<std::unique_ptr<CMediaSample>> m_samples;
  std::vector<CMediaSample*> m_free;  // a stack: the warmest buffer goes out next
};
