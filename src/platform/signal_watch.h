#pragma once

#include <QObject>
#include <functional>
#include <initializer_list>

class QSocketNotifier;

namespace parlomat {

/// Turns termination signals into a call on the event loop: the handler only writes the signal's
/// number into a pipe, and a socket notifier on the pipe's read end runs `on_signal`. A second
/// signal ends the process at once with exit status kSecondSignalExit.
class SignalWatch : public QObject {
    Q_OBJECT
  public:
    static constexpr int kSecondSignalExit = 1;

    explicit SignalWatch(std::function<void(int)> on_signal, QObject* parent = nullptr);
    ~SignalWatch() override;
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    /// Installs the handler for the signals `numbers`; false when the pipe or a handler could not
    /// be set up. One SignalWatch per process.
    bool install(std::initializer_list<int> numbers);

  private:
    void drain();

    std::function<void(int)> on_signal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace parlomat
