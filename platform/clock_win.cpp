#include <windows.h>

#include "platform/native_platform.h"

namespace morvel {

namespace {

class SystemClock final : public Clock {
 public:
  LocalTime Now() override {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
  }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() { return std::make_unique<SystemClock>(); }

}  // namespace morvel
