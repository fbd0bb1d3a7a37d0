// Where the dish positioner is and whether it turns, for drivers that know
// (IPositionerStatus on the property-set interface; only the simulated card
// answers). UI thread (it reads m_pKsCtrl without the driver mutex).
#pragma once

#include <optional>
#include <string>

struct DishMotion {
  double angleDeg = 0;  // from the motor's reference, positive west
  bool moving = false;
};

std::optional<DishMotion> ReadDishMotion();
// "Dish -17.00°, stopped"
std::string DishMotionText(const DishMotion& motion);
