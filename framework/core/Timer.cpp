#include "Timer.hpp"

#include "Runtime.hpp"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace fw {

struct Timer::Impl {
    QPointer<QTimer> timer;
    // Shared with the timer's connection, so that an action that ends the timer from inside
    // runs to its end.
    std::shared_ptr<std::function<void()>> action;
};

Timer::Timer(std::chrono::milliseconds first, std::chrono::milliseconds period, std::function<void()> action)
    : impl_(std::make_unique<Impl>()) {
    impl_->action = std::make_shared<std::function<void()>>(std::move(action));
    auto* timer = new QTimer;
    impl_->timer = timer;
    timer->setSingleShot(false);
    timer->setInterval(first);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, period, action = impl_->action] {
        timer->setInterval(period);
        if (auto run = *action) CallGuarded(run);
    });
    timer->start();
}

Timer::~Timer() {
    *impl_->action = nullptr;
    if (QTimer* timer = impl_->timer) {
        timer->stop();
        // The timer may be inside its own timeout.
        if (QCoreApplication::instance()) timer->deleteLater();
        else delete timer;
    }
}

}  // namespace fw
