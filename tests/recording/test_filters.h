// Small filters and pins built on the framework for the framework's tests:
// a filter with a changeable set of pins, an output pin that offers a list
// of types, and an input pin whose answers each test chooses.
#pragma once

#include <memory>
#include <vector>

#include "platform/com/com_object.h"
#include "recording/framework/base_filter.h"
#include "recording/framework/base_input_pin.h"
#include "recording/framework/base_pin.h"

inline constexpr GUID kTypeA{0xA0000001, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
inline constexpr GUID kTypeB{0xB0000002, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};
inline constexpr GUID kFormatX{0xC0000003, 0, 0, {0, 0, 0, 0, 0, 0, 0, 3}};
inline constexpr CLSID kTestFilterClass{0xD0000004, 0, 0, {0, 0, 0, 0, 0, 0, 0, 4}};

inline AM_MEDIA_TYPE TypeOf(const GUID& major) {
  AM_MEDIA_TYPE mt{};
  mt.majortype = major;
  mt.formattype = kFormatX;
  mt.bFixedSizeSamples = 1;
  mt.lSampleSize = 188;
  return mt;
}

// Counts the calls the framework makes into a pin.
struct PinCalls {
  int active = 0, inactive = 0, run = 0, breakConnect = 0, completeConnect = 0;
};

class TestInputPin : public CBaseInputPin {
 public:
  using CBaseInputPin::CBaseInputPin;
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    if (checkResult != S_OK) return checkResult;
    return accepted == GUID_NULL || mt->majortype == accepted ? S_OK : S_FALSE;
  }
  HRESULT GetMediaType(int position, CMediaType* mt) override {
    if (position < 0) return E_INVALIDARG;
    if (position >= static_cast<int>(offered.size())) return VFW_S_NO_MORE_ITEMS;
    return mt->Set(offered[position]);
  }
  HRESULT Active() override { ++calls.active; return CBaseInputPin::Active(); }
  HRESULT Inactive() override { ++calls.inactive; return CBaseInputPin::Inactive(); }
  HRESULT Run(REFERENCE_TIME t) override { ++calls.run; return CBaseInputPin::Run(t); }
  HRESULT BreakConnect() override { ++calls.breakConnect; return CBaseInputPin::BreakConnect(); }
  HRESULT CompleteConnect(IPin* peer) override {
    ++calls.completeConnect;
    return completeResult;
  }
  void ChangeOfferedTypes(std::vector<AM_MEDIA_TYPE> types) {
    offered = std::move(types);
    IncrementTypeVersion();
  }

  GUID accepted = GUID_NULL;
  HRESULT checkResult = S_OK;
  HRESULT completeResult = S_OK;
  std::vector<AM_MEDIA_TYPE> offered;
  PinCalls calls;
};

class TestOutputPin : public CBasePin {
 public:
  TestOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name)
      : CBasePin(filter, lock, name, PINDIR_OUTPUT) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    return accepted == GUID_NULL || mt->majortype == accepted ? S_OK : E_FAIL;
  }
  HRESULT GetMediaType(int position, CMediaType* mt) override {
    if (position < 0) return E_INVALIDARG;
    if (position >= static_cast<int>(offered.size())) return VFW_S_NO_MORE_ITEMS;
    return mt->Set(offered[position]);
  }
  HRESULT BreakConnect() override { ++calls.breakConnect; return S_OK; }
  HRESULT CompleteConnect(IPin*) override { ++calls.completeConnect; return completeResult; }
  HRESULT BeginFlush() override { return E_UNEXPECTED; }
  HRESULT EndFlush() override { return E_UNEXPECTED; }

  GUID accepted = GUID_NULL;
  HRESULT completeResult = S_OK;
  std::vector<AM_MEDIA_TYPE> offered;
  PinCalls calls;
};

// A filter whose pins a test adds; counts its destructions.
class TestFilter : public CBaseFilter {
 public:
  explicit TestFilter(int* destroyed = nullptr) : CBaseFilter(nullptr, &m_lock, kTestFilterClass), m_destroyed(destroyed) {}
  ~TestFilter() override {
    // A release from inside destruction must not destroy twice.
    AddRef();
    Release();
    if (m_destroyed) ++*m_destroyed;
  }
  TestInputPin* AddInput(const wchar_t* name) {
    auto* pin = new TestInputPin(this, &m_lock, name);
    m_pins.emplace_back(pin);
    IncrementPinVersion();
    return pin;
  }
  TestOutputPin* AddOutput(const wchar_t* name) {
    auto* pin = new TestOutputPin(this, &m_lock, name);
    m_pins.emplace_back(pin);
    IncrementPinVersion();
    return pin;
  }
  void RemoveLastPin() {
    m_pins.pop_back();
    IncrementPinVersion();
  }
  int GetPinCount() override { return static_cast<int>(m_pins.size()); }
  CBasePin* GetPin(int n) override { return n >= 0 && n < GetPinCount() ? m_pins[n].get() : nullptr; }
  ULONG RefCount() {
    AddRef();
    return Release();
  }

 private:
  CCritSec m_lock;
  std::vector<std::unique_ptr<CBasePin>> m_pins;
  int* m_destroyed;
};

// An allocator that only counts what it is asked.
class CountingAllocator final : public ComObject<CountingAllocator, IMemAllocator> {
 public:
  HRESULT SetProperties(ALLOCATOR_PROPERTIES*, ALLOCATOR_PROPERTIES*) override { return S_OK; }
  HRESULT GetProperties(ALLOCATOR_PROPERTIES*) override { return S_OK; }
  HRESULT Commit() override { ++commits; return S_OK; }
  HRESULT Decommit() override { ++decommits; return S_OK; }
  HRESULT GetBuffer(IMediaSample**, REFERENCE_TIME*, REFERENCE_TIME*, DWORD) override { return E_NOTIMPL; }
  HRESULT ReleaseBuffer(IMediaSample*) override { return S_OK; }
  int commits = 0, decommits = 0;
};

// Holds a new test filter with one reference.
inline ComPtr<IBaseFilter> Hold(TestFilter* filter) { return ComPtr<IBaseFilter>(filter); }
