#include "platform/signal_watch.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <utility>

namespace parlomat {

namespace {

// A signal handler reaches only static storage: the pipe's write end and the count of signals.
int g_pipe[2] = {-1, -1};
std::atomic<int> g_signals{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnSignal(int number) {
    if (g_signals.fetch_add(1) > 0) {
        _exit(SignalWatch::kSecondSignalExit);
    }
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const auto written = write(g_pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

SignalWatch::SignalWatch(std::function<void(int)> on_signal, QObject* parent)
    : QObject(parent), on_signal_(std::move(on_signal)) {}

SignalWatch::~SignalWatch() = default;

bool SignalWatch::install(std::initializer_list<int> numbers) {
    if (g_pipe[0] < 0 && pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatch::drain);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : numbers) {
        if (sigaction(number, &action, nullptr) != 0) {
            return false;
        }
    }
    return true;
}

void SignalWatch::drain() {
    unsigned char byte = 0;
    while (read(g_pipe[0], &byte, 1) == 1) {
        if (on_signal_) {
            on_signal_(byte);
        }
    }
}

}  // namespace parlomat
