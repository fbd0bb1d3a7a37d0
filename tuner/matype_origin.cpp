#include "tuner/matype_origin.h"

#include "platform/media/media_info_origin.h"
#include "tuner/tuner_context.h"

bool IsMatypeDerived() {
  const ComPtr<IKsPropertySet> ksCtrl = TheTunerContext().SharedKsCtrl();
  if (!ksCtrl) return false;
  const ComPtr<IMediaInfoOrigin> origin = ksCtrl.As<IMediaInfoOrigin>();
  MatypeOrigin value = MatypeOrigin::Received;
  return origin && SUCCEEDED(origin->GetMatypeOrigin(&value)) && value == MatypeOrigin::Derived;
}
