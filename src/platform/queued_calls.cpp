#include "platform/queued_calls.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace parlomat {
namespace {

/// The poster's side of a hand-over at `at`.
void HandOver([[maybe_unused]] void* at) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(at);
#endif
}

/// The receiver's side of the hand-over at `at`.
void TakeOver([[maybe_unused]] void* at) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(at);
#endif
}

QEvent::Type CallEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class CallEvent final : public QEvent {
  public:
    explicit CallEvent(std::function<void()> call)
        : QEvent(CallEventType()), call_(std::move(call)) {}
    ~CallEvent() override { TakeOver(this); }  // also for a call dropped unrun
    void run() { call_(); }

  private:
    std::function<void()> call_;
};

}  // namespace

void QueuedCalls::post(std::function<void()> call) {
    auto* event = new CallEvent(std::move(call));
    HandOver(event);
    QCoreApplication::postEvent(this, event);
}

bool QueuedCalls::event(QEvent* event) {
    TakeOver(event);  // before reading the event: it may come from another thread
    if (event->type() != CallEventType()) {
        return QObject::event(event);
    }
    static_cast<CallEvent*>(event)->run();
    return true;
}

}  // namespace parlomat
