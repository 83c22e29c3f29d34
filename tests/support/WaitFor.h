// Waiting for asynchronous work (sockets, processes, threads) in tests that
// run Qt's event loop.
#pragma once

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs the event loop until Done holds, checking it whenever the events that
// have come are handled; false when it does not hold within TimeoutMs.
inline bool WaitFor(const std::function<bool()>& Done, int TimeoutMs = 10000) {
  if (Done()) return true;
  QEventLoop Loop;
  QTimer::singleShot(TimeoutMs, &Loop, &QEventLoop::quit);
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &Loop, [&] {
    if (Done()) Loop.quit();
  });
  Loop.exec();
  return Done();
}
