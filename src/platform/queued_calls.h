#pragma once

#include <QObject>
#include <functional>

namespace parlomat {

/// Runs functions on the thread this object lives in, through that thread's event loop; `post`
/// may be called from any thread. Calls still queued when the object goes are dropped unrun.
///
/// Qt orders a posted event with locks of its own that ThreadSanitizer cannot see. Under it each
/// hand-over is annotated, so whatever the poster did before `post` is seen to happen before the
/// call, and before the call's captures are destroyed.
class QueuedCalls final : public QObject {
  public:
    void post(std::function<void()> call);

  protected:
    bool event(QEvent* event) override;
};

}  // namespace parlomat
