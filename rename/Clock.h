// The clock the date and time fields read.
#pragma once

#include "base/VmDateTime.h"

// The local clock. The fields read it anew for each value, so tests install
// a fixed one.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual TDateTime Now() const = 0;
};

// The system's local time.
class TSystemClock : public TClock {
 public:
  TDateTime Now() const override;
};

// The one system clock of the program.
const TClock& SystemClock();
