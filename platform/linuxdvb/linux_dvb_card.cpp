#include "platform/linuxdvb/linux_dvb_card.h"

#include <fcntl.h>

#include <cerrno>

#include "platform/devices/removal_filter.h"
#include "platform/linuxdvb/capture_filter.h"
#include "platform/linuxdvb/tuner_filter.h"
#include "platform/media/bda_interfaces.h"
#include "platform/media/card_device_names.h"
#include "recording/framework/unknown_base.h"

namespace linuxdvb {
namespace {

// Frontend names are ASCII; anything else shows as '?'.
std::wstring Widen(const std::string& text) {
  std::wstring wide;
  for (const char c : text) wide += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?';
  return wide;
}

}  // namespace

std::string DescribeOpenFailure(KernelCalls& calls, const AdapterProbe& adapter, const KernelError& error) {
  const std::string what = "The DVB " + adapter.Label();
  switch (error.error) {
    case EBUSY: {
      const std::string holders = DescribeHolders(calls.Kernel().FindHolders(adapter.frontend.path));
      return what + " is in use by another program" + (holders.empty() ? "" : ": " + holders) + ". " +
             error.Describe() + ". Close that program and start again.";
    }
    case EACCES:
    case EPERM:
      return what + " cannot be opened for tuning: " + error.Describe() +
             ". Add your user to the video group (sudo usermod -aG video $USER), log in again and start again.";
    default: return what + " cannot be used: " + error.Describe() + ".";
  }
}

InstallResult LinuxDvbCard::Install(std::shared_ptr<DvbKernel> kernel, const CardOptions& options) {
  auto calls = std::make_shared<KernelCalls>(std::move(kernel), options.log);
  const AdapterChoice choice = ChooseAdapter(ProbeAdapters(*calls), options.adapter, options.frontendIndex);
  for (const std::string& note : choice.notes) calls->Log("DVB adapters: " + note);
  InstallResult result;
  if (!choice.card) {
    if (choice.unusable) result.refusal = DescribeOpenFailure(*calls, *choice.unusable, *choice.unusable->failure);
    return result;
  }
  const AdapterProbe& adapter = *choice.card;
  const CallResult opened = calls->Open(adapter.frontend.path, O_RDWR);
  if (!opened.Ok()) {
    result.refusal = DescribeOpenFailure(*calls, adapter, opened.Error());
    return result;
  }
  auto frontend = std::make_shared<Frontend>(calls, DeviceFd(calls.get(), static_cast<int>(opened.Value())),
                                             adapter.Label(), *adapter.info, options.frontend);
  result.card =
      std::shared_ptr<LinuxDvbCard>(new LinuxDvbCard(calls, adapter, std::move(frontend), options.ringBytes));
  result.card->RegisterDevices();
  calls->Log("DVB adapters: " + adapter.Label() + " (" + DescribeSystems(adapter.info->systems) + ") is the card");
  return result;
}

LinuxDvbCard::LinuxDvbCard(std::shared_ptr<KernelCalls> calls, AdapterProbe adapter, std::shared_ptr<Frontend> frontend,
                           std::size_t ringBytes)
    : m_calls(std::move(calls)), m_adapter(std::move(adapter)), m_frontend(std::move(frontend)),
      m_ringBytes(ringBytes) {}

LinuxDvbCard::~LinuxDvbCard() {
  auto& registry = devices::DeviceRegistry::Instance();
  for (const auto id : m_deviceIds) registry.Remove(id);
  m_frontend->Close();
}

void LinuxDvbCard::RegisterDevices() {
  const std::wstring adapter = Widen("adapter " + std::to_string(m_adapter.adapter));
  const std::wstring frontendName = Widen(m_adapter.info->name);
  std::weak_ptr<LinuxDvbCard> weak = weak_from_this();
  auto& registry = devices::DeviceRegistry::Instance();
  m_deviceIds.push_back(registry.Add(
      {KSCATEGORY_BDA_NETWORK_TUNER, std::wstring(kCardTunerName) + L" (" + adapter + L": " + frontendName + L")",
       [weak](REFIID riid, void** ppv) -> HRESULT {
         const auto card = weak.lock();
         if (!card) return E_FAIL;
         return CreateFrameworkObject<TunerFilter>(riid, ppv, card->m_frontend, card->m_calls);
       },
       {}}));
  const CaptureDevices capture{m_adapter.Label(), m_adapter.demux->path, m_adapter.dvr->path};
  m_deviceIds.push_back(registry.Add(
      {KSCATEGORY_BDA_RECEIVER_COMPONENT, std::wstring(kCardCaptureName) + L" (" + adapter + L")",
       [weak, capture](REFIID riid, void** ppv) -> HRESULT {
         const auto card = weak.lock();
         if (!card) return E_FAIL;
         return CreateFrameworkObject<CaptureFilter>(riid, ppv, card->m_calls, capture, card->m_ringBytes);
       },
       {}}));
  for (const std::string& syspath : m_adapter.Syspaths()) devices::AddCardSyspath(syspath);
}

}  // namespace linuxdvb
