/** @file Timers that tick on the GUI thread. */
#pragma once

#include <functional>
#include <memory>

namespace tw {

class ITimer {
  public:
    virtual ~ITimer() = default;
    /// Calls `tick` every `intervalMs` until Stop; starting again restarts.
    virtual void Start(int intervalMs, std::function<void()> tick) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

class ITimerFactory {
  public:
    virtual ~ITimerFactory() = default;
    virtual std::unique_ptr<ITimer> CreateTimer() = 0;
};

}  // namespace tw
