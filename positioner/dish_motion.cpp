#include "positioner/dish_motion.h"

#include <cstdio>

#include "platform/media/bda_interfaces.h"
#include "platform/media/positioner_status.h"
#include "tuner/tuner_context.h"

std::optional<DishMotion> ReadDishMotion() {
  IKsPropertySet* driver = TheTunerContext().m_pKsCtrl.Get();
  ComPtr<IPositionerStatus> status;
  double angle = 0;
  BOOL moving = 0;
  if (!driver || FAILED(driver->QueryInterface(IID_PPV_ARGS(status.ReleaseAndGetAddressOf()))) || !status ||
      FAILED(status->GetPosition(&angle, &moving)))
    return std::nullopt;
  return DishMotion{angle, moving != 0};
}

std::string DishMotionText(const DishMotion& motion) {
  char text[48];
  std::snprintf(text, sizeof text, "Dish %.2f\u00B0, ", motion.angleDeg);
  return text + std::string(motion.moving ? "moving" : "stopped");
}
