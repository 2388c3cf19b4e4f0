// The main thread's event dispatcher: the platform's own, behind a thin
// front that notes every wake-up. Whatever can bring input or work to the
// main thread (a window-system event, an event posted from any thread, the
// display connection's reader) wakes the dispatcher first, so a run can ask
// at every count, for the price of one atomic load, whether entering the
// event loop would find anything to do, instead of paying for a full pass
// (a poll of every source) on each of 100000 counts.
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformintegration.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "ui/qt/internal.h"

namespace ui {

namespace {

class WatchingDispatcher final : public QAbstractEventDispatcher {
 public:
  // Set by every wake-up; taken by the yield that then enters the loop.
  std::atomic<bool> woken{true};

  bool processEvents(QEventLoop::ProcessEventsFlags flags) override {
    return Inner()->processEvents(flags);
  }
  void registerSocketNotifier(QSocketNotifier* n) override { Inner()->registerSocketNotifier(n); }
  void unregisterSocketNotifier(QSocketNotifier* n) override {
    Inner()->unregisterSocketNotifier(n);
  }
  void registerTimer(int id, qint64 interval, Qt::TimerType type, QObject* object) override {
    Inner()->registerTimer(id, interval, type, object);
  }
  bool unregisterTimer(int id) override { return Inner()->unregisterTimer(id); }
  bool unregisterTimers(QObject* object) override { return Inner()->unregisterTimers(object); }
  QList<TimerInfo> registeredTimers(QObject* object) const override {
    return Inner()->registeredTimers(object);
  }
  int remainingTime(int id) override { return Inner()->remainingTime(id); }
  void wakeUp() override {
    woken.store(true, std::memory_order_release);
    // Other threads may wake the dispatcher before the platform's own exists
    // (the display connection's reader starts with the platform); nothing
    // waits in it yet then, and the noted wake-up is enough.
    if (QAbstractEventDispatcher* in = inner_.load(std::memory_order_acquire)) in->wakeUp();
  }
  void interrupt() override { Inner()->interrupt(); }
  void startingUp() override { Inner()->startingUp(); }
  void closingDown() override {
    if (QAbstractEventDispatcher* in = inner_.load(std::memory_order_acquire)) in->closingDown();
  }

 private:
  // The platform's dispatcher, made on first use: the platform is created
  // after the application has taken this dispatcher for its main thread.
  QAbstractEventDispatcher* Inner() const {
    QAbstractEventDispatcher* in = inner_.load(std::memory_order_acquire);
    if (in) return in;
    QPlatformIntegration* platform = QGuiApplicationPrivate::platformIntegration();
    if (!platform) {
      std::fprintf(stderr, "kestor: event dispatcher used before the platform exists\n");
      std::abort();
    }
    in = platform->createEventDispatcher();
    auto* self = const_cast<WatchingDispatcher*>(this);
    in->setParent(self);
    QObject::connect(in, &QAbstractEventDispatcher::awake, self, &QAbstractEventDispatcher::awake);
    QObject::connect(in, &QAbstractEventDispatcher::aboutToBlock, self,
                     &QAbstractEventDispatcher::aboutToBlock);
    inner_.store(in, std::memory_order_release);
    return in;
  }

  mutable std::atomic<QAbstractEventDispatcher*> inner_{nullptr};
};

// Gone with the application that owns it.
QPointer<WatchingDispatcher> g_dispatcher;

}  // namespace

void InstallDispatcher() {
  g_dispatcher = new WatchingDispatcher;
  QCoreApplication::setEventDispatcher(g_dispatcher);
}

bool TakeWakeUp() {
  // Without our dispatcher (an application made elsewhere, or gone with its
  // application) every yield enters the loop.
  if (!g_dispatcher) return true;
  return g_dispatcher->woken.exchange(false, std::memory_order_acq_rel);
}

}  // namespace ui
