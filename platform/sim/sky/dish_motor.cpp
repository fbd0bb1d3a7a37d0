#include "platform/sim/sky/dish_motor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim {
namespace {

constexpr int kEast = -1;
constexpr int kWest = +1;

std::string Degrees(double angle) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", angle);
  return text;
}

bool ForAPositioner(const std::vector<uint8_t>& message) {
  if (message.size() < 3) return false;
  const bool command = message[0] >= 0xE0 && message[0] <= 0xE3;
  const bool address = message[1] == 0x00 || message[1] == 0x30 || message[1] == 0x31;
  return command && address;
}

}  // namespace

DishMotor::DishMotor(MotorOptions options, double startAngleDeg, uint64_t nowMs)
    : m_options(options), m_move{startAngleDeg, nowMs, startAngleDeg} {}

double DishMotor::AngleAt(uint64_t nowMs) const {
  if (nowMs <= m_move.startMs) return m_move.from;
  const double travelled = m_options.speedDegPerSecond * static_cast<double>(nowMs - m_move.startMs) / 1000.0;
  const double distance = std::fabs(m_move.to - m_move.from);
  if (travelled >= distance) return m_move.to;
  return m_move.from + (m_move.to > m_move.from ? travelled : -travelled);
}

bool DishMotor::MovingAt(uint64_t nowMs) const { return AngleAt(nowMs) != m_move.to; }

void DishMotor::Place(double angleDeg, uint64_t nowMs) { m_move = {angleDeg, nowMs, angleDeg}; }

MotorMemory DishMotor::Remember() const {
  MotorMemory memory;
  memory.angleDeg = m_move.to;
  memory.eastLimitDeg = m_eastLimit;
  memory.westLimitDeg = m_westLimit;
  memory.limitsOn = m_limitsOn;
  memory.stored = m_stored;
  return memory;
}

void DishMotor::Recall(const MotorMemory& memory, uint64_t nowMs) {
  Place(memory.angleDeg, nowMs);
  m_eastLimit = memory.eastLimitDeg;
  m_westLimit = memory.westLimitDeg;
  m_limitsOn = memory.limitsOn;
  m_stored = memory.stored;
}

uint64_t DishMotor::TimePassing(double angleDeg) const {
  const double low = std::min(m_move.from, m_move.to);
  const double high = std::max(m_move.from, m_move.to);
  if (angleDeg <= low || angleDeg >= high) return m_move.startMs;
  return m_move.startMs + DurationMs(m_move.from, angleDeg);
}

uint64_t DishMotor::DurationMs(double from, double to) const {
  return static_cast<uint64_t>(std::ceil(std::fabs(to - from) / m_options.speedDegPerSecond * 1000.0));
}

std::string DishMotor::MoveToward(double target, uint64_t nowMs, const std::string& what) {
  const double from = AngleAt(nowMs);
  double low = -kMotorTravelDeg;
  double high = kMotorTravelDeg;
  if (m_limitsOn) {
    // A limit holds the dish back, or where it stands when already past it.
    if (m_eastLimit) low = std::max(low, std::min(*m_eastLimit, from));
    if (m_westLimit) high = std::min(high, std::max(*m_westLimit, from));
  }
  double to = std::clamp(target, low, high);
  const char* held = to != target ? " (limit)" : "";
  if (m_options.stallAfterDeg && std::abs(to - from) > *m_options.stallAfterDeg) {
    to = from + (to > from ? 1 : -1) * *m_options.stallAfterDeg;
    held = " (stalled)";
  }
  m_move = {from, nowMs, to};
  if (to == from) return what + ": stays at " + Degrees(from) + held;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, " (%.1f s)", DurationMs(from, to) / 1000.0);
  return what + " from " + Degrees(from) + " to " + Degrees(to) + held + seconds;
}

std::string DishMotor::Drive(int direction, uint8_t data, uint64_t nowMs) {
  const char* name = direction == kWest ? "drive west" : "drive east";
  const double from = AngleAt(nowMs);
  if (data == 0) return MoveToward(direction * kMotorTravelDeg, nowMs, name);
  if (data < 0x80) {
    return MoveToward(from + direction * m_options.speedDegPerSecond * data, nowMs,
                      std::string(name) + " " + std::to_string(data) + " s");
  }
  const int steps = 256 - data;
  return MoveToward(from + direction * m_options.stepDeg * steps, nowMs,
                    std::string(name) + " " + std::to_string(steps) + (steps == 1 ? " step" : " steps"));
}

std::string DishMotor::GotoAngle(uint8_t high, uint8_t low, uint64_t nowMs) {
  const int direction = high >> 4;
  if (direction != 0xD && direction != 0xE) {
    char text[48];
    std::snprintf(text, sizeof text, "goto angle: no direction in %02X, ignored", high);
    return text;
  }
  const int degrees = ((high & 0x0F) << 4) | (low >> 4);
  const double angle = (degrees + (low & 0x0F) / 16.0) * (direction == 0xD ? kWest : kEast);
  return MoveToward(angle, nowMs, "goto angle " + Degrees(angle));
}

std::optional<std::string> DishMotor::Receive(const std::vector<uint8_t>& message, uint64_t nowMs) {
  if (!ForAPositioner(message)) return std::nullopt;
  const uint8_t command = message[2];
  const bool hasData = message.size() >= 4;
  switch (command) {
    case 0x60: {
      const double at = AngleAt(nowMs);
      m_move = {at, nowMs, at};
      return "halt at " + Degrees(at);
    }
    case 0x63:
      m_limitsOn = false;
      return "limits off";
    case 0x66:
    case 0x67: {
      const double at = AngleAt(nowMs);
      (command == 0x66 ? m_eastLimit : m_westLimit) = at;
      m_limitsOn = true;
      return std::string(command == 0x66 ? "east" : "west") + " limit at " + Degrees(at);
    }
    case 0x68:
    case 0x69:
      if (!hasData) return std::nullopt;
      return Drive(command == 0x69 ? kWest : kEast, message[3], nowMs);
    case 0x6A: {
      if (!hasData) return std::nullopt;
      if (message[3] == 0) {
        m_limitsOn = true;
        return "limits on";
      }
      const double at = AngleAt(nowMs);
      m_stored[message[3]] = at;
      return "store " + std::to_string(message[3]) + " at " + Degrees(at);
    }
    case 0x6B: {
      if (!hasData) return std::nullopt;
      const int slot = message[3];
      if (slot == 0) return MoveToward(0.0, nowMs, "goto reference");
      const auto stored = m_stored.find(slot);
      if (stored == m_stored.end()) return "goto " + std::to_string(slot) + ": nothing stored there";
      return MoveToward(stored->second, nowMs, "goto " + std::to_string(slot));
    }
    case 0x6E:
      if (message.size() < 5) return std::nullopt;
      return GotoAngle(message[3], message[4], nowMs);
    default:
      return std::nullopt;
  }
}

}  // namespace sim
