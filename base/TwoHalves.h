// Work over a range split in two halves that run at once: the second on a
// thread of its own, the first on the calling one.
#pragma once

#include <cstddef>
#include <future>

// Calls Work(0, Half) and Work(Half, Count), the second on another thread
// when Shared (Half is then Count / 2; otherwise Count, and the second call
// covers nothing and is not made). Returns Half once both are done.
template <class TWork>
size_t InTwoHalves(size_t Count, bool Shared, TWork&& Work) {
  const size_t Half = Shared ? Count / 2 : Count;
  std::future<void> Second;
  if (Half < Count) Second = std::async(std::launch::async, [&] { Work(Half, Count); });
  Work(size_t{0}, Half);
  if (Second.valid()) Second.get();
  return Half;
}
