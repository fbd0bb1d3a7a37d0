// Owning smart pointer for reference-counted interfaces: holds one reference,
// releases it when reset or destroyed.
#pragma once

#include <type_traits>
#include <utility>

#include "platform/com/unknown.h"

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Adds a reference to p.
  explicit ComPtr(T* p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  // From a pointer to a derived class (an object to one of its interfaces).
  template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  ComPtr(ComPtr<U> other) : m_p(other.Detach()) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) {
    if (this != &other) ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      m_p = std::exchange(other.m_p, nullptr);
    }
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) {
    Reset();
    return *this;
  }

  // Takes over a reference the caller already owns.
  static ComPtr Attach(T* p) {
    ComPtr result;
    result.m_p = p;
    return result;
  }
  // Gives up the reference without releasing it.
  [[nodiscard]] T* Detach() { return std::exchange(m_p, nullptr); }

  void Reset() {
    if (T* p = std::exchange(m_p, nullptr)) p->Release();
  }
  void Swap(ComPtr& other) noexcept { std::swap(m_p, other.m_p); }

  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  T& operator*() const { return *m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  // For out-parameters: releases what is held and returns the slot.
  T** ReleaseAndGetAddressOf() {
    Reset();
    return &m_p;
  }

  // QueryInterface into another smart pointer.
  template <typename U>
  HRESULT As(ComPtr<U>* out) const {
    if (!m_p) return E_POINTER;
    return m_p->QueryInterface(U::IID, reinterpret_cast<void**>(out->ReleaseAndGetAddressOf()));
  }
  template <typename U>
  ComPtr<U> As() const {
    ComPtr<U> out;
    As(&out);
    return out;
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.m_p == nullptr; }

 private:
  T* m_p = nullptr;
};
