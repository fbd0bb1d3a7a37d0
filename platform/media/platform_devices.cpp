#include "platform/media/platform_devices.h"

#include "platform/com/runtime.h"
#include "platform/devices/device_registry.h"
#include "platform/media/bda_interfaces.h"
#include "platform/media/media_classes.h"
#include "platform/media/tuning/tuning_space_container.h"

namespace media {

void RegisterMediaPlatform() {
  RegisterMediaClasses();
  tuning::RegisterTuningClasses();
  devices::DeviceRegistry::Instance().Add(
      {KSCATEGORY_BDA_TRANSPORT_INFORMATION, kTransportInformationFilterName, [](REFIID riid, void** ppv) {
         return CoCreateInstance(CLSID_TransportInformationFilter, nullptr, CLSCTX_INPROC_SERVER, riid, ppv);
       }});
}

}  // namespace media
