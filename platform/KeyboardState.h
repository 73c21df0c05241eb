/** @file The state of the modifier keys, read while handling input. */
#pragma once

namespace tw {

class IKeyboardState {
  public:
    virtual ~IKeyboardState() = default;
    virtual bool ShiftDown() const = 0;
    virtual bool ControlDown() const = 0;
    virtual bool AltDown() const = 0;
};

}  // namespace tw
