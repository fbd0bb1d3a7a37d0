#include <gtest/gtest.h>

#include "platform/com/com_object.h"
#include "platform/com/guid.h"
#include "platform/com/runtime.h"

namespace {

struct IAnimal : IUnknown {
  static constexpr GUID IID{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
  using Base = IUnknown;
  virtual int Legs() = 0;
};
struct IDog : IAnimal {
  static constexpr GUID IID{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x56}};
  using Base = IAnimal;
  virtual int Bark() = 0;
};
struct IOwned : IUnknown {
  static constexpr GUID IID{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x57}};
  using Base = IUnknown;
  virtual int Owner() = 0;
};

struct INothing : IUnknown {
  static constexpr GUID IID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
};

int g_destroyed = 0;

class Dog final : public ComObject<Dog, IDog, IOwned> {
 public:
  int Legs() override { return 4; }
  int Bark() override { return 2; }
  int Owner() override { return 7; }
  ~Dog() override { ++g_destroyed; }
};

TEST(Guid, ParsesAndFormatsTheRegistryForm) {
  const auto g = ParseGuid("{faa8f3e5-31d4-4E41-88EF-D9EB716F6EC9}");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Data1, 0xFAA8F3E5u);
  EXPECT_EQ(g->Data2, 0x31D4);
  EXPECT_EQ(g->Data3, 0x4E41);
  EXPECT_EQ(g->Data4[0], 0x88);
  EXPECT_EQ(g->Data4[7], 0xC9);
  EXPECT_EQ(FormatGuid(*g), "{FAA8F3E5-31D4-4E41-88EF-D9EB716F6EC9}");
  EXPECT_EQ(ParseGuid(FormatGuidWide(*g)), g);

  for (const char* bad : {"", "FAA8F3E5-31D4-4E41-88EF-D9EB716F6EC9", "{FAA8F3E5-31D4-4E41-88EF-D9EB716F6EC}",
                          "{FAA8F3E5+31D4-4E41-88EF-D9EB716F6EC9}", "{FAA8F3E5-31D4-4E41-88EF-D9EB716F6ECG}"})
    EXPECT_FALSE(ParseGuid(bad)) << bad;

  CLSID clsid;
  EXPECT_EQ(CLSIDFromString(L"{not a guid}", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(clsid, GUID_NULL);
}

TEST(ComObject, AnswersEveryInterfaceAlongEachChainAndCountsReferences) {
  g_destroyed = 0;
  {
    ComPtr<IDog> dog = MakeComObject<Dog>();
    ComPtr<IAnimal> animal = dog.As<IAnimal>();
    ASSERT_TRUE(animal);
    EXPECT_EQ(animal->Legs(), 4);
    ComPtr<IOwned> owned = animal.As<IOwned>();
    ASSERT_TRUE(owned);
    EXPECT_EQ(owned->Owner(), 7);
    ComPtr<IUnknown> unknown = owned.As<IUnknown>();
    EXPECT_TRUE(unknown);

    void* raw = &raw;
    EXPECT_EQ(dog->QueryInterface(INothing::IID, &raw), E_NOINTERFACE);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(dog->QueryInterface(IDog::IID, nullptr), E_POINTER);

    dog->AddRef();
    EXPECT_EQ(dog->Release(), 4u);  // dog, animal, owned, unknown
  }
  EXPECT_EQ(g_destroyed, 1);
}

TEST(ComPtr, AttachDetachAndCopiesKeepTheCountBalanced) {
  g_destroyed = 0;
  Dog* raw = new Dog;
  raw->AddRef();
  {
    auto a = ComPtr<IDog>::Attach(raw);
    ComPtr<IDog> b = a;
    ComPtr<IDog> c = std::move(b);
    EXPECT_FALSE(b);
    IDog* detached = c.Detach();
    EXPECT_EQ(detached->Release(), 1u);
  }
  EXPECT_EQ(g_destroyed, 1);
}

TEST(Runtime, CreatesRegisteredClassesAndCountsInitialisation) {
  const CLSID clsid{0xABCDEF01, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  IDog* dog = nullptr;
  EXPECT_EQ(CoCreateInstance(clsid, &dog), REGDB_E_CLASSNOTREG);

  RegisterClassFactory(clsid, [](REFIID riid, void** ppv) { return MakeComObject<Dog>()->QueryInterface(riid, ppv); });
  ASSERT_EQ(CoCreateInstance(clsid, &dog), S_OK);
  EXPECT_EQ(dog->Bark(), 2);
  EXPECT_EQ(dog->Release(), 0u);

  IUnknown* outer = dog;  // any non-null outer object
  void* ppv = nullptr;
  EXPECT_EQ(CoCreateInstance(clsid, outer, CLSCTX_INPROC_SERVER, IDog::IID, &ppv), CLASS_E_NOAGGREGATION);
  UnregisterClassFactory(clsid);
  EXPECT_EQ(CoCreateInstance(clsid, &dog), REGDB_E_CLASSNOTREG);

  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_SPEED_OVER_MEMORY), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, 0), S_FALSE);
  EXPECT_EQ(CoInitializeCount(), 2);
  CoUninitialize();
  CoUninitialize();
  CoUninitialize();  // one too many is harmless
  EXPECT_EQ(CoInitializeCount(), 0);

  const long before = CoTaskMemOutstanding();
  void* block = CoTaskMemAlloc(10);
  EXPECT_EQ(CoTaskMemOutstanding(), before + 1);
  CoTaskMemFree(block);
  CoTaskMemFree(nullptr);
  EXPECT_EQ(CoTaskMemOutstanding(), before);
}

}  // namespace
