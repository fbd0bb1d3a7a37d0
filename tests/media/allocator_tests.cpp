#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/media/media_status.h"
#include "platform/media/mem_allocator.h"

namespace {

ComPtr<CMemAllocator> Committed(LONG buffers, LONG size) {
  auto allocator = MakeComObject<CMemAllocator>();
  ALLOCATOR_PROPERTIES request{buffers, size, 1, 0}, actual{};
  EXPECT_EQ(allocator->SetProperties(&request, &actual), S_OK);
  EXPECT_EQ(allocator->Commit(), S_OK);
  return allocator;
}

TEST(Allocator, PoolIsBoundedWhateverIsAsked) {
  auto allocator = MakeComObject<CMemAllocator>();
  IMediaSample* sample = nullptr;
  EXPECT_EQ(allocator->Commit(), VFW_E_SIZENOTSET);
  ALLOCATOR_PROPERTIES request{1000, 1024 * 1024, 1, 0}, actual{};
  ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
  EXPECT_EQ(actual.cbBuffer, 1024 * 1024);
  EXPECT_LE(static_cast<long long>(actual.cBuffers) * actual.cbBuffer, CMemAllocator::kMaxPoolBytes);
  EXPECT_GE(actual.cBuffers, 1);
  request.cbAlign = 3;
  EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_BADALIGN);

  request = {2, 1316, 16, 0};
  ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
  ASSERT_EQ(allocator->Commit(), S_OK);
  EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_ALREADY_COMMITTED);
  ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % 16, 0u);
  EXPECT_EQ(sample->GetSize(), 1316);
  EXPECT_EQ(sample->GetActualDataLength(), 1316);
  EXPECT_EQ(sample->SetActualDataLength(1317), VFW_E_BUFFER_OVERFLOW);
  EXPECT_EQ(sample->SetActualDataLength(188), S_OK);

  // Decommitted with a sample out: the memory goes when the sample returns.
  allocator->Decommit();
  EXPECT_GT(allocator->PoolBytes(), 0);
  sample->Release();
  EXPECT_EQ(allocator->PoolBytes(), 0);
}

TEST(Allocator, GetBufferWaitsForAFreeSampleAndWakesOnDecommit) {
  auto allocator = Committed(1, 188);
  IMediaSample* held = nullptr;
  ASSERT_EQ(allocator->GetBuffer(&held, nullptr, nullptr, 0), S_OK);

  std::atomic<int> phase{0};
  IMediaSample* got = nullptr;
  HRESULT second = E_FAIL;
  std::thread waiter([&] {
    phase = 1;
    second = allocator->GetBuffer(&got, nullptr, nullptr, 0);
    phase = 2;
  });
  while (phase == 0) std::this_thread::yield();
  EXPECT_EQ(allocator->OutstandingSamples(), 1);
  held->Release();  // the waiter takes the same buffer
  waiter.join();
  ASSERT_EQ(second, S_OK);
  EXPECT_EQ(got, held);

  std::thread blocked([&] { second = allocator->GetBuffer(&held, nullptr, nullptr, 0); });
  allocator->Decommit();
  blocked.join();
  EXPECT_EQ(second, VFW_E_NOT_COMMITTED);
  got->Release();
  EXPECT_EQ(allocator->GetBuffer(&held, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
}

TEST(Allocator, OutstandingSampleKeepsItsAllocatorAlive) {
  IMediaSample* sample = nullptr;
  {
    auto allocator = Committed(2, 188);
    ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  }
  BYTE* data = nullptr;
  ASSERT_EQ(sample->GetPointer(&data), S_OK);
  data[187] = 0x47;  // still owned memory (valgrind would see otherwise)
  EXPECT_EQ(sample->Release(), 0u);
}

}  // namespace
